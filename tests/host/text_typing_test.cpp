#include "catalogue_state.h"
#include "keystrokes/text_typing.h"

#include "desktop_fixture.h"
#include "platform/desktop.h"
#include "text_source.h"

#include <vector>

namespace wedge::testing {
namespace {

using keystrokes::sendText;
using platform::VkCapital;
using platform::VkControl;
using platform::VkShift;

const std::u16string AccessDenied = u"Wedge error: 5 with message: Access is denied.\r\n";

class TextTypingTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        target = simulated::openWindow({u"Point of sale"});
        other = simulated::openWindow({u"Mail"});
        chooseTarget(target);
        simulated::setForeground(other);
    }

    bool type(const std::string& text) {
        VectorText bytes(text);
        return sendText(bytes.source());
    }

    static size_t successfulActivationsOf(WindowHandle window) {
        size_t count = 0;
        for (const auto& activation : simulated::activations()) {
            count += activation.window == window && activation.succeeded ? 1 : 0;
        }
        return count;
    }

    static std::vector<Key> capsTap() { return {press(VkCapital), release(VkCapital)}; }

    WindowHandle target = nullptr;
    WindowHandle other = nullptr;
};

TEST_F(TextTypingTest, TypesIntoTheTargetAndReportsNoError) {
    ASSERT_TRUE(type("Hello, World!\r"));
    EXPECT_EQ(simulated::receivedText(target), u"Hello, World!\r");
    EXPECT_EQ(simulated::receivedText(other), u"");
    EXPECT_EQ(errorText(), u"");
    EXPECT_TRUE(simulated::keysDown().empty());
}

TEST_F(TextTypingTest, WithoutATargetNothingIsActivatedOrTyped) {
    catalogue::forgetTarget();
    EXPECT_FALSE(type("abc"));
    EXPECT_EQ(errorText(), u"Target application is not set");
    EXPECT_EQ(errorText().size(), 29U);
    EXPECT_TRUE(simulated::activations().empty());
    EXPECT_TRUE(injectedKeys().empty());
}

TEST_F(TextTypingTest, ANullTextIsBadInputCaughtBeforeAnyActivation) {
    EXPECT_FALSE(sendText(nullptr));
    EXPECT_EQ(errorText(), u"Wedge error: 87 with message: The parameter is incorrect.\r\n");
    EXPECT_TRUE(simulated::activations().empty());
    EXPECT_TRUE(injectedKeys().empty());
}

TEST_F(TextTypingTest, SuccessClearsTheTextOfAnEarlierFailure) {
    catalogue::forgetTarget();
    ASSERT_FALSE(type("a"));
    chooseTarget(target);
    ASSERT_TRUE(type("a"));
    for (int32_t i = 0; i < keystrokes::ErrorTextCapacity; ++i) {
        ASSERT_EQ(keystrokes::lastErrorText()[i], 0) << "the whole text is cleared";
    }
}

TEST_F(TextTypingTest, PacesTheCallOnTheClock) {
    // 200 ms to settle, then 50 ms after every byte, dropped ones included.
    ASSERT_TRUE(type("AB\n"));
    const auto& events = simulated::injectedEvents();
    ASSERT_EQ(events.size(), 8U);
    EXPECT_EQ(events[0].atMs, 200U);
    EXPECT_EQ(events[4].atMs, 250U);
    EXPECT_EQ(simulated::nowMs(), 350U);
    EXPECT_EQ(simulated::receivedText(target), u"AB");
}

TEST_F(TextTypingTest, ATabAddsItsHoldToThePacing) {
    ASSERT_TRUE(type("a\tb"));
    EXPECT_EQ(simulated::nowMs(), 200U + 3 * 50 + 100);
    EXPECT_EQ(simulated::receivedText(target), u"a\tb");
}

TEST_F(TextTypingTest, ReassertsTheForegroundBeforeEveryByte) {
    ASSERT_TRUE(type("abcd"));
    EXPECT_EQ(successfulActivationsOf(target), 5U);
    const auto& activations = simulated::activations();
    EXPECT_EQ(activations[0].atMs, 0U);
    EXPECT_EQ(activations[1].atMs, 200U) << "after the settle, before the first byte";
    EXPECT_EQ(activations[4].atMs, 350U);
}

