// Typing into the edit control of a separate application through the
// DLL's sendText export, with the keyboard in the states a user leaves it.
#include "keyboard_state.h"
#include "polling.h"
#include "target_app.h"
#include "wedge_natives.h"
#include "wide_text.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <thread>
#include <vector>

namespace wedge_test {
namespace {

std::u16string systemText(DWORD code) {
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, 512, nullptr);
    return toU16(std::wstring(text, length));
}

class Typing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(natives.ready());
        ASSERT_TRUE(setCapsLock(false));
    }

    void TearDown() override { EXPECT_TRUE(setCapsLock(false)); }

    // Starts an application with one frame of this kind and makes that
    // frame the target; null when either fails.
    HWND startTarget(const std::wstring& kind, const std::wstring& title) {
        const HWND frame = apps.emplace_back(std::vector<std::wstring>{kind + L"=" + title}).waitForFrame(title);
        if (frame == nullptr || !natives.chooseTarget(toU16(title))) {
            return nullptr;
        }
        return frame;
    }

    WedgeNatives natives;
    std::deque<TargetApp> apps;
};

TEST_F(Typing, TextAndEnterArriveInTheTarget) {
    const HWND frame = startTarget(L"frame", uniqueTitle(L"hello"));
    ASSERT_NE(frame, nullptr);

    std::vector<uint8_t> scan = bytesOf("Hello, World!");
    scan.push_back(13);
    EXPECT_TRUE(natives.sendText(scan));
    EXPECT_EQ(natives.getLastErrorMessage(), std::nullopt);
    EXPECT_EQ(waitForEditText(frame, L"Hello, World!\r\n"), L"Hello, World!\r\n");
    EXPECT_EQ(keysHeldDown(), std::vector<int>{});
}

TEST_F(Typing, DroppedControlBytesTypeNothing) {
    const HWND frame = startTarget(L"frame", uniqueTitle(L"dropped"));
    ASSERT_NE(frame, nullptr);

    EXPECT_TRUE(natives.sendText({'a', 0, 27, 127, 'b'}));
    EXPECT_EQ(waitForEditText(frame, L"ab"), L"ab");
}

TEST_F(Typing, MinimisedTargetIsRestoredAndReceivesTheText) {
    const HWND frame = startTarget(L"minimised", uniqueTitle(L"minimised"));
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(IsIconic(frame));

    EXPECT_TRUE(natives.sendText(bytesOf("up")));
    EXPECT_FALSE(IsIconic(frame));
    EXPECT_EQ(waitForEditText(frame, L"up"), L"up");
}

TEST_F(Typing, CapsLockIsOffWhileTypingAndOnAgainAfter) {
    const HWND frame = startTarget(L"frame", uniqueTitle(L"caps"));
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(setCapsLock(true));

    EXPECT_TRUE(natives.sendText(bytesOf("aB1")));
    EXPECT_EQ(waitForEditText(frame, L"aB1"), L"aB1");
    EXPECT_TRUE(capsLockOn());
    EXPECT_EQ(keysHeldDown(), std::vector<int>{});
}

TEST_F(Typing, TextGoesToANewProcessWithTheTitleAfterTheTargetDied) {
    const std::wstring title = uniqueTitle(L"restarted");
    ASSERT_NE(startTarget(L"frame", title), nullptr);
    // Killed rather than closed, as a crash would end it.
    apps.back().terminate();

    TargetApp& second = apps.emplace_back(std::vector<std::wstring>{L"frame=" + title});
    const HWND frame = second.waitForFrame(title);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(natives.sendText(bytesOf("new")));
    EXPECT_EQ(natives.getLastErrorMessage(), std::nullopt);
    EXPECT_EQ(waitForEditText(frame, L"new"), L"new");
}

TEST_F(Typing, TypingStopsWhenTheTargetDiesMidway) {
    const HWND frame = startTarget(L"frame", uniqueTitle(L"dying"));
    ASSERT_NE(frame, nullptr);

    bool typed = true;
    std::thread typing([&] { typed = natives.sendText(bytesOf("abcdefgh")); });
    const bool firstArrived = waitUntil([&] { return !editText(frame).empty(); });
    apps.back().terminate();
    typing.join();

    ASSERT_TRUE(firstArrived);
    EXPECT_FALSE(typed);
    EXPECT_EQ(natives.getLastErrorMessage(), std::u16string(u"Selected window is no longer available"));
    EXPECT_EQ(keysHeldDown(), std::vector<int>{});
}

// The pauses are what keeps a slow target up with the keys: however the
// system's timer rounds, none may end early.
TEST_F(Typing, ACallLastsAtLeastItsPauses) {
    const HWND frame = startTarget(L"frame", uniqueTitle(L"paced"));
    ASSERT_NE(frame, nullptr);

    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    EXPECT_TRUE(natives.sendText({'a', 9, 'b', 'c'}));
    QueryPerformanceCounter(&end);
    // Settle, four bytes and one Tab held down.
    const double pausesMs = 200 + 4 * 50 + 100;
    EXPECT_GE(static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart),
              pausesMs);
    EXPECT_EQ(waitForEditText(frame, L"abc"), L"abc");
}

TEST_F(Typing, NullTextIsBadInput) {
    const HWND frame = startTarget(L"frame", uniqueTitle(L"null"));
    ASSERT_NE(frame, nullptr);

    EXPECT_FALSE(natives.sendNullText());
    EXPECT_EQ(natives.getLastErrorMessage(), u"Wedge error: 87 with message: " + systemText(ERROR_INVALID_PARAMETER));
    // A later success clears the message.
    EXPECT_TRUE(natives.sendText(bytesOf("k")));
    EXPECT_EQ(natives.getLastErrorMessage(), std::nullopt);
    EXPECT_EQ(waitForEditText(frame, L"k"), L"k");
}

TEST_F(Typing, WithoutTargetNothingIsTyped) {
    EXPECT_FALSE(natives.sendText(bytesOf("x")));
    EXPECT_EQ(natives.getLastErrorMessage(), std::u16string(u"Target application is not set"));
}

}  // namespace
}  // namespace wedge_test
