#include "target_process.h"

namespace wedge_bench {
namespace {

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collectVisible(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) != FALSE) {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

TargetProcess::TargetProcess(const std::vector<std::wstring>& arguments) {
    const std::wstring program = programFolder() + L"bench_target.exe";
    std::wstring commandLine = L"\"" + program + L"\"";
    for (const std::wstring& argument : arguments) {
        commandLine += L" \"" + argument + L"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    WaitForInputIdle(process_, 10000);
}

TargetProcess::~TargetProcess() {
    if (process_ == nullptr) {
        return;
    }
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 0);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
}

std::vector<HWND> TargetProcess::waitForVisibleWindows(size_t count, DWORD timeoutMs) const {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    Search search{processId_, {}};
    for (;;) {
        search.found.clear();
        EnumWindows(collectVisible, reinterpret_cast<LPARAM>(&search));
        if (search.found.size() >= count || GetTickCount64() >= deadline) {
            return search.found;
        }
        Sleep(50);
    }
}

}  // namespace wedge_bench
