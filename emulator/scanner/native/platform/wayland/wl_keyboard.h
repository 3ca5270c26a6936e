// The desktop's virtual keyboard, with a keymap of its own that holds
// exactly the keys a scan types: Return, Tab, printable ASCII and the
// characters of Windows-1252's bytes 128 to 255, one keycode each, none
// needing a modifier. Whatever layout, held keys or Caps Lock the person's
// keyboard has, a key of this keymap types its one character: the virtual
// keyboard has its own modifier state, with nothing in it.
#pragma once

#include "platform/desktop.h"
#include "platform/wayland/wl_connection.h"

namespace wedge::wayland {

// Keys are evdev codes (XKB keycodes less 8); 0 is none.
inline constexpr platform::Key ReturnKey = 2;
inline constexpr platform::Key TabKey = 3;

// The key that types the character; 0 when the keymap has none.
platform::Key keyForCharacter(char16_t character);

// Makes the connection's virtual keyboard and hands it the keymap. Made
// with the connection, well before the first key: on a seat that had no
// keyboard, clients learn of one and bind it only after it appears, and
// a key sent before a client bound it is lost to that client.
bool makeKeyboard(Connection& c);

// Makes the keyboard if the connection has none yet, and taps a key
// without a symbol before the scan's first key: a keyboard's first key
// can arrive inside the focus change it causes, where the target never
// sees it pressed.
bool readyKeyboard(Connection& c);

// Presses and releases keys in order and sends them.
bool sendKeys(Connection& c, const platform::KeyEvent* events, uint32_t count);

// Lets up every key that sendKeys pressed and did not release.
void releaseKeys(Connection& c);

}  // namespace wedge::wayland
