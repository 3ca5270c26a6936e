// Scans typed into Wine's Notepad, through the DLL's exports, as a Java
// program would type them into any application.
#include "key_event_recorder.h"
#include "keyboard_state.h"
#include "notepad.h"
#include "polling.h"
#include "wedge_natives.h"
#include "wide_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace wedge_test {
namespace {

class NotepadScans : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(natives.ready());
        ASSERT_NE(notepad.window(), nullptr) << "Notepad did not start";
        ASSERT_TRUE(natives.chooseTarget(toU16(NotepadTitle)));
    }

    WedgeNatives natives;
    Notepad notepad;
};

// The index of the first event at or after `from` that matches.
template <typename Match>
size_t find(const std::vector<RecordedKey>& events, size_t from, Match match) {
    return static_cast<size_t>(std::find_if(events.begin() + static_cast<std::ptrdiff_t>(from), events.end(), match) -
                               events.begin());
}

TEST_F(NotepadScans, ScansArriveExactlyAndInOrder) {
    KeyEventRecorder recorder;
    ASSERT_TRUE(recorder.installed());

    // An EAN-13 code with Enter, then two fields separated by Tab.
    std::vector<uint8_t> scan = bytesOf("4006381333931\rLOT-42");
    scan.push_back(9);
    const std::vector<uint8_t> rest = bytesOf("Qty 12\r");
    scan.insert(scan.end(), rest.begin(), rest.end());
    ASSERT_TRUE(natives.sendText(scan));

    // Wine gives the Tab key, sent by scan code, no character: the fields
    // meet in the text, and the event record shows the Tab between them.
    EXPECT_EQ(notepad.waitForText(L"4006381333931\r\nLOT-42Qty 12\r\n"), L"4006381333931\r\nLOT-42Qty 12\r\n");
    const std::vector<RecordedKey> events = recorder.events();
    const size_t lastFieldKey = find(events, 0, [](const RecordedKey& key) { return key.virtualKey == '2'; });
    const size_t tab = find(events, lastFieldKey, [](const RecordedKey& key) {
        return key.scanCode == MapVirtualKeyW(VK_TAB, MAPVK_VK_TO_VSC) && !key.released();
    });
    const size_t nextField = find(events, lastFieldKey, [](const RecordedKey& key) { return key.virtualKey == 'Q'; });
    ASSERT_LT(lastFieldKey, events.size());
    ASSERT_LT(nextField, events.size());
    EXPECT_LT(tab, nextField) << "the Tab press comes between the two fields";
    EXPECT_EQ(keysHeldDown(), std::vector<int>{});
}

TEST_F(NotepadScans, AHeldAltIsLetUpBehindAKeyWithoutFunctionAndTheScanArrives) {
    // With Alt down, letters would pick menus. Let up alone, Alt opens the
    // menu bar on Windows (Wine 8 does not), so a key that does nothing is
    // tapped first: the record shows it between Alt's press and release.
    ASSERT_TRUE(holdKeyIn(notepad.window(), VK_MENU));
    KeyEventRecorder recorder;
    ASSERT_TRUE(recorder.installed());
    ASSERT_TRUE(natives.sendText(bytesOf("ab12\r")));
    EXPECT_EQ(notepad.waitForText(L"ab12\r\n"), L"ab12\r\n");
    EXPECT_EQ(keysHeldDown(), std::vector<int>{});

    const std::vector<RecordedKey> events = recorder.events();
    const size_t altUp = find(events, 0, [](const RecordedKey& key) { return key.is(VK_MENU) && key.released(); });
    const size_t firstLetter = find(events, 0, [](const RecordedKey& key) { return key.virtualKey == 'A'; });
    ASSERT_LT(altUp, events.size());
    EXPECT_LT(altUp, firstLetter) << "Alt goes up before the scan's first key";
    const size_t masked = find(events, 0, [](const RecordedKey& key) {
        return key.injected() && !key.released() && !key.is(VK_MENU) && key.virtualKey != 'A';
    });
    EXPECT_LT(masked, altUp) << "a key is pressed while Alt is still down";
    for (const RecordedKey& key : events) {
        EXPECT_FALSE(key.is(VK_MENU) && !key.released()) << "Alt was pressed again";
    }
}

TEST_F(NotepadScans, AMinimisedNotepadIsRestoredFirst) {
    ShowWindow(notepad.window(), SW_MINIMIZE);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(notepad.window()) != FALSE; }));

    ASSERT_TRUE(natives.sendText(bytesOf("restored")));
    EXPECT_FALSE(IsIconic(notepad.window()));
    EXPECT_EQ(notepad.waitForText(L"restored"), L"restored");
}

TEST_F(NotepadScans, AReopenedNotepadIsFoundAgainByItsTitle) {
    ASSERT_TRUE(natives.sendText(bytesOf("first")));
    ASSERT_EQ(notepad.waitForText(L"first"), L"first");
    notepad.kill();
    const Notepad reopened;
    ASSERT_NE(reopened.window(), nullptr);

    ASSERT_TRUE(natives.sendText(bytesOf("second")));
    EXPECT_EQ(reopened.waitForText(L"second"), L"second");
}

}  // namespace
}  // namespace wedge_test
