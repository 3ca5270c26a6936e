// The desktop's keyboard state as the tests set and check it.
#pragma once

#include <windows.h>

#include <vector>

namespace wedge_test {

bool capsLockOn();

// Taps Caps Lock (press and release, injected) when it is not already in
// the wanted state; true once the state is as wanted.
bool setCapsLock(bool on);

// Presses (or releases) the key with an injected event and leaves it so,
// as a person holding it would; true once the system sees it that way.
bool holdKey(int virtualKey, bool down);

// Brings the window to the front and holds the key down there. Wine lets
// up every key the X server does not have down when the focus changes, a
// while after the change: the key is pressed until it stays down.
bool holdKeyIn(HWND window, int virtualKey);

// The keys among modifiers, Caps Lock, letters and digits that are down
// now, by their virtual-key codes.
std::vector<int> keysHeldDown();

}  // namespace wedge_test
