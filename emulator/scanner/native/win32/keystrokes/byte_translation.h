// Turning one byte of scanned data into the keyboard events that type it,
// and injecting them into the foreground window. Each byte is dropped,
// typed through the keyboard layout, typed as a Tab by scan code, or typed
// as an Alt + numeric keypad code.
//
// Modifier keys that someone else holds down would change or hijack the
// keys (Ctrl + A selects all, a lone Alt opens the menu bar): every route
// lets them up at the head of its first injection, which no other input
// interleaves with, and never presses them again.
#pragma once

#include "platform/desktop.h"

#include <cstdint>

namespace wedge::keystrokes {

inline constexpr uint32_t TabHoldMs = 100;

// True when the byte was typed or dropped; on false the thread's last
// error code says why. Characters are looked up in the layout.
bool typeByte(uint8_t value, platform::KeyboardLayout layout);

// The key and modifiers that produce the character in the layout, in one
// injection. Fails with last error 13 when no key produces it.
bool typeKeyChord(char16_t character, platform::KeyboardLayout layout);

// Tab pressed, held 100 ms, and released, addressed by scan code.
bool typeTab();

// Alt held over keypad 0 and the value's three decimal digits.
bool typeAltCode(uint8_t value);

// VK_NUMPAD0 to VK_NUMPAD9 for 0 to 9; 0 for anything else.
uint16_t numpadKeyForDigit(int32_t digit);

}  // namespace wedge::keystrokes
