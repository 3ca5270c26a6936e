// What the catalogue keeps between calls, for tests that check when a
// window list is released; the library itself never asks.
#pragma once

#include "catalogue/target.h"
#include "catalogue/window_list.h"

namespace wedge::catalogue {

// The list built by the latest enumeration, or null when none is current.
WindowList* currentWindowList();

// No target, as when the library has just been loaded.
inline void forgetTarget() { chooseTarget(nullptr, u""); }

}  // namespace wedge::catalogue
