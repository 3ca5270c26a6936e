// The desktop's key vocabulary on X11: keysyms found in the current keymap
// and group, X keycodes as the keys, XTest to inject them, and XKB for
// Caps Lock.

// The keysym groups that hold Windows-1252's typographic characters.
#define XK_PUBLISHING
#define XK_TECHNICAL
#include "platform/x11/operations.h"

#include "platform/linux/scan_lock.h"
#include "platform/windows1252.h"
#include "platform/x11/x_keyboard.h"
#include "platform/x11/x_windows.h"

#include <X11/keysym.h>

namespace wedge::x11 {
namespace {

using platform::Key;
using platform::KeyChord;
using platform::KeyEvent;
using platform::Keyboard;

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

bool chordForKeysym(KeySym keysym, KeyChord* chord) {
    Connection* c = liveConnection();
    KeyStroke stroke = {};
    if (c == nullptr || !findKey(*c, keysym, &stroke)) {
        return false;
    }
    KeyCode modifiers[8] = {};
    const int32_t count = modifierKeys(stroke.modifiers, modifiers);
    if (count > static_cast<int32_t>(platform::MaxChordModifiers)) {
        setErrorCode(platform::ErrorInvalidData);
        return false;
    }
    *chord = {};
    for (int32_t i = 0; i < count; ++i) {
        chord->modifiers[chord->modifierCount++] = modifiers[i];
    }
    chord->keys[chord->keyCount++] = stroke.key;
    return true;
}

// The key pressed at the index is not let up later in the batch.
bool leftDown(const KeyAction* actions, uint32_t count, uint32_t index) {
    for (uint32_t i = index + 1; i < count; ++i) {
        if (actions[i].key == actions[index].key) {
            return actions[i].down;
        }
    }
    return true;
}

}  // namespace

bool chordForCharacter(Keyboard /*keyboard*/, char16_t character, KeyChord* chord) {
    return chordForKeysym(keysymFor(character), chord);
}

bool chordForHighByte(Keyboard /*keyboard*/, uint8_t value, KeyChord* chord) {
    const char16_t character = platform::fromWindows1252(value);
    // The five bytes Windows-1252 leaves undefined stand for C1 control
    // characters, which no key types: dropped, as the C0 ones are.
    if (character >= 0x80 && character < 0xA0) {
        *chord = {};
        return true;
    }
    return chordForKeysym(keysymFor(character), chord);
}

Key tabKey(Keyboard /*keyboard*/) {
    Connection* c = liveConnection();
    KeyStroke tab = {};
    // Keycode 0 is out of X's range: injecting it fails with X's error.
    return c != nullptr && findKey(*c, XK_Tab, &tab) ? tab.key : 0;
}

bool capsLockOn() {
    Connection* c = liveConnection();
    bool locked = false;
    return c != nullptr && capsLocked(*c, &locked) && locked;
}

bool toggleCapsLock(platform::Injector /*inject*/, bool* toggled) {
    *toggled = false;
    Connection* c = liveConnection();
    bool locked = false;
    // XKB locks and unlocks the modifier itself: no key goes down.
    if (c == nullptr || !capsLocked(*c, &locked) || !lockCaps(*c, !locked)) {
        return false;
    }
    *toggled = true;
    return true;
}

uint32_t heldModifierKeys(Key* keys) {
    Connection* c = liveConnection();
    if (c == nullptr) {
        return 0;
    }
    KeyCode held[platform::MaxModifierKeys] = {};
    const int32_t count = heldModifierKeys(*c, held, platform::MaxModifierKeys);
    for (int32_t i = 0; i < count; ++i) {
        keys[i] = held[i];
    }
    return static_cast<uint32_t>(count);
}

Key maskKeyBeforeRelease(Key key) { return maskKeyBeforeRelease(static_cast<KeyCode>(key)); }

uint32_t sendInput(const KeyEvent* events, uint32_t count) {
    Connection* c = liveConnection();
    if (c == nullptr) {
        return 0;
    }
    if (count > platform::MaxEventsPerInjection) {
        setErrorCode(platform::ErrorInvalidParameter);
        return 0;
    }
    // Keys pressed now would go to the client holding the keyboard.
    readEvents(*c);
    if (c->grabbed) {
        failGrabbed();
        return 0;
    }
    c->grabBegan = false;
    KeyAction actions[platform::MaxEventsPerInjection] = {};
    for (uint32_t i = 0; i < count; ++i) {
        actions[i] = {static_cast<KeyCode>(events[i].key), !events[i].release};
    }
    if (!injectKeys(*c, actions, static_cast<int32_t>(count))) {
        return 0;
    }
    // A grab another client took while these keys went in may have taken
    // them. The injection counts as failed, so the keys it left down (Tab,
    // held between two injections) are let up here.
    if (c->grabBegan) {
        c->grabBegan = false;
        KeyAction releases[platform::MaxEventsPerInjection] = {};
        int32_t held = 0;
        for (uint32_t i = 0; i < count; ++i) {
            if (actions[i].down && leftDown(actions, count, i)) {
                releases[held++] = {actions[i].key, false};
            }
        }
        injectKeys(*c, releases, held);
        failGrabbed();
        return 0;
    }
    return count;
}

// What openKeyboard answers: X has one keymap for every window, read with
// its current group when the keyboard is opened.
int keymapToken_ = 0;

bool openKeyboard(platform::WindowHandle /*window*/, Keyboard* keyboard) {
    Connection* c = liveConnection();
    *keyboard = nullptr;
    if (c == nullptr || !startTyping(*c)) {
        return false;
    }
    *keyboard = &keymapToken_;
    return true;
}

void closeKeyboard(Keyboard /*keyboard*/) {
    Connection* c = currentConnection();
    if (c != nullptr) {
        finishTyping(*c);
        readEvents(*c);
    }
}

bool acquireScanLock() {
    // Keyed by the server, however DISPLAY spells it.
    Connection* c = connection();
    return c != nullptr && linux_desktop::lockScan(c->serverKey);
}

void releaseScanLock() {
    Connection* c = currentConnection();
    if (c != nullptr && !lost(*c)) {
        watchFocus(*c, XCB_NONE);
    }
    linux_desktop::unlockScan();
}

}  // namespace wedge::x11
