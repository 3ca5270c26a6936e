// The Windows keyboard, as the real and the simulated Windows desktop both
// speak it: virtual keys, scan codes and shift states. windows_keys.cpp
// builds the desktop's chords, Tab and Caps Lock from the operations
// below, which each of the two implements.
#pragma once

#include "platform/desktop.h"

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

int16_t getKeyState(int32_t virtualKey);

// Virtual key in the low byte, shift state in the high byte, for the
// character in the layout; -1 when no key produces the character.
int16_t vkKeyScan(char16_t character, KeyboardLayout layout);

// The key's scan code on a PC keyboard: the system's answer
// (MapVirtualKeyW), or the standard one where the system answers 0.
uint32_t scanCodeOf(uint32_t virtualKey);

// VK_NUMPAD0 to VK_NUMPAD9 for 0 to 9; 0 for anything else.
uint16_t numpadKeyForDigit(int32_t digit);

}  // namespace wedge::platform
