// Listing the desktop's visible, titled top-level windows, choosing the
// target among them, and finding the target again by its title.
#pragma once

#include "catalogue/window_list.h"

#include <cstdint>

namespace wedge::catalogue {

// Discards any current list and enumerates the desktop into a new one,
// which stays current for setWindow.
WindowList& listWindows();

// Makes the index-th listed window the target if it still exists; the
// current list is consumed either way. False without a list, for an index
// outside it, or for a window that has gone.
bool setWindow(int32_t index);

// Releases the current list; the target stays.
void destroy();

// Makes the first listed window whose title equals the target's the new
// target; that list stays current. False, with the list released and the
// target unchanged, when no window has the title.
bool relocateTarget();

}  // namespace wedge::catalogue
