// The desktop's last error: a code and its text, as the error line
// "Wedge error: <code> with message: <text>" shows them. X protocol errors
// keep X's own code and text; failures X has no code for use the Windows
// code that fits, so that a code means the same on both desktops.
#pragma once

#include <cstdint>

namespace wedge::x11 {

inline constexpr uint32_t ErrorNotSupported = 50;        // ERROR_NOT_SUPPORTED: no XTEST or XKB
inline constexpr uint32_t ErrorLibraryMissing = 126;     // ERROR_MOD_NOT_FOUND: libX11 or libXtst
inline constexpr uint32_t ErrorKeyHeld = 170;            // ERROR_BUSY: a modifier key stays held
inline constexpr uint32_t ErrorNoDisplay = 1167;         // ERROR_DEVICE_NOT_CONNECTED

// Sets the code with a text of its own.
void failWith(uint32_t code, const char* utf8Text);

// Sets the code with a text joined from parts; a null part ends them.
void failWithParts(uint32_t code, const char* const* parts);

// A number in decimal, for the parts of a text.
struct Decimal {
    char digits[12];
};
Decimal decimal(int32_t value);

// Sets the code alone; its text is then the standard one for the code.
void setErrorCode(uint32_t code);

uint32_t errorCode();

// The text for a code: the one set with it, when it is the latest code,
// otherwise the standard text; empty for a code that has none.
const char* errorTextFor(uint32_t code);

}  // namespace wedge::x11
