// The target application (wedge_target.exe) run as a separate process,
// and what a test reads back from its windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wedge_test {

// A title no other window on the desktop has: the purpose, this process's
// id and a running number.
std::wstring uniqueTitle(const std::wstring& purpose);

class TargetApp {
public:
    // Starts the target with these window requests (see wedge_target.cpp),
    // e.g. L"frame=" + title.
    explicit TargetApp(const std::vector<std::wstring>& windows);
    // Terminates the process if it still runs.
    ~TargetApp();
    TargetApp(const TargetApp&) = delete;
    TargetApp& operator=(const TargetApp&) = delete;

    bool started() const { return process_ != nullptr; }

    // The process's visible top-level frame with this exact title, waited
    // for; null when none is shown in time.
    HWND waitForFrame(const std::wstring& title) const;
    // All of the process's top-level frames with this exact title, now.
    std::vector<HWND> framesTitled(const std::wstring& title) const;
    // The process's visible top-level frames with an empty title, now.
    std::vector<HWND> untitledVisibleFrames() const;
    // How many of the process's top-level windows, of any kind, are
    // visible: once at least `count` are, or when timeoutMs is up.
    size_t waitForVisibleWindows(size_t count, DWORD timeoutMs) const;

    // Kills the process, as a crash would: no window is closed first.
    // Returns once the process is gone.
    void terminate();

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

HWND editOf(HWND frame);

// The edit's text, read across processes; empty when it cannot be read.
std::wstring editText(HWND frame);

// Empties the edit, across processes.
void clearEdit(HWND frame);

// Waits until the edit holds exactly the text; answers the text it holds.
std::wstring waitForEditText(HWND frame, const std::wstring& expected);

// Asks the frame to close and open a new frame with the same title, and
// waits for the new one; null when it does not appear in time.
HWND reopenFrame(const TargetApp& app, HWND frame, const std::wstring& title);

}  // namespace wedge_test
