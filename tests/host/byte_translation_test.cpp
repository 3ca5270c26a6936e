#include "keystrokes/byte_translation.h"

#include "desktop_fixture.h"
#include "platform/desktop.h"

#include <vector>

namespace wedge::testing {
namespace {

using platform::numpadKeyForDigit;
using platform::VkControl;
using platform::VkMenu;
using platform::VkShift;

constexpr uint16_t TabScan = 0x0F;
constexpr uint16_t AltScan = 0x38;
// Scan codes of keypad 0 to 9.
constexpr uint16_t KeypadScan[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};

class ByteTranslationTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        window = simulated::openWindow({u"Sink"});
        simulated::setForeground(window);
    }

    // Through the layout of the window in front, as sendText types.
    static bool typeByte(uint8_t value) {
        return keystrokes::typeByte(value, platform::keyboardLayoutOf(simulated::foregroundWindow()));
    }

    std::vector<Key> altCode(int hundreds, int tens, int units) {
        std::vector<Key> keys{scanPress(AltScan)};
        for (const int digit : {0, hundreds, tens, units}) {
            keys.push_back(scanPress(KeypadScan[digit]));
            keys.push_back(scanRelease(KeypadScan[digit]));
        }
        keys.push_back(scanRelease(AltScan));
        return keys;
    }

    WindowHandle window = nullptr;
};

TEST_F(ByteTranslationTest, DropsControlBytesOtherThanTabAndCarriageReturn) {
    for (int value = 0; value < 32; ++value) {
        if (value == 9 || value == 13) {
            continue;
        }
        EXPECT_TRUE(typeByte(static_cast<uint8_t>(value))) << value;
    }
    EXPECT_TRUE(typeByte(127));
    EXPECT_TRUE(injectedKeys().empty());
    EXPECT_EQ(simulated::nowMs(), 0U);
}

TEST_F(ByteTranslationTest, TypesCapitalsWithShiftReleasedAfterTheKey) {
    ASSERT_TRUE(typeByte('A'));
    EXPECT_EQ(injectedKeys(), (std::vector<Key>{press(VkShift), press('A'), release('A'), release(VkShift)}));
    EXPECT_EQ(simulated::injectionCount(), 1U) << "one injection per chord";
}

TEST_F(ByteTranslationTest, TypesSmallLettersWithoutModifiers) {
    ASSERT_TRUE(typeByte('a'));
    EXPECT_EQ(injectedKeys(), (std::vector<Key>{press('A'), release('A')}));
}

TEST_F(ByteTranslationTest, TypesCarriageReturnAsTheLayoutsEnterKey) {
    ASSERT_TRUE(typeByte(13));
    EXPECT_EQ(injectedKeys(), (std::vector<Key>{press(0x0D), release(0x0D)}));
}

TEST_F(ByteTranslationTest, EveryPrintableAsciiByteArrivesAsItself) {
    std::u16string expected;
    for (int value = 32; value < 127; ++value) {
        ASSERT_TRUE(typeByte(static_cast<uint8_t>(value))) << value;
        expected.push_back(static_cast<char16_t>(value));
    }
    EXPECT_EQ(simulated::receivedText(window), expected);
    EXPECT_TRUE(simulated::keysDown().empty());
}

TEST_F(ByteTranslationTest, TabIsAScanCodePressHeld100MsThenAReleaseInItsOwnInjection) {
    ASSERT_TRUE(typeByte(9));
    EXPECT_EQ(injectedKeys(), (std::vector<Key>{scanPress(TabScan), scanRelease(TabScan)}));
    const auto& events = simulated::injectedEvents();
    EXPECT_EQ(events[1].atMs - events[0].atMs, 100U);
    EXPECT_NE(events[0].injection, events[1].injection);
    EXPECT_EQ(simulated::receivedText(window), u"\t");
}

TEST_F(ByteTranslationTest, TabWhosePressFailsSendsNoRelease) {
    simulated::failSendInput(5, 1);
    EXPECT_FALSE(typeByte(9));
    EXPECT_TRUE(injectedKeys().empty());
    EXPECT_EQ(platform::getLastError(), 5U);
    EXPECT_EQ(simulated::nowMs(), 0U);
}

