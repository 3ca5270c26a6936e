// The desktop's key vocabulary on X11: keysyms found in the current keymap
// and group, X keycodes in the key events, XTest to inject them, and XKB
// for Caps Lock.

// The keysym groups that hold Windows-1252's typographic characters.
#define XK_PUBLISHING
#define XK_TECHNICAL
#include "platform/desktop.h"

#include "platform/windows1252.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/errors.h"
#include "platform/x11/x_keyboard.h"
#include "platform/x11/scan_lock.h"

#include <X11/keysym.h>

// X names its event types KeyPress and KeyRelease; here the names are the
// desktop's key actions.
#undef KeyPress
#undef KeyRelease

namespace wedge::platform {
namespace {

using x11::Connection;

// Windows-1252's characters above Latin-1 that have keysyms of their own.
struct LegacyKeysym {
    char16_t character;
    KeySym keysym;
};
constexpr LegacyKeysym LegacyKeysyms[] = {
    {0x20AC, XK_EuroSign},          {0x201A, XK_singlelowquotemark}, {0x0192, XK_function},
    {0x201E, XK_doublelowquotemark}, {0x2026, XK_ellipsis},          {0x2020, XK_dagger},
    {0x2021, XK_doubledagger},       {0x2030, XK_permille},          {0x0160, XK_Scaron},
    {0x0152, XK_OE},                 {0x017D, XK_Zcaron},            {0x2018, XK_leftsinglequotemark},
    {0x2019, XK_rightsinglequotemark}, {0x201C, XK_leftdoublequotemark}, {0x201D, XK_rightdoublequotemark},
    {0x2022, XK_enfilledcircbullet}, {0x2013, XK_endash},            {0x2014, XK_emdash},
    {0x2122, XK_trademark},          {0x0161, XK_scaron},            {0x0153, XK_oe},
    {0x017E, XK_zcaron},             {0x0178, XK_Ydiaeresis},
};

KeySym keysymFor(char16_t character) {
    if (character == u'\r') {
        return XK_Return;
    }
    if ((character >= 0x20 && character <= 0x7E) || (character >= 0xA0 && character <= 0xFF)) {
        return character;
    }
    for (const LegacyKeysym& legacy : LegacyKeysyms) {
        if (legacy.character == character) {
            return legacy.keysym;
        }
    }
    return 0x01000000 | character;
}

KeyboardEvent press(KeyCode key) { return {key, 0, KeyPress}; }

bool chordForKeysym(KeySym keysym, KeyChord* chord) {
    const Connection* c = x11::connection();
    x11::KeyStroke stroke = {};
    if (c == nullptr || !x11::findKey(*c, keysym, &stroke)) {
        return false;
    }
    KeyCode modifiers[8] = {};
    const int32_t count = x11::modifierKeys(stroke.modifiers, modifiers);
    if (count > static_cast<int32_t>(MaxChordModifiers)) {
        x11::setErrorCode(ErrorInvalidData);
        return false;
    }
    *chord = {};
    for (int32_t i = 0; i < count; ++i) {
        chord->modifiers[chord->modifierCount++] = press(modifiers[i]);
    }
    chord->keys[chord->keyCount++] = press(stroke.key);
    return true;
}

}  // namespace

KeyboardLayout keyboardLayoutOf(WindowHandle /*window*/) {
    // X has one keymap for every window: its current group, read when the
    // scan starts.
    return nullptr;
}

bool chordForCharacter(char16_t character, KeyboardLayout /*layout*/, KeyChord* chord) {
    return chordForKeysym(keysymFor(character), chord);
}

bool chordForHighByte(uint8_t value, KeyboardLayout /*layout*/, KeyChord* chord) {
    const char16_t character = fromWindows1252(value);
    // The five bytes Windows-1252 leaves undefined stand for C1 control
    // characters, which no key types: dropped, as the C0 ones are.
    if (character >= 0x80 && character < 0xA0) {
        *chord = {};
        return true;
    }
    return chordForKeysym(keysymFor(character), chord);
}

KeyboardEvent tabKeyPress() {
    const Connection* c = x11::connection();
    x11::KeyStroke tab = {};
    if (c == nullptr || !x11::findKey(*c, XK_Tab, &tab)) {
        // Keycode 0 is out of X's range: injecting it fails with X's error.
        return press(0);
    }
    return press(tab.key);
}

bool capsLockOn() {
    const Connection* c = x11::connection();
    bool locked = false;
    return c != nullptr && x11::capsLocked(*c, &locked) && locked;
}

bool toggleCapsLock(Injector /*inject*/, bool* toggled) {
    *toggled = false;
    const Connection* c = x11::connection();
    bool locked = false;
    // XKB locks and unlocks the modifier itself: no key goes down.
    if (c == nullptr || !x11::capsLocked(*c, &locked) || !x11::lockCaps(*c, !locked)) {
        return false;
    }
    *toggled = true;
    return true;
}

uint32_t heldModifierKeys(uint16_t* keys) {
    const Connection* c = x11::connection();
    if (c == nullptr) {
        return 0;
    }
    KeyCode held[MaxModifierKeys] = {};
    const int32_t count = x11::heldModifierKeys(*c, held, MaxModifierKeys);
    for (int32_t i = 0; i < count; ++i) {
        keys[i] = held[i];
    }
    return static_cast<uint32_t>(count);
}

uint16_t maskKeyBeforeRelease(uint16_t key) { return x11::maskKeyBeforeRelease(static_cast<KeyCode>(key)); }

uint32_t sendInput(const KeyboardEvent* events, uint32_t count) {
    const Connection* c = x11::connection();
    if (c == nullptr) {
        return 0;
    }
    if (count > MaxEventsPerInjection) {
        x11::setErrorCode(ErrorInvalidParameter);
        return 0;
    }
    x11::KeyAction actions[MaxEventsPerInjection] = {};
    for (uint32_t i = 0; i < count; ++i) {
        actions[i] = {static_cast<KeyCode>(events[i].virtualKey), (events[i].flags & KeyRelease) == 0};
    }
    x11::keysTyped();
    return x11::injectKeys(*c, actions, static_cast<int32_t>(count)) ? count : 0;
}

bool acquireScanLock() {
    const Connection* c = x11::connection();
    if (c == nullptr || !x11::lockScan(c->x->displayString(c->display))) {
        return false;
    }
    x11::scanStarted(*c);
    if (!x11::startTyping(*c)) {
        x11::unlockScan();
        return false;
    }
    return true;
}

void releaseScanLock() {
    const Connection* c = x11::connection();
    if (c != nullptr) {
        x11::finishTyping(*c);
        x11::discardEvents(*c);
    }
    x11::scanEnded();
    x11::unlockScan();
}

uint32_t ansiCodePage() { return 1252; }

bool toAnsiByte(char16_t character, uint8_t* byte) { return toWindows1252(character, byte); }

}  // namespace wedge::platform
