// Records the keyboard events the system delivers, as a low-level
// keyboard hook sees them. The hook runs on a thread of its own that pumps
// messages: SendInput waits for low-level hooks, so a hook whose thread
// does not pump would stall every injection.
#pragma once

#include <windows.h>

#include <mutex>
#include <thread>
#include <vector>

namespace wedge_test {

struct RecordedKey {
    DWORD virtualKey;
    DWORD scanCode;
    DWORD flags;  // LLKHF_*
    DWORD time;

    bool released() const { return (flags & LLKHF_UP) != 0; }
    bool injected() const { return (flags & LLKHF_INJECTED) != 0; }
    // Shift, Control and Alt reach the hook as their left or right key.
    bool is(DWORD key) const {
        switch (key) {
        case VK_SHIFT:
            return virtualKey == VK_SHIFT || virtualKey == VK_LSHIFT || virtualKey == VK_RSHIFT;
        case VK_CONTROL:
            return virtualKey == VK_CONTROL || virtualKey == VK_LCONTROL || virtualKey == VK_RCONTROL;
        case VK_MENU:
            return virtualKey == VK_MENU || virtualKey == VK_LMENU || virtualKey == VK_RMENU;
        default:
            return virtualKey == key;
        }
    }
};

// One recorder at a time: the hook procedure has no context of its own.
class KeyEventRecorder {
public:
    KeyEventRecorder();
    ~KeyEventRecorder();
    KeyEventRecorder(const KeyEventRecorder&) = delete;
    KeyEventRecorder& operator=(const KeyEventRecorder&) = delete;

    bool installed() const { return installed_; }

    // The events seen so far, in arrival order.
    std::vector<RecordedKey> events() const;
    void clear();

private:
    static LRESULT CALLBACK hookProcedure(int code, WPARAM message, LPARAM event);
    void pump(HANDLE ready);

    mutable std::mutex mutex_;
    std::vector<RecordedKey> events_;
    std::thread thread_;
    DWORD threadId_ = 0;
    bool installed_ = false;
};

}  // namespace wedge_test
