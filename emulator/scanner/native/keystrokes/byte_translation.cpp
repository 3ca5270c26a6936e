#include "keystrokes/byte_translation.h"

#include "keystrokes/key_injection.h"

namespace wedge::keystrokes {
namespace {

using platform::KeyboardEvent;
using platform::KeyPress;
using platform::KeyRelease;

// The events of one injection, built front to back.
class Injection {
public:
    void add(const KeyboardEvent& event) { events_[count_++] = event; }
    bool inject() const { return injectAll(events_, count_); }

private:
    KeyboardEvent events_[platform::MaxEventsPerInjection] = {};
    uint32_t count_ = 0;
};

KeyboardEvent released(const KeyboardEvent& press) { return {press.virtualKey, press.scanCode, press.flags | KeyRelease}; }

bool isDropped(uint8_t value) {
    return value == 127 || (value < 32 && value != 9 && value != 13);
}

// Starts an injection with the release of every modifier key held down
// now, and a tap of a key without function before the first release that
// would otherwise open a menu.
Injection startingWithHeldModifiersReleased() {
    Injection injection;
    uint16_t held[platform::MaxModifierKeys];
    const uint32_t count = platform::heldModifierKeys(held);
    bool masked = false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint16_t mask = platform::maskKeyBeforeRelease(held[i]);
        if (mask != 0 && !masked) {
            injection.add({mask, 0, KeyPress});
            injection.add({mask, 0, KeyRelease});
            masked = true;
        }
        injection.add({held[i], 0, KeyRelease});
    }
    return injection;
}

// The chord's modifiers down, its keys tapped in turn, its modifiers up
// in the order they went down, after the keys someone else holds.
bool typeChord(const platform::KeyChord& chord) {
    Injection injection = startingWithHeldModifiersReleased();
    for (uint32_t i = 0; i < chord.modifierCount; ++i) {
        injection.add(chord.modifiers[i]);
    }
    for (uint32_t i = 0; i < chord.keyCount; ++i) {
        injection.add(chord.keys[i]);
        injection.add(released(chord.keys[i]));
    }
    for (uint32_t i = 0; i < chord.modifierCount; ++i) {
        injection.add(released(chord.modifiers[i]));
    }
    return injection.inject();
}

}  // namespace

bool typeKeyChord(char16_t character, platform::KeyboardLayout layout) {
    platform::KeyChord chord{};
    return platform::chordForCharacter(character, layout, &chord) && typeChord(chord);
}

bool typeTab() {
    Injection press = startingWithHeldModifiersReleased();
    press.add(platform::tabKeyPress());
    if (!press.inject()) {
        return false;
    }
    platform::sleepMs(TabHoldMs);
    const KeyboardEvent release = released(platform::tabKeyPress());
    return injectAll(&release, 1);
}

bool typeHighByte(uint8_t value, platform::KeyboardLayout layout) {
    platform::KeyChord chord{};
    if (!platform::chordForHighByte(value, layout, &chord)) {
        return false;
    }
    return chord.keyCount == 0 || typeChord(chord);
}

bool typeByte(uint8_t value, platform::KeyboardLayout layout) {
    if (isDropped(value)) {
        return true;
    }
    if (value == 9) {
        return typeTab();
    }
    if (value < 128) {
        return typeKeyChord(static_cast<char16_t>(value), layout);
    }
    return typeHighByte(value, layout);
}

}  // namespace wedge::keystrokes
