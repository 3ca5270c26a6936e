// Turning one byte of scanned data into the keyboard events that type it,
// and injecting them into the foreground window. Each byte is dropped,
// typed as the key chord the desktop names for its character, typed as
// the Tab key, or, from 128 up, typed as the desktop types those bytes
// (an Alt + numeric keypad code on Windows, the Windows-1252 character's
// key on X).
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
// error code says why. Characters are looked up in the keyboard.
bool typeByte(uint8_t value, platform::Keyboard keyboard);

// The key and modifiers that produce the character in the keyboard, in one
// injection. Fails with last error 13 when no key produces it.
bool typeKeyChord(char16_t character, platform::Keyboard keyboard);

// Tab pressed, held 100 ms, and released.
bool typeTab(platform::Keyboard keyboard);

// A byte from 128 to 255 in one injection, or nothing for a byte the
// desktop drops.
bool typeHighByte(uint8_t value, platform::Keyboard keyboard);

}  // namespace wedge::keystrokes
