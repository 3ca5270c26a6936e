// Windows-1252, the code page that Alt + keypad codes with a leading 0
// select: ASCII, its own characters at 0x80 to 0x9F, Latin-1 above.
#pragma once

#include <cstdint>

namespace wedge::platform {

char16_t fromWindows1252(uint8_t byte);

// False when the character has no byte in the code page.
bool toWindows1252(char16_t character, uint8_t* byte);

}  // namespace wedge::platform