TEST_F(TextTypingTest, FocusTakenDuringTheSettleStopsBeforeTheFirstByte) {
    simulated::refuseActivationAfter(target, 1);
    EXPECT_FALSE(type("x"));
    EXPECT_EQ(errorText(), u"Selected window is no longer available");
    EXPECT_TRUE(injectedKeys().empty());
    EXPECT_EQ(simulated::nowMs(), 200U);
}

TEST_F(TextTypingTest, AnEmptyTextActivatesRestoresAndWaits) {
    simulated::setMinimised(target, true);
    simulated::setCapsLock(true);
    ASSERT_TRUE(type(""));
    EXPECT_EQ(simulated::foregroundWindow(), target);
    EXPECT_FALSE(simulated::isMinimised(target));
    EXPECT_EQ(simulated::nowMs(), 200U);
    std::vector<Key> expected = capsTap();
    const std::vector<Key> second = capsTap();
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(injectedKeys(), expected);
    EXPECT_TRUE(simulated::capsLockOn());
}

TEST_F(TextTypingTest, RestoresAMinimisedTargetOnly) {
    ASSERT_TRUE(type("a"));
    EXPECT_TRUE(simulated::restorations().empty());

    simulated::setMinimised(target, true);
    ASSERT_TRUE(type("b"));
    EXPECT_EQ(simulated::restorations(), std::vector<WindowHandle>{target});
    EXPECT_EQ(simulated::receivedText(target), u"ab");
}

TEST_F(TextTypingTest, ATargetWhoseInformationCannotBeReadIsNotRestored) {
    simulated::setMinimised(target, true);
    simulated::failWindowInfo(target, true);
    ASSERT_TRUE(type("a"));
    EXPECT_TRUE(simulated::restorations().empty());
}

TEST_F(TextTypingTest, CapsLockIsOffWhileTypingAndOnAgainAfter) {
    simulated::setCapsLock(true);
    ASSERT_TRUE(type("aB"));
    EXPECT_EQ(simulated::receivedText(target), u"aB");
    EXPECT_TRUE(simulated::capsLockOn());
    EXPECT_TRUE(simulated::keysDown().empty());
    const std::vector<Key> keys = injectedKeys();
    ASSERT_EQ(keys.size(), 2U + 2 + 4 + 2);
    EXPECT_EQ(std::vector<Key>(keys.begin(), keys.begin() + 2), capsTap());
    EXPECT_EQ(std::vector<Key>(keys.end() - 2, keys.end()), capsTap());
    EXPECT_EQ(simulated::injectedEvents()[0].injection, simulated::injectedEvents()[1].injection)
        << "press and release go in one injection";
}

TEST_F(TextTypingTest, AHeldCapsLockKeyIsLetUpSoThatBothTapsToggle) {
    simulated::setCapsLock(true);
    simulated::holdKey(VkCapital, true);
    ASSERT_TRUE(type("aB"));
    EXPECT_EQ(simulated::receivedText(target), u"aB");
    EXPECT_TRUE(simulated::capsLockOn());
    EXPECT_EQ(injectedKeys().front(), release(VkCapital));
}

TEST_F(TextTypingTest, CapsLockOffIsNotTouched) {
    ASSERT_TRUE(type("a"));
    EXPECT_EQ(injectedKeys(), (std::vector<Key>{press('A'), release('A')}));
}

TEST_F(TextTypingTest, AHeldButUntoggledCapsLockKeyIsNotPressed) {
    simulated::holdKey(VkCapital, true);
    ASSERT_TRUE(type("a"));
    EXPECT_EQ(injectedKeys(), (std::vector<Key>{press('A'), release('A')}));
    EXPECT_FALSE(simulated::capsLockOn());
}

TEST_F(TextTypingTest, ACapsLockPressThatCannotBeInjectedFailsBeforeTyping) {
    simulated::setCapsLock(true);
    simulated::failSendInput(5, 1);
    EXPECT_FALSE(type("abc"));
    EXPECT_EQ(errorText(), AccessDenied);
    EXPECT_TRUE(injectedKeys().empty());
    EXPECT_TRUE(simulated::capsLockOn());
}

TEST_F(TextTypingTest, AClosingCapsLockPressThatFailsFailsTheCall) {
    simulated::setCapsLock(true);
    simulated::failSendInput(5, 1, 3);  // the opening tap and two letters go through
    EXPECT_FALSE(type("ab"));
    EXPECT_EQ(simulated::receivedText(target), u"ab");
    EXPECT_EQ(errorText(), AccessDenied);
}

