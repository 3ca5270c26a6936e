// Typing on X through XTEST: keys found in the core keymap for the current
// XKB group, spare keycodes bound for keysyms no key makes, modifier keys
// someone else holds let up, and Caps Lock locked and unlocked through XKB.
#pragma once

#include "platform/x11/x_connection.h"

namespace wedge::x11 {

using KeyCode = xcb_keycode_t;
using KeySym = xcb_keysym_t;

// A key and the real modifiers (a mask of Shift ... Mod5) that select the
// wanted level of it.
struct KeyStroke {
    KeyCode key;
    unsigned int modifiers;
};

// Reads the keymap for one scan; keysyms bound for the scan are unbound
// by finishTyping, which also releases the keymap.
bool startTyping(Connection& c);
void finishTyping(Connection& c);

// The key that types the keysym in the current group, or, when no key
// does, a spare keycode bound to it for the rest of the scan once the
// server has confirmed the binding. False when neither works.
bool findKey(Connection& c, KeySym keysym, KeyStroke* stroke);

// A key going down or up, as XTEST fakes it.
struct KeyAction {
    KeyCode key;
    bool down;
};

// The modifier keys down now whose modifier would change what a key types
// (Shift, Control, Alt, Super, AltGr); writes at most capacity of them.
int32_t heldModifierKeys(Connection& c, KeyCode* keys, int32_t capacity);

// For Alt and Super, a keycode with no keysym, tapped before they are let
// up so that their release alone triggers nothing; 0 for other keys.
KeyCode maskKeyBeforeRelease(KeyCode key);

// The keys that hold the modifiers (a real modifier mask), in modifier
// order; at most 8.
int32_t modifierKeys(unsigned int modifiers, KeyCode* keys);

// Sends the actions as one batch. Releases of modifier keys at its head go
// first and must take effect: XTEST cannot let up a key held on a physical
// keyboard, and the batch then fails (170) before anything is typed. On an
// X error every key the batch pressed is let up.
bool injectKeys(Connection& c, const KeyAction* actions, int32_t count);

bool capsLocked(Connection& c, bool* locked);
bool lockCaps(Connection& c, bool locked);

}  // namespace wedge::x11
