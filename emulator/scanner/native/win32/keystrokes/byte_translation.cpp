#include "keystrokes/byte_translation.h"

#include "keystrokes/key_injection.h"

namespace wedge::keystrokes {
namespace {

using platform::KeyboardEvent;
using platform::KeyPress;
using platform::KeyRelease;
using platform::KeyScanCode;

// The events of one injection, built front to back.
class Injection {
public:
    void add(const KeyboardEvent& event) { events_[count_++] = event; }
    bool inject() const { return injectAll(events_, count_); }

private:
    KeyboardEvent events_[platform::MaxEventsPerInjection] = {};
    uint32_t count_ = 0;
};

KeyboardEvent byScanCode(uint16_t virtualKey, uint32_t action) {
    return {0, static_cast<uint16_t>(platform::scanCodeOf(virtualKey)), KeyScanCode | action};
}

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

}  // namespace

uint16_t numpadKeyForDigit(int32_t digit) {
    if (digit < 0 || digit > 9) {
        return 0;
    }
    return static_cast<uint16_t>(platform::VkNumpad0 + digit);
}

bool typeKeyChord(char16_t character, platform::KeyboardLayout layout) {
    const int16_t scan = platform::vkKeyScan(character, layout);
    if (scan == -1) {
        platform::setLastError(platform::ErrorInvalidData);
        return false;
    }
    const auto virtualKey = static_cast<uint16_t>(scan & 0xFF);
    const auto shiftState = static_cast<uint8_t>((scan >> 8) & 0xFF);

    // Modifiers go up in the order they went down: Shift, Control, Alt.
    constexpr struct {
        uint8_t bit;
        uint16_t key;
    } Modifiers[] = {{platform::ShiftBit, platform::VkShift},
                     {platform::ControlBit, platform::VkControl},
                     {platform::AltBit, platform::VkMenu}};

    Injection injection = startingWithHeldModifiersReleased();
    for (const auto& modifier : Modifiers) {
        if ((shiftState & modifier.bit) != 0) {
            injection.add({modifier.key, 0, KeyPress});
        }
    }
    injection.add({virtualKey, 0, KeyPress});
    injection.add({virtualKey, 0, KeyRelease});
    for (const auto& modifier : Modifiers) {
        if ((shiftState & modifier.bit) != 0) {
            injection.add({modifier.key, 0, KeyRelease});
        }
    }
    return injection.inject();
}

bool typeTab() {
    Injection press = startingWithHeldModifiersReleased();
    press.add(byScanCode(platform::VkTab, KeyPress));
    if (!press.inject()) {
        return false;
    }
    platform::sleepMs(TabHoldMs);
    const KeyboardEvent release = byScanCode(platform::VkTab, KeyRelease);
    return injectAll(&release, 1);
}

bool typeAltCode(uint8_t value) {
    const uint16_t digits[] = {
        numpadKeyForDigit(0),
        numpadKeyForDigit(value / 100),
        numpadKeyForDigit((value % 100) / 10),
        numpadKeyForDigit(value % 10),
    };
    Injection injection = startingWithHeldModifiersReleased();
    injection.add(byScanCode(platform::VkMenu, KeyPress));
    for (const uint16_t digit : digits) {
        injection.add(byScanCode(digit, KeyPress));
        injection.add(byScanCode(digit, KeyRelease));
    }
    injection.add(byScanCode(platform::VkMenu, KeyRelease));
    return injection.inject();
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
    return typeAltCode(value);
}

}  // namespace wedge::keystrokes
