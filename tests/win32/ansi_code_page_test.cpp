// The system's ANSI code page as the command line encodes text for typing:
// each byte back from its character, and no look-alike for a character
// the code page lacks.
#include "command_line_text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace wedge_test {
namespace {

using wedge::cli::codePage;
using wedge::cli::toCodePageByte;

TEST(AnsiCodePage, EveryByteComesBackFromItsCharacter) {
    ASSERT_EQ(codePage(), GetACP());
    int roundTrips = 0;
    for (int value = 1; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        wchar_t character = 0;
        if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &byte, 1, &character, 1) != 1) {
            continue;
        }
        uint8_t encoded = 0;
        EXPECT_TRUE(toCodePageByte(static_cast<char16_t>(character), &encoded)) << value;
        EXPECT_EQ(encoded, value);
        ++roundTrips;
    }
    EXPECT_GE(roundTrips, 127);
}

TEST(AnsiCodePage, ACharacterOutsideIsRefusedRatherThanFittedToALookAlike) {
    uint8_t encoded = 0;
    EXPECT_FALSE(toCodePageByte(u'\xD83D', &encoded)) << "half a surrogate pair";
    if (GetACP() != 1252) {
        GTEST_SKIP() << "this system's code page is " << GetACP() << ", not the Western one";
    }
    // A with macron has a best fit, plain A; omega has none at all.
    EXPECT_FALSE(toCodePageByte(u'\u0100', &encoded));
    EXPECT_FALSE(toCodePageByte(u'\u03a9', &encoded));
}

}  // namespace
}  // namespace wedge_test
