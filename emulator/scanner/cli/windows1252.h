// The 8-bit encoding the library types: ASCII, Windows-1252's own
// characters at 0x80 to 0x9F, and Latin-1 above (typed as Alt + keypad
// codes with a leading 0, which select exactly this code page).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wedge::cli {

// Encodes text; false, with the position of the first unit that has no
// byte in *failedAt, when a character is outside the encoding.
bool toWindows1252(const std::u16string& text, std::vector<uint8_t>* bytes, size_t* failedAt);

std::string toUtf8(const std::u16string& text);

}  // namespace wedge::cli
