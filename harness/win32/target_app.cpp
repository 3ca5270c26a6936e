#include "target_app.h"

#include "polling.h"
#include "target_protocol.h"
#include "test_files.h"

#include <utility>

namespace wedge_test {
namespace {

struct WindowSearch {
    DWORD processId;
    bool (*matches)(HWND window, const std::wstring& title);
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

bool isVisible(HWND window, const std::wstring& /*title*/) { return IsWindowVisible(window) != FALSE; }

BOOL CALLBACK collectWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && search->matches(window, search->title)) {
        search->found.push_back(window);
    }
    return TRUE;
}

// The process's top-level windows that match, in the desktop's order.
std::vector<HWND> windowsOf(DWORD processId, bool (*matches)(HWND, const std::wstring&), std::wstring title) {
    WindowSearch search{processId, matches, std::move(title), {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
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
    return windowsOf(
        processId_,
        [](HWND window, const std::wstring& wanted) { return isFrame(window) && titleOf(window) == wanted; }, title);
}

std::vector<HWND> TargetApp::untitledVisibleFrames() const {
    return windowsOf(
        processId_,
        [](HWND window, const std::wstring&) {
            return isFrame(window) && IsWindowVisible(window) != FALSE && titleOf(window).empty();
        },
        L"");
}

size_t TargetApp::waitForVisibleWindows(size_t count, DWORD timeoutMs) const {
    size_t visible = 0;
    waitUntil(
        [&] {
            visible = windowsOf(processId_, isVisible, L"").size();
            return visible >= count;
        },
        timeoutMs);
    return visible;
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

void clearEdit(HWND frame) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(editOf(frame), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 2000,
                        &result);
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