TEST_F(TextTypingTest, AByteThatCannotBeTypedStopsTheCallWithCapsLockRestored) {
    simulated::useLayout(simulated::Layout::AltGraph);
    simulated::setCapsLock(true);
    EXPECT_FALSE(type("ab`cd"));
    EXPECT_EQ(simulated::receivedText(target), u"ab");
    EXPECT_EQ(errorText(), u"Wedge error: 13 with message: The data is invalid.\r\n");
    EXPECT_TRUE(simulated::capsLockOn());
    EXPECT_TRUE(simulated::keysDown().empty());
}

TEST_F(TextTypingTest, TheFirstFailureKeepsItsTextWhenCapsLockCannotBeRestored) {
    simulated::setCapsLock(true);
    simulated::failSendInput(1400, -1, 2);  // the opening tap and 'a' go through
    EXPECT_FALSE(type("ab"));
    EXPECT_EQ(errorText(), u"Wedge error: 1400 with message: Invalid window handle.\r\n");
}

TEST_F(TextTypingTest, AByteThatCannotBeReadIsAFailure) {
    VectorText bytes(std::string("abc"));
    bytes.failReadsFrom(1);
    EXPECT_FALSE(sendText(bytes.source()));
    EXPECT_EQ(simulated::receivedText(target), u"a");
    EXPECT_EQ(errorText(), u"Wedge error: 87 with message: The parameter is incorrect.\r\n");
}

TEST_F(TextTypingTest, ReadsTheTextOneByteAtATime) {
    VectorText bytes(std::string("scan"));
    ASSERT_TRUE(sendText(bytes.source()));
    EXPECT_EQ(bytes.reads(), 4);
}

TEST_F(TextTypingTest, ALostForegroundStopsTypingAndFails) {
    simulated::setCapsLock(true);
    // Up for the start and before the first two bytes; refused before the third.
    simulated::refuseActivationAfter(target, 3);
    EXPECT_FALSE(type("abcd"));
    EXPECT_EQ(simulated::receivedText(target), u"ab");
    EXPECT_EQ(errorText(), u"Selected window is no longer available");
    EXPECT_EQ(simulated::nowMs(), 300U);
    EXPECT_TRUE(simulated::capsLockOn());
    EXPECT_TRUE(simulated::keysDown().empty());
    EXPECT_EQ(simulated::activations().size(), 4U) << "no relocation between bytes";
}

TEST_F(TextTypingTest, AnInjectionThatGoesInOnlyInPartFailsLeavingNoKeyDownAndCapsLockBack) {
    simulated::setCapsLock(true);
    simulated::limitSendInput(3);  // Caps Lock taps go whole, "A" loses its Shift release
    EXPECT_FALSE(type("Ab"));
    EXPECT_EQ(errorText(), u"Wedge error: 29 with message: The system cannot write to the specified device.\r\n");
    EXPECT_EQ(simulated::receivedText(target), u"A");
    EXPECT_TRUE(simulated::keysDown().empty());
    EXPECT_TRUE(simulated::capsLockOn());
}

TEST_F(TextTypingTest, ACapsLockTapCutShortStillHasCapsLockBackOnAndNoKeyDown) {
    simulated::setCapsLock(true);
    simulated::limitSendInput(1);  // every tap loses its release
    EXPECT_FALSE(type("a"));
    EXPECT_EQ(errorText(), u"Wedge error: 29 with message: The system cannot write to the specified device.\r\n");
    EXPECT_EQ(simulated::receivedText(target), u"");
    EXPECT_TRUE(simulated::capsLockOn());
    EXPECT_TRUE(simulated::keysDown().empty());
}

TEST_F(TextTypingTest, ModifiersHeldByThePersonAreLetUpBeforeEveryByteAndNeverPressedAgain) {
    // A held key repeats: let up before one byte, it is down again by the next.
    simulated::repeatHeldKey(VkControl);
    simulated::holdKey(VkControl, true);
    ASSERT_TRUE(type("ab12"));
    EXPECT_EQ(simulated::receivedText(target), u"ab12");
    size_t controlPresses = 0;
    for (const Key& key : injectedKeys()) {
        controlPresses += key == press(VkControl) || key == press(platform::VkLeftControl) ? 1U : 0U;
    }
    EXPECT_EQ(controlPresses, 0U);
}

