// The desktop's keyboard state as the tests set and check it.
#pragma once

#include <vector>

namespace wedge_test {

bool capsLockOn();

// Taps Caps Lock (press and release, injected) when it is not already in
// the wanted state; true once the state is as wanted.
bool setCapsLock(bool on);

// The keys among modifiers, Caps Lock, letters and digits that are down
// now, by their virtual-key codes.
std::vector<int> keysHeldDown();

}  // namespace wedge_test
