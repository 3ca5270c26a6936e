// The error line built from the thread's last error code and the system's
// own text for it, as FormatMessageW gives it on this system.
#include "keystrokes/error_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace wedge_test {
namespace {

using wedge::keystrokes::ErrorTextCapacity;
using wedge::keystrokes::errorTextLength;
using wedge::keystrokes::lastErrorText;
using wedge::keystrokes::recordSystemError;

constexpr size_t LineLimit = ErrorTextCapacity - 1;

// The system's whole text for the code, line break included; empty when
// it has none.
std::u16string systemText(DWORD code) {
    LPWSTR buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
        0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::u16string text;
    if (length > 0 && buffer != nullptr) {
        text.assign(buffer, buffer + length);
    }
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    return text;
}

std::u16string recordedFor(DWORD code) {
    SetLastError(code);
    recordSystemError();
    return std::u16string(lastErrorText());
}

std::u16string expectedLine(DWORD code) {
    const std::string number = std::to_string(code);
    std::u16string line = u"Wedge error: " + std::u16string(number.begin(), number.end()) + u" with message: ";
    return (line + systemText(code)).substr(0, LineLimit);
}

TEST(SystemErrorText, CarriesTheSystemsWholeTextForTheCode) {
    const std::u16string text = systemText(ERROR_ACCESS_DENIED);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(recordedFor(ERROR_ACCESS_DENIED), u"Wedge error: 5 with message: " + text);
    // The system ends its texts with a line break, and it is kept.
    EXPECT_EQ(text.back(), u'\n');
    EXPECT_EQ(errorTextLength(), static_cast<int32_t>(29 + text.size()));
}

TEST(SystemErrorText, CodeWithoutSystemTextLeavesTheMessageEmpty) {
    constexpr DWORD UnknownCode = 0x20001234;  // the application-defined range
    ASSERT_TRUE(systemText(UnknownCode).empty());
    EXPECT_EQ(recordedFor(UnknownCode), u"Wedge error: 536875572 with message: ");
}

TEST(SystemErrorText, ReplacesThePreviousLineEntirely) {
    ASSERT_FALSE(recordedFor(ERROR_INVALID_PARAMETER).empty());
    EXPECT_EQ(recordedFor(ERROR_ACCESS_DENIED), expectedLine(ERROR_ACCESS_DENIED));
}

// Every system code up to the end of the Win32 error range: each line is
// the prefix and the system's text, cut at the line's limit.
TEST(SystemErrorText, EveryCodeFormatsWithinTheLineLimit) {
    constexpr DWORD LastWin32Code = 15999;
    int codesWithText = 0;
    for (DWORD code = 0; code <= LastWin32Code; ++code) {
        const std::u16string recorded = recordedFor(code);
        ASSERT_EQ(recorded, expectedLine(code)) << "code " << code;
        ASSERT_LE(recorded.size(), LineLimit) << "code " << code;
        ASSERT_EQ(errorTextLength(), static_cast<int32_t>(recorded.size())) << "code " << code;
        codesWithText += systemText(code).empty() ? 0 : 1;
    }
    // Not vacuous: the system had texts to format.
    EXPECT_GT(codesWithText, 100);
}

}  // namespace
}  // namespace wedge_test
