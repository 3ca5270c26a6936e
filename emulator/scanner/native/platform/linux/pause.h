// Pauses that last what they say, for every Linux desktop.
#pragma once

#include <cstdint>

namespace wedge::linux_desktop {

void sleepMs(uint32_t milliseconds);

}  // namespace wedge::linux_desktop
