// bench_target.exe, started beside the running benchmark as a process of
// its own, and the windows it shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wedge_bench {

class TargetProcess {
public:
    // Arguments as bench_target.cpp describes them.
    explicit TargetProcess(const std::vector<std::wstring>& arguments);
    ~TargetProcess();
    TargetProcess(const TargetProcess&) = delete;
    TargetProcess& operator=(const TargetProcess&) = delete;

    bool started() const { return process_ != nullptr; }

    // The process's visible top-level windows, once there are at least
    // `count` of them; fewer when they do not all appear within timeoutMs.
    std::vector<HWND> waitForVisibleWindows(size_t count, DWORD timeoutMs) const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// The directory of the running program, with a trailing separator.
std::wstring programFolder();

}  // namespace wedge_bench
