// Text for and from the command line: into the bytes the library types
// (the system's ANSI code page, which Alt + keypad codes with a leading 0
// select), into UTF-8 for output, and window titles made printable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wedge::cli {

// The code page the library types bytes 128-255 in: on Windows the
// system's ANSI code page, which Alt + keypad codes with a leading 0
// select; elsewhere Windows-1252.
uint32_t codePage();

// The character's single byte in that code page; false when it has none.
bool toCodePageByte(char16_t character, uint8_t* byte);

// Encodes text in that code page; false, with the position of
// the first unit that has no single byte there in *failedAt, when a
// character is outside it.
bool toAnsiBytes(const std::u16string& text, std::vector<uint8_t>* bytes, size_t* failedAt);

std::string toUtf8(const std::u16string& text);

// The text with its control characters written as escapes, so that a
// title never moves the cursor, rings or starts a terminal sequence: \t,
// \n, \r, and \u followed by four hex digits for the other C0 and C1
// controls and DEL. A backslash stays as it is, so that titles with paths
// read as they are.
std::u16string escapeControls(const std::u16string& text);

}  // namespace wedge::cli