TEST_F(TextTypingTest, AltAndWindowsAreLetUpBehindAKeyWithoutFunctionSoNoMenuOpens) {
    simulated::holdKey(platform::VkRightMenu, true);
    simulated::holdKey(platform::VkLeftWindows, true);
    ASSERT_TRUE(type("a"));
    const uint16_t mask = platform::maskKeyForRelease(platform::VkRightMenu);
    ASSERT_NE(mask, 0);
    EXPECT_EQ(injectedKeys(), (std::vector<Key>{press(mask), release(mask), release(platform::VkRightMenu),
                                                release(platform::VkLeftWindows), press('A'), release('A')}));
    EXPECT_EQ(simulated::injectionCount(), 1U) << "one injection: no other input between the releases and the key";
    EXPECT_EQ(simulated::menuOpenings(), 0U);
    EXPECT_EQ(simulated::receivedText(target), u"a");
}

TEST_F(TextTypingTest, KeysAreLookedUpInTheTargetsLayoutNotTheCallers) {
    simulated::closeWindow(target);
    const WindowHandle german = simulated::openWindow({u"Point of sale", true, false, true, false,
                                                       simulated::Layout::AltGraph});
    ASSERT_TRUE(type("a@{"));
    EXPECT_EQ(simulated::receivedText(german), u"a@{");
}

TEST_F(TextTypingTest, AnElevatedTargetFailsWithAccessDeniedBeforeAnything) {
    simulated::closeWindow(target);
    simulated::openWindow({u"Point of sale", true, false, true, true});
    EXPECT_FALSE(type("abc"));
    EXPECT_EQ(errorText(), AccessDenied);
    EXPECT_TRUE(injectedKeys().empty());
    EXPECT_EQ(simulated::nowMs(), 0U);
}

TEST_F(TextTypingTest, TheScanLockCoversTheWholeScanAndIsLetGoWhicheverWayItEnds) {
    simulated::setCapsLock(true);
    ASSERT_TRUE(type("a\tB"));
    for (const auto& event : simulated::injectedEvents()) {
        EXPECT_TRUE(event.underScanLock);
    }
    for (const auto& activation : simulated::activations()) {
        EXPECT_TRUE(activation.underScanLock);
    }
    EXPECT_FALSE(simulated::scanLockHeld());

    simulated::failSendInput(5, 1);
    EXPECT_FALSE(type("a"));
    simulated::refuseActivationAfter(target, 1);
    EXPECT_FALSE(type("a"));
    EXPECT_FALSE(simulated::scanLockHeld());
    EXPECT_EQ(simulated::scanLockAcquisitions(), 3U);
}

TEST_F(TextTypingTest, AScanLockThatCannotBeHadFailsBeforeAnyActivation) {
    simulated::failScanLock(5);
    EXPECT_FALSE(type("a"));
    EXPECT_EQ(errorText(), AccessDenied);
    EXPECT_TRUE(simulated::activations().empty());
}

TEST_F(TextTypingTest, ATargetThatCannotBeActivatedIsFoundAgainByTitle) {
    simulated::closeWindow(target);
    const WindowHandle reopened = simulated::openWindow({u"Point of sale"});
    ASSERT_TRUE(type("ok"));
    EXPECT_EQ(catalogue::targetWindow(), reopened);
    EXPECT_EQ(simulated::receivedText(reopened), u"ok");
    EXPECT_NE(catalogue::currentWindowList(), nullptr) << "the relocation's list stays current";
}

TEST_F(TextTypingTest, ARelocatedTargetIsRestoredWhenMinimised) {
    simulated::closeWindow(target);
    const WindowHandle reopened = simulated::openWindow({u"Point of sale", true, true});
    ASSERT_TRUE(type("a"));
    EXPECT_EQ(simulated::restorations(), std::vector<WindowHandle>{reopened});
}

TEST_F(TextTypingTest, FailsWhenNoWindowHasTheTitle) {
    simulated::closeWindow(target);
    EXPECT_FALSE(type("a"));
    EXPECT_EQ(errorText(), u"Selected window is no longer available");
    EXPECT_EQ(catalogue::targetWindow(), target);
    EXPECT_TRUE(injectedKeys().empty());
    EXPECT_EQ(simulated::nowMs(), 0U);
}

TEST_F(TextTypingTest, FailsWhenTheWindowFoundAgainRefusesActivationToo) {
    simulated::setAcceptsActivation(target, false);
    EXPECT_FALSE(type("a"));
    EXPECT_EQ(errorText(), u"Selected window is no longer available");
    EXPECT_TRUE(injectedKeys().empty());
}

}  // namespace
}  // namespace wedge::testing
