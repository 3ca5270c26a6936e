#include "keystrokes/byte_translation.h"

#include "keystrokes/key_injection.h"

namespace wedge::keystrokes {
namespace {

using platform::Key;
using platform::KeyEvent;

// The events of one injection, built front to back.
class Injection {
public:
    void press(Key key) { events_[count_++] = {key, false}; }
    void release(Key key) { events_[count_++] = {key, true}; }
    bool inject() const { return injectAll(events_, count_); }

private:
    KeyEvent events_[platform::MaxEventsPerInjection] = {};
    uint32_t count_ = 0;
};

bool isDropped(uint8_t value) {
    return value == 127 || (value < 32 && value != 9 && value != 13);
}

// Starts an injection with the release of every modifier key held down
// now, and a tap of a key without function before the first release that
// would otherwise open a menu.
Injection startingWithHeldModifiersReleased() {
    const platform::Desktop& desktop = platform::desktop();
    Injection injection;
    Key held[platform::MaxModifierKeys] = {};
    uint32_t count = desktop.heldModifierKeys(held);
    if (count > platform::MaxModifierKeys) {
        count = platform::MaxModifierKeys;
    }
    bool masked = false;
    for (uint32_t i = 0; i < count; ++i) {
        const Key mask = desktop.maskKeyBeforeRelease(held[i]);
        if (mask != 0 && !masked) {
            injection.press(mask);
            injection.release(mask);
            masked = true;
        }
        injection.release(held[i]);
    }
    return injection;
}

// The chord's modifiers down, its keys tapped in turn, its modifiers up
// in the order they went down, after the keys someone else holds.
bool typeChord(const platform::KeyChord& chord) {
    Injection injection = startingWithHeldModifiersReleased();
    for (uint32_t i = 0; i < chord.modifierCount; ++i) {
        injection.press(chord.modifiers[i]);
    }
    for (uint32_t i = 0; i < chord.keyCount; ++i) {
        injection.press(chord.keys[i]);
        injection.release(chord.keys[i]);
    }
    for (uint32_t i = 0; i < chord.modifierCount; ++i) {
        injection.release(chord.modifiers[i]);
    }
    return injection.inject();
}

}  // namespace

bool typeKeyChord(char16_t character, platform::Keyboard keyboard) {
    platform::KeyChord chord{};
    return platform::desktop().chordForCharacter(keyboard, character, &chord) && typeChord(chord);
}

bool typeTab(platform::Keyboard keyboard) {
    const platform::Desktop& desktop = platform::desktop();
    Injection press = startingWithHeldModifiersReleased();
    press.press(desktop.tabKey(keyboard));
    if (!press.inject()) {
        return false;
    }
    desktop.sleepMs(TabHoldMs);
    const KeyEvent release{desktop.tabKey(keyboard), true};
    return injectAll(&release, 1);
}

bool typeHighByte(uint8_t value, platform::Keyboard keyboard) {
    platform::KeyChord chord{};
    if (!platform::desktop().chordForHighByte(keyboard, value, &chord)) {
        return false;
    }
    return chord.keyCount == 0 || typeChord(chord);
}

bool typeByte(uint8_t value, platform::Keyboard keyboard) {
    if (isDropped(value)) {
        return true;
    }
    if (value == 9) {
        return typeTab(keyboard);
    }
    if (value < 128) {
        return typeKeyChord(static_cast<char16_t>(value), keyboard);
    }
    return typeHighByte(value, keyboard);
}

}  // namespace wedge::keystrokes
