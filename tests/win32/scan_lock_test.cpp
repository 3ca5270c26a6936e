// Scans typed by several processes at once, each through its own copy of
// the DLL: the desktop-wide scan lock lets one scan type at a time, and a
// lock whose holder was killed does not block the next scan.
#include "key_event_recorder.h"
#include "keyboard_state.h"
#include "polling.h"
#include "target_app.h"
#include "test_files.h"
#include "wedge_natives.h"
#include "wide_text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace wedge_test {
namespace {

// An event that both sides open by name.
class NamedEvent {
public:
    explicit NamedEvent(const std::wstring& purpose)
        : name_(L"Local\\wedge-test-" + purpose + L"-" + std::to_wstring(GetCurrentProcessId())),
          handle_(CreateEventW(nullptr, TRUE, FALSE, name_.c_str())) {}
    ~NamedEvent() { CloseHandle(handle_); }
    NamedEvent(const NamedEvent&) = delete;
    NamedEvent& operator=(const NamedEvent&) = delete;

    const std::wstring& name() const { return name_; }
    HANDLE handle() const { return handle_; }

private:
    std::wstring name_;
    HANDLE handle_;
};

// wedge_scan_process.exe, typing one scan into the window with the title.
class ScanProcess {
public:
    ScanProcess(const std::wstring& title, const std::string& text, const std::wstring& purpose, const NamedEvent& go)
        : ready_(purpose) {
        const std::wstring program = programDirectory() + L"wedge_scan_process.exe";
        std::wstring commandLine = L"\"" + program + L"\" \"" + title + L"\" \"" +
                                   std::wstring(text.begin(), text.end()) + L"\" " + ready_.name() + L" " +
                                   go.name();
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &started) != FALSE) {
            CloseHandle(started.hThread);
            process_ = started.hProcess;
        }
    }
    ~ScanProcess() {
        kill();
        if (process_ != nullptr) {
            CloseHandle(process_);
        }
    }
    ScanProcess(const ScanProcess&) = delete;
    ScanProcess& operator=(const ScanProcess&) = delete;

    // True once it has chosen its target and waits to type.
    bool waitUntilReady() const {
        return process_ != nullptr && WaitForSingleObject(ready_.handle(), DefaultWaitMs) == WAIT_OBJECT_0;
    }

    // Its exit status, or STILL_ACTIVE when it has not ended in time.
    DWORD waitForExit(DWORD timeoutMs) const {
        DWORD status = STILL_ACTIVE;
        if (WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process_, &status);
        }
        return status;
    }

    void kill() {
        if (process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 9);
            WaitForSingleObject(process_, DefaultWaitMs);
        }
    }

private:
    NamedEvent ready_;
    HANDLE process_ = nullptr;
};

class ScanLock : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setCapsLock(false));
        ASSERT_TRUE(app.started());
        letterFrame = app.waitForFrame(letterTitle);
        digitFrame = app.waitForFrame(digitTitle);
        ASSERT_NE(letterFrame, nullptr);
        ASSERT_NE(digitFrame, nullptr);
    }

    std::wstring letterTitle = uniqueTitle(L"letters");
    std::wstring digitTitle = uniqueTitle(L"digits");
    TargetApp app{{L"frame=" + letterTitle, L"frame=" + digitTitle}};
    HWND letterFrame = nullptr;
    HWND digitFrame = nullptr;
    NamedEvent go{L"go"};
};

TEST_F(ScanLock, ScansOfTwoProcessesStartedTogetherArriveWholeOneAfterTheOther) {
    const std::string letters = "abcdefghijabcdefghij";
    const std::string digits = "01234567890123456789";
    KeyEventRecorder recorder;
    ASSERT_TRUE(recorder.installed());
    ScanProcess first(letterTitle, letters, L"first", go);
    ScanProcess second(digitTitle, digits, L"second", go);
    ASSERT_TRUE(first.waitUntilReady());
    ASSERT_TRUE(second.waitUntilReady());

    SetEvent(go.handle());
    EXPECT_EQ(first.waitForExit(20000), 0u);
    EXPECT_EQ(second.waitForExit(20000), 0u);

    const std::wstring wideLetters(letters.begin(), letters.end());
    const std::wstring wideDigits(digits.begin(), digits.end());
    EXPECT_EQ(waitForEditText(letterFrame, wideLetters), wideLetters);
    EXPECT_EQ(waitForEditText(digitFrame, wideDigits), wideDigits);
    // Every key of one scan comes before every key of the other.
    std::string order;
    for (const RecordedKey& event : recorder.events()) {
        if (event.injected() && !event.released()) {
            const bool letter = event.virtualKey >= 'A' && event.virtualKey <= 'Z';
            const bool digit = event.virtualKey >= '0' && event.virtualKey <= '9';
            if ((letter || digit) && (order.empty() || order.back() != (letter ? 'L' : 'D'))) {
                order.push_back(letter ? 'L' : 'D');
            }
        }
    }
    EXPECT_TRUE(order == "LD" || order == "DL") << "the scans took turns: " << order;
}

TEST_F(ScanLock, AScanWhoseProcessWasKilledMidwayDoesNotBlockTheNext) {
    ScanProcess killed(letterTitle, std::string(200, 'x'), L"killed", go);
    ASSERT_TRUE(killed.waitUntilReady());
    SetEvent(go.handle());
    ASSERT_TRUE(waitUntil([&] { return !editText(letterFrame).empty(); }));
    killed.kill();

    WedgeNatives natives;
    ASSERT_TRUE(natives.ready());
    ASSERT_TRUE(natives.chooseTarget(toU16(digitTitle)));
    std::atomic<bool> done{false};
    bool typed = false;
    std::thread next([&] {
        typed = natives.sendText(bytesOf("ok"));
        done = true;
    });
    if (!waitUntil([&] { return done.load(); })) {
        next.detach();
        FAIL() << "the next scan still waits for the killed process's lock";
    }
    next.join();
    EXPECT_TRUE(typed);
    EXPECT_EQ(waitForEditText(digitFrame, L"ok"), L"ok");
    EXPECT_EQ(keysHeldDown(), std::vector<int>{});
}

}  // namespace
}  // namespace wedge_test
