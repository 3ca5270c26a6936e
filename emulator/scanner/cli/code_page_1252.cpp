// Away from Windows, bytes 128-255 are typed as their Windows-1252 characters.
#include "command_line_text.h"
#include "platform/windows1252.h"

namespace wedge::cli {

uint32_t codePage() { return 1252; }

bool toCodePageByte(char16_t character, uint8_t* byte) { return platform::toWindows1252(character, byte); }

}  // namespace wedge::cli
