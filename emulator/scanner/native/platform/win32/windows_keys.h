// The Windows keyboard, as the real and the simulated Windows desktop both
// speak it: virtual keys, scan codes and shift states, and the keys the
// core names translated to and from them. windows_keys.cpp builds the
// desktop's chords, Tab and Caps Lock from windows_api.h.
#pragma once

#include "platform/desktop.h"
#include "platform/win32/windows_api.h"

#include <cstdint>

namespace wedge::platform {

inline constexpr uint16_t VkTab = 0x09;
inline constexpr uint16_t VkShift = 0x10;
inline constexpr uint16_t VkControl = 0x11;
inline constexpr uint16_t VkMenu = 0x12;
inline constexpr uint16_t VkCapital = 0x14;
inline constexpr uint16_t VkLeftWindows = 0x5B;
inline constexpr uint16_t VkRightWindows = 0x5C;
inline constexpr uint16_t VkNumpad0 = 0x60;
inline constexpr uint16_t VkLeftShift = 0xA0;
inline constexpr uint16_t VkRightShift = 0xA1;
inline constexpr uint16_t VkLeftControl = 0xA2;
inline constexpr uint16_t VkRightControl = 0xA3;
inline constexpr uint16_t VkLeftMenu = 0xA4;
inline constexpr uint16_t VkRightMenu = 0xA5;

// The modifier bits of a shift state, as vkKeyScan answers it in its
// high byte; higher bits are not used.
inline constexpr uint8_t ShiftBit = 0x01;
inline constexpr uint8_t ControlBit = 0x02;
inline constexpr uint8_t AltBit = 0x04;

inline constexpr uint16_t ModifierKeys[MaxModifierKeys] = {
    VkLeftShift, VkRightShift, VkLeftControl, VkRightControl, VkLeftMenu, VkRightMenu, VkLeftWindows, VkRightWindows,
};

// Unassigned: it types nothing and triggers nothing, yet counts as a key
// pressed while Alt or Windows was down, so their release opens no menu.
inline constexpr uint16_t NoFunctionKey = 0xE8;

inline uint16_t maskKeyForRelease(uint16_t key) {
    const bool alt = key == VkMenu || key == VkLeftMenu || key == VkRightMenu;
    const bool windows = key == VkLeftWindows || key == VkRightWindows;
    return alt || windows ? NoFunctionKey : 0;
}

// A Key is a virtual key, or a scan code with this bit, as KEYBDINPUT
// addresses keys.
inline constexpr Key ByScanCode = 0x10000;

inline Key keyOf(const KeyboardEvent& event) {
    return (event.flags & KeyScanCode) != 0 ? ByScanCode | event.scanCode : event.virtualKey;
}

inline KeyboardEvent keyboardEvent(KeyEvent event) {
    const uint32_t release = event.release ? KeyRelease : KeyPress;
    if ((event.key & ByScanCode) != 0) {
        return {0, static_cast<uint16_t>(event.key & 0xFFFF), KeyScanCode | release};
    }
    return {static_cast<uint16_t>(event.key & 0xFFFF), 0, release};
}

// VK_NUMPAD0 to VK_NUMPAD9 for 0 to 9; 0 for anything else.
uint16_t numpadKeyForDigit(int32_t digit);

// The chord that types a character (13, or 32 to 126) in the layout: the
// key and the Shift, AltGr (or Control and Alt) it needs. False, with last
// error 13, when no key produces it.
bool chordForCharacter(Keyboard layout, char16_t character, KeyChord* chord);

// Alt + keypad 0 and the byte's three digits, by scan code: the ANSI code
// page's character.
bool chordForHighByte(Keyboard layout, uint8_t value, KeyChord* chord);

// The Tab key, by scan code.
Key tabKey(Keyboard layout);

bool capsLockOn();

// Flips Caps Lock by a tap of its key through inject.
bool toggleCapsLock(Injector inject, bool* toggled);

}  // namespace wedge::platform