TEST_F(ByteTranslationTest, HighBytesAreAltKeypadCodesWithALeadingZero) {
    ASSERT_TRUE(typeByte(233));
    EXPECT_EQ(injectedKeys(), altCode(2, 3, 3));
    EXPECT_EQ(simulated::injectionCount(), 1U) << "one injection per Alt code";

    simulated::reset();
    ASSERT_TRUE(typeByte(128));
    EXPECT_EQ(injectedKeys(), altCode(1, 2, 8));

    simulated::reset();
    ASSERT_TRUE(typeByte(255));
    EXPECT_EQ(injectedKeys(), altCode(2, 5, 5));
}

TEST_F(ByteTranslationTest, EveryHighByteArrivesAsItsWindows1252Character) {
    for (int value = 128; value < 256; ++value) {
        simulated::reset();
        const WindowHandle sink = simulated::openWindow({u"Sink"});
        simulated::setForeground(sink);
        ASSERT_TRUE(typeByte(static_cast<uint8_t>(value)));
        const std::u16string received = simulated::receivedText(sink);
        ASSERT_EQ(received.size(), 1U) << value;
        if (value >= 0xA0) {
            EXPECT_EQ(received[0], value) << value;
        }
        EXPECT_TRUE(simulated::keysDown().empty()) << value;
    }
}

TEST_F(ByteTranslationTest, AltGraphCharactersPressControlThenAltAndReleaseInTheSameOrder) {
    simulated::useLayout(simulated::Layout::AltGraph);
    ASSERT_TRUE(typeByte('@'));
    EXPECT_EQ(injectedKeys(), (std::vector<Key>{press(VkControl), press(VkMenu), press('Q'), release('Q'),
                                                release(VkControl), release(VkMenu)}));
    EXPECT_EQ(simulated::receivedText(window), u"@");
}

TEST_F(ByteTranslationTest, ACharacterWithNoKeyFailsWithInvalidDataAndSendsNothing) {
    simulated::useLayout(simulated::Layout::AltGraph);
    EXPECT_FALSE(typeByte('`'));
    EXPECT_EQ(platform::getLastError(), platform::ErrorInvalidData);
    EXPECT_TRUE(injectedKeys().empty());
}

TEST_F(ByteTranslationTest, AChordThatIsOnlyPartlyInsertedFailsAndLeavesNoKeyDown) {
    simulated::limitSendInput(2);
    EXPECT_FALSE(typeByte('A'));
    EXPECT_EQ(platform::getLastError(), platform::ErrorWriteFault) << "the system gave no code of its own";
    EXPECT_EQ(injectedKeys(), (std::vector<Key>{press(VkShift), press('A'), release('A'), release(VkShift)}))
        << "the keys that went in are let up, the last pressed first";
    EXPECT_TRUE(simulated::keysDown().empty());
}

TEST_F(ByteTranslationTest, ATabWhoseReleaseFailsIsLetUpByTheNextInjectionThatGoesIn) {
    simulated::failSendInput(5, 1, 1);
    EXPECT_FALSE(typeByte(9));
    EXPECT_EQ(platform::getLastError(), 5U);
    EXPECT_EQ(injectedKeys(), (std::vector<Key>{scanPress(TabScan), scanRelease(TabScan)}));
    EXPECT_TRUE(simulated::keysDown().empty());
}

TEST_F(ByteTranslationTest, AnInjectionThatInsertsNothingFailsWithTheSystemsCode) {
    simulated::failSendInput(1400);
    EXPECT_FALSE(typeByte('a'));
    EXPECT_FALSE(typeByte(200));
    EXPECT_EQ(platform::getLastError(), 1400U);
}

TEST(NumpadKeyForDigit, MapsDigitsToKeypadKeysAndAnythingElseToZero) {
    for (int digit = 0; digit <= 9; ++digit) {
        EXPECT_EQ(numpadKeyForDigit(digit), 0x60 + digit);
    }
    for (const int other : {-1, 10, 255, INT32_MIN}) {
        EXPECT_EQ(numpadKeyForDigit(other), 0) << other;
    }
}

}  // namespace
}  // namespace wedge::testing
