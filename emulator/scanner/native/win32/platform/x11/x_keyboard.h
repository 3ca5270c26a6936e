// Typing on X through XTest: keys found in the current keymap and group,
// spare keycodes bound for keysyms no key makes, modifier keys someone
// else holds let up, and Caps Lock locked and unlocked through XKB.
#pragma once

#include "platform/x11/x_connection.h"

namespace wedge::x11 {

// A key and the real modifiers (a mask of ShiftMask ... Mod5Mask) that
// select the wanted level of it.
struct KeyStroke {
    KeyCode key;
    unsigned int modifiers;
};

// Reads the keymap for one scan; keysyms bound for the scan are unbound
// by finishTyping, which also releases the keymap.
bool startTyping(const Connection& c);
void finishTyping(const Connection& c);

// The key that types the keysym in the current group, or, when no key
// does, a spare keycode bound to it for the rest of the scan once the
// server has confirmed the binding. False when neither works.
bool findKey(const Connection& c, KeySym keysym, KeyStroke* stroke);

// Presses and releases the key with its modifiers in one batch, after
// letting up any modifier key that someone else holds (never pressing it
// again). On a failure every key of the batch is let up.
bool typeStroke(const Connection& c, const KeyStroke& stroke);

// One key going down or up, with held modifiers let up before a press.
bool pressKey(const Connection& c, KeyCode key, bool down);

bool capsLocked(const Connection& c, bool* locked);
bool lockCaps(const Connection& c, bool locked);
bool capsKeyHeld(const Connection& c);

}  // namespace wedge::x11
