// The simulated desktop's keyboard: which key and shift state produce a
// character, what a key press produces, and the keys' scan codes.
#pragma once

#include "platform/win32/windows_keys.h"
#include "simulated/simulated_desktop.h"

#include <cstdint>

namespace wedge::simulated {

using platform::AltBit;
using platform::ControlBit;
using platform::ShiftBit;

// VkKeyScanW's answer: virtual key in the low byte, shift state in the
// high byte; -1 when no key of the layout produces the character.
int16_t keyScan(Layout layout, char16_t character);

// The character a key produces with the given shift state, 0 for none.
char16_t characterOf(Layout layout, uint16_t virtualKey, uint8_t shiftState);

bool isLetterKey(uint16_t virtualKey);

uint16_t scanCodeOfKey(uint16_t virtualKey);
uint16_t keyOfScanCode(uint16_t scanCode);

}  // namespace wedge::simulated
