// Wine's own Notepad, run as a separate process: a real application that
// nobody here wrote, to type scans into.
#pragma once

#include <windows.h>

#include <string>

namespace wedge_test {

inline constexpr wchar_t NotepadTitle[] = L"Untitled - Notepad";

class Notepad {
public:
    Notepad();
    // Ends the process if it still runs.
    ~Notepad();
    Notepad(const Notepad&) = delete;
    Notepad& operator=(const Notepad&) = delete;

    // Its main window, once shown; null when it did not appear in time.
    HWND window() const { return window_; }
    // What its edit control holds, read across processes.
    std::wstring text() const;
    // Waits until the text is exactly this; answers the text it holds.
    std::wstring waitForText(const std::wstring& expected) const;

    // Ends the process as a crash would, without closing its window first.
    void kill();

private:
    HANDLE process_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace wedge_test
