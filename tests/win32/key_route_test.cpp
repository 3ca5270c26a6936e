// The keyboard events behind the bytes that are not typed through the
// layout, as a low-level keyboard hook sees them: Tab by scan code, held;
// bytes above 127 as Alt + numeric keypad codes by scan code.
//
// Wine delivers scan-code events to hooks with virtual key 0 and types
// no character for them, so these checks look at the events rather than at
// the target's text. The scan codes expected are the PC keyboard's own,
// written out here: Wine's MapVirtualKeyW answers 0 for the keypad keys,
// and a library that sent those zeros would type nothing anywhere.
#include "keyboard_state.h"
#include "polling.h"
#include "recorded_target.h"

#include <gtest/gtest.h>

#include <vector>

namespace wedge_test {
namespace {

// The hold is measured with the events' millisecond time stamps, which
// may round the 100 ms down by a tick.
constexpr DWORD MinimumTabHoldMs = 99;

struct ExpectedKey {
    DWORD scanCode;
    bool released;
};

constexpr DWORD TabScanCode = 0x0F;
constexpr DWORD AltScanCode = 0x38;
// Keypad 0 to 9.
constexpr DWORD KeypadScanCodes[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};

std::vector<RecordedKey> injectedOnly(const std::vector<RecordedKey>& events) {
    std::vector<RecordedKey> injected;
    for (const RecordedKey& event : events) {
        if (event.injected()) {
            injected.push_back(event);
        }
    }
    return injected;
}

class KeyRoute : public RecordedTarget {
protected:
    // Types the bytes and answers the injected events the hook saw, once
    // the expected number of them has arrived (or the wait ran out).
    std::vector<RecordedKey> eventsFor(const std::vector<uint8_t>& bytes, size_t expectedEvents) {
        recorder.clear();
        EXPECT_TRUE(natives.sendText(bytes));
        std::vector<RecordedKey> events;
        waitUntil([&] {
            events = injectedOnly(recorder.events());
            return events.size() >= expectedEvents;
        });
        return events;
    }

    static void expectKeys(const std::vector<RecordedKey>& events, const std::vector<ExpectedKey>& expected) {
        ASSERT_EQ(events.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "event " << i);
            EXPECT_EQ(events[i].scanCode, expected[i].scanCode);
            EXPECT_EQ(events[i].released(), expected[i].released);
            EXPECT_TRUE(events[i].injected());
        }
    }
};

TEST_F(KeyRoute, TabIsPressedHeldAndReleasedByScanCode) {
    const std::vector<RecordedKey> events = eventsFor({9}, 2);
    expectKeys(events, {{TabScanCode, false}, {TabScanCode, true}});
    ASSERT_EQ(events.size(), 2u);
    EXPECT_GE(events[1].time - events[0].time, MinimumTabHoldMs);
}

TEST_F(KeyRoute, ByteAbove127IsAnAltCodeWithLeadingZero) {
    // 0xE9 is é in Windows-1252: Alt, keypad 0 2 3 3, Alt released.
    const std::vector<RecordedKey> events = eventsFor({0xE9}, 10);
    std::vector<ExpectedKey> expected = {{AltScanCode, false}};
    for (const size_t digit : {0u, 2u, 3u, 3u}) {
        expected.push_back({KeypadScanCodes[digit], false});
        expected.push_back({KeypadScanCodes[digit], true});
    }
    expected.push_back({AltScanCode, true});
    expectKeys(events, expected);
}

TEST_F(KeyRoute, AltCodesOfTheSmallestAndLargestBytesSpellTheirDigits) {
    // 128 and 255: every digit position carries its own value.
    const std::vector<RecordedKey> events = eventsFor({128, 255}, 20);
    std::vector<ExpectedKey> expected;
    for (const auto& digits : {std::vector<size_t>{0, 1, 2, 8}, std::vector<size_t>{0, 2, 5, 5}}) {
        expected.push_back({AltScanCode, false});
        for (const size_t digit : digits) {
            expected.push_back({KeypadScanCodes[digit], false});
            expected.push_back({KeypadScanCodes[digit], true});
        }
        expected.push_back({AltScanCode, true});
    }
    expectKeys(events, expected);
}

TEST_F(KeyRoute, PrintableCharacterIsOneKeyTapByVirtualKey) {
    // 'A' needs Shift: Shift down, A down, A up, Shift up.
    const std::vector<RecordedKey> events = eventsFor(bytesOf("A"), 4);
    ASSERT_EQ(events.size(), 4u);
    const DWORD expectedKeys[] = {VK_SHIFT, 'A', 'A', VK_SHIFT};
    const bool expectedReleases[] = {false, false, true, true};
    for (size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "event " << i);
        EXPECT_TRUE(events[i].is(expectedKeys[i])) << events[i].virtualKey;
        EXPECT_EQ(events[i].released(), expectedReleases[i]);
    }
    EXPECT_EQ(waitForEditText(frame, L"A"), L"A");
}

TEST_F(KeyRoute, NoKeyIsLeftDownAfterAnyRoute) {
    const std::vector<RecordedKey> events = eventsFor({'x', 9, 0xE9, 13}, 2 + 2 + 10 + 2);
    size_t presses = 0;
    size_t releases = 0;
    for (const RecordedKey& event : events) {
        (event.released() ? releases : presses) += 1;
    }
    EXPECT_EQ(presses, releases);
    EXPECT_EQ(keysHeldDown(), std::vector<int>{});
}

}  // namespace
}  // namespace wedge_test
