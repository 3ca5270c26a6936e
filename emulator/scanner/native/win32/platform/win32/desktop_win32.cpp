// The desktop operations as thin calls into user32 and kernel32.
#include "platform/desktop.h"

#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is wchar_t on Windows");

namespace wedge::platform {
namespace {

HWND asHwnd(WindowHandle window) { return static_cast<HWND>(window); }

LPWSTR asWide(char16_t* text) { return reinterpret_cast<LPWSTR>(text); }

struct Enumeration {
    WindowVisitor visit;
    intptr_t value;
};

BOOL CALLBACK forwardWindow(HWND window, LPARAM context) {
    const auto* enumeration = reinterpret_cast<const Enumeration*>(context);
    return enumeration->visit(window, enumeration->value) ? TRUE : FALSE;
}

}  // namespace

bool enumWindows(WindowVisitor visit, intptr_t value) {
    Enumeration enumeration{visit, value};
    return EnumWindows(forwardWindow, reinterpret_cast<LPARAM>(&enumeration)) != FALSE;
}

bool getWindowStyle(WindowHandle window, uint32_t* style) {
    WINDOWINFO info{};
    info.cbSize = sizeof(WINDOWINFO);
    if (!GetWindowInfo(asHwnd(window), &info)) {
        return false;
    }
    *style = info.dwStyle;
    return true;
}

int32_t getWindowTextLength(WindowHandle window) { return GetWindowTextLengthW(asHwnd(window)); }

int32_t getWindowText(WindowHandle window, char16_t* buffer, int32_t capacity) {
    return GetWindowTextW(asHwnd(window), asWide(buffer), capacity);
}

bool isWindow(WindowHandle window) { return IsWindow(asHwnd(window)) != FALSE; }

bool setForegroundWindow(WindowHandle window) { return SetForegroundWindow(asHwnd(window)) != FALSE; }

bool openIcon(WindowHandle window) { return OpenIcon(asHwnd(window)) != FALSE; }

int16_t getKeyState(int32_t virtualKey) { return GetKeyState(virtualKey); }

int16_t vkKeyScan(char16_t character) { return VkKeyScanW(static_cast<WCHAR>(character)); }

uint32_t scanCodeOf(uint32_t virtualKey) { return MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC); }

uint32_t sendInput(const KeyboardEvent* events, uint32_t count) {
    if (count > MaxEventsPerInjection) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    INPUT inputs[MaxEventsPerInjection] = {};
    for (uint32_t i = 0; i < count; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = events[i].virtualKey;
        inputs[i].ki.wScan = events[i].scanCode;
        inputs[i].ki.dwFlags = events[i].flags;
    }
    return SendInput(count, inputs, sizeof(INPUT));
}

void sleepMs(uint32_t milliseconds) { Sleep(milliseconds); }

// user32 needs no preparation for typing.
bool beginScan() { return true; }
void endScan() {}

uint32_t getLastError() { return GetLastError(); }

void setLastError(uint32_t code) { SetLastError(code); }

int32_t systemMessage(uint32_t code, char16_t* text, int32_t capacity) {
    LPWSTR buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    int32_t copied = 0;
    if (length > 0 && buffer != nullptr) {
        while (copied < capacity - 1 && static_cast<DWORD>(copied) < length) {
            text[copied] = static_cast<char16_t>(buffer[copied]);
            ++copied;
        }
    }
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    if (capacity > 0) {
        text[copied] = 0;
    }
    return copied;
}

}  // namespace wedge::platform
