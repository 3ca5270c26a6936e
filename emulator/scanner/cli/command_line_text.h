// Text for the command line: into Windows-1252, the 8-bit encoding the
// library types (bytes 128-255 as Alt + keypad codes with a leading 0,
// which select that code page), and into UTF-8 for output.
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
