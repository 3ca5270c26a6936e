// The application chosen to receive typed text: its window and its title,
// by which it is found again when the window cannot be brought to the
// foreground. Set together by setWindow; relocateTarget may replace the
// window alone. Nothing clears them again.
#pragma once

#include "catalogue/window_list.h"

namespace wedge::catalogue {

extern WindowHandle targetWindow;
extern char16_t targetTitle[TitleCapacity];

}  // namespace wedge::catalogue
