// What the X11 desktop's window half and keyboard half tell each other
// about the scan under way.
#pragma once

#include "platform/x11/x_connection.h"

namespace wedge::x11 {

// A scan has taken the lock: whether a window manager runs is read again,
// and the target may be brought to the front.
void scanStarted(const Connection& c);

// Keys have gone to the target: from now on it losing the keyboard ends
// the scan instead of being taken back.
void keysTyped();

void scanEnded();

}  // namespace wedge::x11
