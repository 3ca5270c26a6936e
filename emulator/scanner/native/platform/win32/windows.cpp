// The window and error-text operations as thin calls into user32
// and kernel32.
#include "platform/win32/windows_api.h"
#include "platform/win32/handles.h"

namespace wedge::platform {
namespace {

LPWSTR asWide(char16_t* text) { return reinterpret_cast<LPWSTR>(text); }

struct Enumeration {
    HandleVisitor visit;
    intptr_t value;
};

BOOL CALLBACK forwardWindow(HWND window, LPARAM context) {
    const auto* enumeration = reinterpret_cast<const Enumeration*>(context);
    return enumeration->visit(window, enumeration->value) ? TRUE : FALSE;
}

}  // namespace

bool enumWindows(HandleVisitor visit, intptr_t value) {
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

// Asked before every byte: a window already in front is left as it is,
// which costs the system less than asking it to bring it to the front.
bool setForegroundWindow(WindowHandle window) {
    return GetForegroundWindow() == asHwnd(window) || SetForegroundWindow(asHwnd(window)) != FALSE;
}

bool openIcon(WindowHandle window) { return OpenIcon(asHwnd(window)) != FALSE; }

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
