// Modifier keys that someone else holds down while a scan is typed, into
// a real window of a separate process: what arrives is exactly the scan,
// no shortcut fires, and the library never presses such a key again.
#include "keyboard_state.h"
#include "polling.h"
#include "recorded_target.h"

#include <string>
#include <vector>

namespace wedge_test {
namespace {

class HeldKeys : public RecordedTarget {
protected:
    void TearDown() override {
        for (const int key : keysHeldDown()) {
            holdKey(key, false);
        }
    }

    // Holds the key, types the scan, and checks that the library let the
    // key up (once the scan is typed, nothing is down at all) and that no
    // event of the library pressed it again.
    void typeWhileHolding(int key, const std::string& scan) {
        ASSERT_TRUE(holdKeyIn(frame, key));
        recorder.clear();
        EXPECT_TRUE(natives.sendText(bytesOf(scan)));
        EXPECT_EQ(natives.getLastErrorMessage(), std::nullopt);
        EXPECT_EQ(keysHeldDown(), std::vector<int>{});
        for (const RecordedKey& event : recorder.events()) {
            EXPECT_FALSE(event.is(static_cast<DWORD>(key)) && !event.released()) << "the held key was pressed again";
        }
    }
};

TEST_F(HeldKeys, AHeldControlTurnsNoLetterIntoAShortcut) {
    // Ctrl + A would select all, Ctrl + B and the digits nothing at all.
    typeWhileHolding(VK_CONTROL, "ab12\r");
    EXPECT_EQ(waitForEditText(frame, L"ab12\r\n"), L"ab12\r\n");
}

TEST_F(HeldKeys, AHeldShiftLeavesSmallLettersSmall) {
    typeWhileHolding(VK_SHIFT, "abc1");
    EXPECT_EQ(waitForEditText(frame, L"abc1"), L"abc1");
}

}  // namespace
}  // namespace wedge_test
