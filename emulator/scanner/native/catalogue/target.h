// The application chosen to receive typed text: its window and its title,
// by which it is found again when the window cannot be brought to the
// foreground. Set together by setWindow; relocateTarget may replace the
// window alone. Nothing in the library clears them again.
#pragma once

#include "catalogue/window_list.h"

namespace wedge::catalogue {

// Null until a target is chosen.
WindowHandle targetWindow();

// At most 99 units and a terminator; empty until a target is chosen.
const char16_t* targetTitle();

// Sets the window and its title, the title cut to 99 units.
void chooseTarget(WindowHandle window, const char16_t* title);

// Replaces the window alone: the same application, found again by title.
void moveTarget(WindowHandle window);

}  // namespace wedge::catalogue
