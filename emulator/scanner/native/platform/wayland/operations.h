// The Wayland desktop's operations, as desktop.cpp puts them in its table:
// windows.cpp has the windows, keyboard.cpp the keys and the scan lock.
#pragma once

#include "platform/desktop.h"

namespace wedge::wayland {

bool reachable();
bool listWindows(platform::WindowVisitor visit, intptr_t value);
bool windowExists(platform::WindowHandle window);
bool bringToFront(platform::WindowHandle window);
bool acceptsInput(platform::WindowHandle window);
void restoreIfMinimised(platform::WindowHandle window);
bool stillInFront(platform::WindowHandle window);

bool openKeyboard(platform::WindowHandle window, platform::Keyboard* keyboard);
void closeKeyboard(platform::Keyboard keyboard);
bool chordForCharacter(platform::Keyboard keyboard, char16_t character, platform::KeyChord* chord);
bool chordForHighByte(platform::Keyboard keyboard, uint8_t value, platform::KeyChord* chord);
platform::Key tabKey(platform::Keyboard keyboard);
bool capsLockOn();
bool toggleCapsLock(platform::Injector inject, bool* toggled);
uint32_t heldModifierKeys(platform::Key* keys);
platform::Key maskKeyBeforeRelease(platform::Key key);
uint32_t sendInput(const platform::KeyEvent* events, uint32_t count);
bool acquireScanLock();
void releaseScanLock();

}  // namespace wedge::wayland
