#include "keystrokes/byte_translation.h"

#include "platform/desktop.h"

namespace wedge::keystrokes {
namespace {

using platform::KeyboardEvent;
using platform::KeyPress;
using platform::KeyRelease;
using platform::KeyScanCode;

constexpr uint8_t ShiftBit = 0x01;
constexpr uint8_t ControlBit = 0x02;
constexpr uint8_t AltBit = 0x04;

constexpr uint32_t MaxChordEvents = 8;
constexpr uint32_t AltCodeEvents = 10;

bool injected(const KeyboardEvent* events, uint32_t count) { return platform::sendInput(events, count) > 0; }

KeyboardEvent byScanCode(uint16_t virtualKey, uint32_t action) {
    return {0, static_cast<uint16_t>(platform::scanCodeOf(virtualKey)), KeyScanCode | action};
}

bool isDropped(uint8_t value) {
    return value == 127 || (value < 32 && value != 9 && value != 13);
}

}  // namespace

uint16_t numpadKeyForDigit(int32_t digit) {
    if (digit < 0 || digit > 9) {
        return 0;
    }
    return static_cast<uint16_t>(platform::VkNumpad0 + digit);
}

bool typeKeyChord(char16_t character) {
    const int16_t scan = platform::vkKeyScan(character);
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
    } Modifiers[] = {{ShiftBit, platform::VkShift}, {ControlBit, platform::VkControl}, {AltBit, platform::VkMenu}};

    KeyboardEvent events[MaxChordEvents] = {};
    uint32_t count = 0;
    for (const auto& modifier : Modifiers) {
        if ((shiftState & modifier.bit) != 0) {
            events[count++] = {modifier.key, 0, KeyPress};
        }
    }
    events[count++] = {virtualKey, 0, KeyPress};
    events[count++] = {virtualKey, 0, KeyRelease};
    for (const auto& modifier : Modifiers) {
        if ((shiftState & modifier.bit) != 0) {
            events[count++] = {modifier.key, 0, KeyRelease};
        }
    }
    return injected(events, count);
}

bool typeTab() {
    const KeyboardEvent press = byScanCode(platform::VkTab, KeyPress);
    if (!injected(&press, 1)) {
        return false;
    }
    platform::sleepMs(TabHoldMs);
    const KeyboardEvent release = byScanCode(platform::VkTab, KeyRelease);
    return injected(&release, 1);
}

bool typeAltCode(uint8_t value) {
    const uint16_t digits[] = {
        numpadKeyForDigit(0),
        numpadKeyForDigit(value / 100),
        numpadKeyForDigit((value % 100) / 10),
        numpadKeyForDigit(value % 10),
    };
    KeyboardEvent events[AltCodeEvents] = {};
    uint32_t count = 0;
    events[count++] = byScanCode(platform::VkMenu, KeyPress);
    for (const uint16_t digit : digits) {
        events[count++] = byScanCode(digit, KeyPress);
        events[count++] = byScanCode(digit, KeyRelease);
    }
    events[count++] = byScanCode(platform::VkMenu, KeyRelease);
    return injected(events, count);
}

bool typeByte(uint8_t value) {
    if (isDropped(value)) {
        return true;
    }
    if (value == 9) {
        return typeTab();
    }
    if (value < 128) {
        return typeKeyChord(static_cast<char16_t>(value));
    }
    return typeAltCode(value);
}

}  // namespace wedge::keystrokes
