// The code page of Alt + keypad codes with a leading 0: the system's ANSI one.
#include "command_line_text.h"

#include <windows.h>

namespace wedge::cli {

uint32_t codePage() { return GetACP(); }

bool toCodePageByte(char16_t character, uint8_t* byte) {
    const auto wide = static_cast<WCHAR>(character);
    char bytes[4] = {};
    BOOL usedDefault = FALSE;
    // No best fit: a character the code page lacks must not come out as a
    // look-alike.
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes, nullptr,
                                           &usedDefault);
    if (length != 1 || usedDefault != FALSE) {
        return false;
    }
    *byte = static_cast<uint8_t>(bytes[0]);
    return true;
}

}  // namespace wedge::cli
