#include "keyboard_state.h"

#include "polling.h"

#include <windows.h>

namespace wedge_test {

bool capsLockOn() { return (GetKeyState(VK_CAPITAL) & 1) != 0; }

bool setCapsLock(bool on) {
    if (capsLockOn() == on) {
        return true;
    }
    INPUT tap[2] = {};
    tap[0].type = INPUT_KEYBOARD;
    tap[0].ki.wVk = VK_CAPITAL;
    tap[1].type = INPUT_KEYBOARD;
    tap[1].ki.wVk = VK_CAPITAL;
    tap[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(2, tap, sizeof(INPUT)) != 2) {
        return false;
    }
    return waitUntil([on] { return capsLockOn() == on; });
}

bool holdKey(int virtualKey, bool down) {
    INPUT event = {};
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = static_cast<WORD>(virtualKey);
    event.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    if (SendInput(1, &event, sizeof(INPUT)) != 1) {
        return false;
    }
    return waitUntil([&] { return ((GetAsyncKeyState(virtualKey) & 0x8000) != 0) == down; });
}

bool holdKeyIn(HWND window, int virtualKey) {
    SetForegroundWindow(window);
    if (!waitUntil([window] { return GetForegroundWindow() == window; })) {
        return false;
    }
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (!holdKey(virtualKey, true)) {
            return false;
        }
        Sleep(300);
        if ((GetAsyncKeyState(virtualKey) & 0x8000) != 0) {
            return true;
        }
    }
    return false;
}

std::vector<int> keysHeldDown() {
    std::vector<int> keys = {VK_CAPITAL, VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_CONTROL, VK_LCONTROL, VK_RCONTROL,
                             VK_MENU,    VK_LMENU, VK_RMENU,  VK_LWIN,   VK_RWIN,    VK_TAB,      VK_RETURN, 0xE8};
    for (int key = '0'; key <= '9'; ++key) {
        keys.push_back(key);
    }
    for (int key = 'A'; key <= 'Z'; ++key) {
        keys.push_back(key);
    }
    for (int key = VK_NUMPAD0; key <= VK_NUMPAD9; ++key) {
        keys.push_back(key);
    }
    std::vector<int> held;
    for (const int key : keys) {
        if ((GetAsyncKeyState(key) & 0x8000) != 0) {
            held.push_back(key);
        }
    }
    return held;
}

}  // namespace wedge_test
