// The desktop's key vocabulary in Windows's terms, for the real and the
// simulated Windows desktop alike: chords from VkKeyScan's shift state,
// bytes 128-255 as Alt + keypad codes, the Tab key by scan code, and
// Caps Lock flipped by a tap of its key.
#include "platform/win32/windows_keys.h"

namespace wedge::platform {
namespace {

Key byScanCode(uint16_t virtualKey) { return ByScanCode | static_cast<uint16_t>(scanCodeOf(virtualKey)); }

}  // namespace

uint16_t numpadKeyForDigit(int32_t digit) {
    if (digit < 0 || digit > 9) {
        return 0;
    }
    return static_cast<uint16_t>(VkNumpad0 + digit);
}

bool chordForCharacter(Keyboard layout, char16_t character, KeyChord* chord) {
    const int16_t scan = vkKeyScan(character, layout);
    if (scan == -1) {
        setLastError(ErrorInvalidData);
        return false;
    }
    const auto virtualKey = static_cast<uint16_t>(scan & 0xFF);
    const auto shiftState = static_cast<uint8_t>((scan >> 8) & 0xFF);
    // Higher shift-state bits are not modifiers the library presses.
    constexpr struct {
        uint8_t bit;
        uint16_t key;
    } Modifiers[] = {{ShiftBit, VkShift}, {ControlBit, VkControl}, {AltBit, VkMenu}};
    *chord = {};
    for (const auto& modifier : Modifiers) {
        if ((shiftState & modifier.bit) != 0) {
            chord->modifiers[chord->modifierCount++] = modifier.key;
        }
    }
    chord->keys[chord->keyCount++] = virtualKey;
    return true;
}

bool chordForHighByte(Keyboard /*layout*/, uint8_t value, KeyChord* chord) {
    // Alt held over keypad 0 and the value's three digits: the leading 0
    // selects the ANSI code page. By scan code, as the keypad sends them.
    const uint16_t digits[] = {
        numpadKeyForDigit(0),
        numpadKeyForDigit(value / 100),
        numpadKeyForDigit((value % 100) / 10),
        numpadKeyForDigit(value % 10),
    };
    *chord = {};
    chord->modifiers[chord->modifierCount++] = byScanCode(VkMenu);
    for (const uint16_t digit : digits) {
        chord->keys[chord->keyCount++] = byScanCode(digit);
    }
    return true;
}

Key tabKey(Keyboard /*layout*/) { return byScanCode(VkTab); }

bool capsLockOn() { return (getKeyState(VkCapital) & 1) != 0; }

// Caps Lock toggles only when its key goes from up to down, so a full
// press and release, in one injection, flips it and leaves no key held.
// A key someone is holding down is let up first: pressed again while
// down it would not toggle, and Caps Lock would end up inverted.
bool toggleCapsLock(Injector inject, bool* toggled) {
    const KeyEvent tap[] = {
        {VkCapital, true},
        {VkCapital, false},
        {VkCapital, true},
    };
    const bool held = (getKeyState(VkCapital) & 0x8000) != 0;
    const uint32_t first = held ? 0 : 1;
    uint32_t inserted = 0;
    const bool tapped = inject(tap + first, 3 - first, &inserted);
    *toggled = inserted > 1 - first;
    return tapped;
}

}  // namespace wedge::platform
