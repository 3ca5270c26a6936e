#include "target_app.h"

#include "polling.h"
#include "target_protocol.h"
#include "test_files.h"

#include <utility>

namespace wedge_test {
namespace {

struct FrameSearch {
    DWORD processId;
    bool (*matches)(HWND frame, const std::wstring& title);
    std::wstring title;
    std::vector<HWND> found;
};

std::wstring titleOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, title.data(), length + 1);
    title.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return title;
}

bool isFrame(HWND window) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    return std::wstring(className) == wedge_target::FrameClass;
}

BOOL CALLBACK collectFrame(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<FrameSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && isFrame(window) && search->matches(window, search->title)) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> framesOf(DWORD processId, bool (*matches)(HWND, const std::wstring&), std::wstring title) {
    FrameSearch search{processId, matches, std::move(title), {}};
    EnumWindows(collectFrame, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring quoted(const std::wstring& argument) { return L"\"" + argument + L"\""; }

}  // namespace

std::wstring uniqueTitle(const std::wstring& purpose) {
    static int counter = 0;
    return L"Wedge target " + purpose + L" " + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
}

TargetApp::TargetApp(const std::vector<std::wstring>& windows) {
    std::wstring commandLine = quoted(targetProgramPath());
    for (const std::wstring& window : windows) {
        commandLine += L" " + quoted(window);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(targetProgramPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    WaitForInputIdle(process_, DefaultWaitMs);
}

TargetApp::~TargetApp() {
    terminate();
    if (process_ != nullptr) {
        CloseHandle(process_);
    }
}

HWND TargetApp::waitForFrame(const std::wstring& title) const {
    HWND frame = nullptr;
    waitUntil([&] {
        for (const HWND candidate : framesTitled(title)) {
            if (IsWindowVisible(candidate)) {
                frame = candidate;
                return true;
            }
        }
        return false;
    });
    return frame;
}

std::vector<HWND> TargetApp::framesTitled(const std::wstring& title) const {
    return framesOf(
        processId_, [](HWND frame, const std::wstring& wanted) { return titleOf(frame) == wanted; }, title);
}

std::vector<HWND> TargetApp::untitledVisibleFrames() const {
    return framesOf(
        processId_,
        [](HWND frame, const std::wstring&) { return IsWindowVisible(frame) != FALSE && titleOf(frame).empty(); },
        L"");
}

void TargetApp::terminate() {
    if (process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, DefaultWaitMs);
    }
}

HWND editOf(HWND frame) { return GetDlgItem(frame, wedge_target::EditId); }

std::wstring editText(HWND frame) {
    const HWND edit = editOf(frame);
    if (edit == nullptr) {
        return L"";
    }
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    // WM_GETTEXT is marshalled across processes; the timeout keeps a hung
    // target from hanging the test.
    if (!SendMessageTimeoutW(edit, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                             &copied)) {
        return L"";
    }
    return std::wstring(text, copied);
}

std::wstring waitForEditText(HWND frame, const std::wstring& expected) {
    std::wstring text;
    waitUntil([&] {
        text = editText(frame);
        return text == expected;
    });
    return text;
}

HWND reopenFrame(const TargetApp& app, HWND frame, const std::wstring& title) {
    PostMessageW(frame, wedge_target::ReopenMessage, 0, 0);
    HWND reopened = nullptr;
    waitUntil([&] {
        const std::vector<HWND> frames = app.framesTitled(title);
        reopened = frames.size() == 1 && frames.front() != frame && IsWindow(frame) == FALSE ? frames.front()
                                                                                              : nullptr;
        return reopened != nullptr;
    });
    return reopened;
}

}  // namespace wedge_test
