// The Linux desktops' last error: a code and its text, as the error line
// "Wedge error: <code> with message: <text>" shows them. A protocol error
// keeps the protocol's own code and text; failures without a code of
// their own use the Windows code that fits, so that a code means the same
// on every desktop.
#pragma once

#include "platform/decimal_text.h"

#include <cstdint>

namespace wedge::linux_desktop {

inline constexpr uint32_t ErrorNotSupported = 50;        // ERROR_NOT_SUPPORTED: the desktop lacks what typing needs
inline constexpr uint32_t ErrorLibraryMissing = 126;     // ERROR_MOD_NOT_FOUND: a desktop library is missing
inline constexpr uint32_t ErrorKeyHeld = 170;            // ERROR_BUSY: a modifier key stays held
inline constexpr uint32_t ErrorNoDisplay = 1167;         // ERROR_DEVICE_NOT_CONNECTED

// Sets the code with a text of its own.
void failWith(uint32_t code, const char* utf8Text);

// Sets the code with a text joined from parts; a null part ends them.
void failWithParts(uint32_t code, const char* const* parts);

// A number in decimal, for the parts of a text.
using platform::Decimal;
using platform::decimal;

// Sets the code alone; its text is then the standard one for the code,
// unless the code is the one already set, which keeps its own.
void setErrorCode(uint32_t code);

uint32_t errorCode();

// The text for a code: the one set with it, when it is the latest code,
// otherwise the standard text; empty for a code that has none.
const char* errorTextFor(uint32_t code);

// The text for a code in UTF-16, as the desktop table answers it.
int32_t systemMessage(uint32_t code, char16_t* text, int32_t capacity);

}  // namespace wedge::linux_desktop
