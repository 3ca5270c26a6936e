#include "notepad.h"

#include "polling.h"

namespace wedge_test {
namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findShownWindowOf(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) != FALSE && GetParent(window) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

Notepad::Notepad() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    wchar_t commandLine[] = L"notepad.exe";
    if (CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started) ==
        FALSE) {
        return;
    }
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    Search search{started.dwProcessId, nullptr};
    waitUntil([&] {
        EnumWindows(findShownWindowOf, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr && FindWindowExW(search.found, nullptr, L"Edit", nullptr) != nullptr;
    });
    window_ = search.found;
}

Notepad::~Notepad() { kill(); }

std::wstring Notepad::text() const {
    const HWND edit = window_ != nullptr ? FindWindowExW(window_, nullptr, L"Edit", nullptr) : nullptr;
    if (edit == nullptr) {
        return L"";
    }
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutW(edit, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                            &copied) == 0) {
        return L"";
    }
    return std::wstring(text, copied);
}

std::wstring Notepad::waitForText(const std::wstring& expected) const {
    std::wstring held;
    waitUntil([&] {
        held = text();
        return held == expected;
    });
    return held;
}

void Notepad::kill() {
    if (process_ == nullptr) {
        return;
    }
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 10000);
    CloseHandle(process_);
    process_ = nullptr;
    // Its window goes with it; waiting here keeps a closed window from
    // being listed by the next step.
    const HWND gone = window_;
    waitUntil([gone] { return IsWindow(gone) == FALSE; });
    window_ = nullptr;
}

}  // namespace wedge_test
