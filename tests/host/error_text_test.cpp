#include "keystrokes/error_text.h"

#include "desktop_fixture.h"
#include "platform/desktop.h"

#include <string>

namespace wedge::testing {
namespace {

using keystrokes::ErrorTextCapacity;
using keystrokes::lastErrorText;
using keystrokes::recordMessage;
using keystrokes::recordSystemError;

std::u16string recordedFor(uint32_t code) {
    platform::setLastError(code);
    recordSystemError();
    return {lastErrorText(), static_cast<size_t>(keystrokes::errorTextLength())};
}

std::u16string utf16(const std::string& text) { return {text.begin(), text.end()}; }

using ErrorTextTest = DesktopTest;

TEST_F(ErrorTextTest, FormatsTheCodeAndTheSystemsWholeText) {
    EXPECT_EQ(recordedFor(5), u"Wedge error: 5 with message: Access is denied.\r\n");
    EXPECT_EQ(recordedFor(0), u"Wedge error: 0 with message: The operation completed successfully.\r\n");
}

TEST_F(ErrorTextTest, PrintsCodesAsSignedNumbers) {
    EXPECT_EQ(recordedFor(0x80070005), u"Wedge error: -2147024891 with message: ");
    EXPECT_EQ(recordedFor(0x80000000), u"Wedge error: -2147483648 with message: ");
    EXPECT_EQ(recordedFor(0x7FFFFFFF), u"Wedge error: 2147483647 with message: ");
}

TEST_F(ErrorTextTest, LeavesTheMessageEmptyWhenTheSystemHasNoText) {
    EXPECT_EQ(recordedFor(simulated::CodeWithoutText),
              utf16("Wedge error: " + std::to_string(simulated::CodeWithoutText) + " with message: "));
}

TEST_F(ErrorTextTest, CutsALineThatDoesNotFitAndKeepsItTerminated) {
    simulated::setSystemMessage(42, std::u16string(400, u'm'));
    const std::u16string line = recordedFor(42);
    ASSERT_EQ(line.size(), static_cast<size_t>(ErrorTextCapacity - 1));
    EXPECT_EQ(lastErrorText()[ErrorTextCapacity - 1], 0);
    const std::u16string head = u"Wedge error: 42 with message: ";
    EXPECT_EQ(line, head + std::u16string(ErrorTextCapacity - 1 - head.size(), u'm'));
}

TEST_F(ErrorTextTest, AFixedMessageReplacesALongerText) {
    simulated::setSystemMessage(42, std::u16string(250, u'm'));
    recordedFor(42);
    recordMessage(keystrokes::TargetNotSetMessage);
    EXPECT_EQ(std::u16string(lastErrorText()), u"Target application is not set");
    for (int32_t i = 29; i < ErrorTextCapacity; ++i) {
        ASSERT_EQ(lastErrorText()[i], 0) << "unit " << i << " left over";
    }
}

}  // namespace
}  // namespace wedge::testing
