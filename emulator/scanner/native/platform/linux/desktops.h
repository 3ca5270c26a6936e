// The desktops the Linux library carries. Each answers its table of
// operations; desktop_choice.cpp picks the one the session offers.
#pragma once

#include "platform/desktop.h"

namespace wedge::platform {

const Desktop& x11Desktop();

}  // namespace wedge::platform
