// The desktop operations on X11 for windows, activation and errors;
// keys_x11.cpp has the keyboard, pause_x11.cpp the pauses.
#include "platform/desktop.h"

#include "platform/x11/utf8_text.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/errors.h"
#include "platform/x11/x_windows.h"


namespace wedge::platform {
namespace {

using x11::Connection;

constexpr int32_t TitleUnits = 100;

// Set when a window manager answered at the latest listing or scan start.
bool managed_ = false;
// A scan may bring its target to the front until it has typed a key;
// after that the target losing the keyboard ends the scan.
bool mayActivate_ = true;

struct TitleCache {
    WindowHandle window;
    char16_t units[TitleUnits];
    int32_t length;
};
TitleCache title_ = {};

Window asWindow(WindowHandle window) { return static_cast<Window>(reinterpret_cast<uintptr_t>(window)); }
WindowHandle asHandle(Window window) { return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(window)); }

struct Visit {
    WindowVisitor visit;
    intptr_t value;
};
Visit visit_ = {};
// The window a listing is visiting: the listing has found it shown, and
// its title, once read, is read for this visit only.
WindowHandle visiting_ = nullptr;

bool forwardWindow(Window window, intptr_t /*value*/) {
    visiting_ = asHandle(window);
    title_.window = nullptr;
    const bool more = visit_.visit(visiting_, visit_.value);
    visiting_ = nullptr;
    return more;
}

}  // namespace

bool enumWindows(WindowVisitor visit, intptr_t value) {
    const Connection* c = x11::connection();
    if (c == nullptr) {
        return false;
    }
    managed_ = x11::windowManagerRunning(*c);
    title_.window = nullptr;
    const Visit outer = visit_;
    visit_ = {visit, value};
    const bool listed = x11::forEachTopLevel(*c, forwardWindow, 0);
    visit_ = outer;
    x11::discardEvents(*c);
    return listed;
}

bool getWindowStyle(WindowHandle window, uint32_t* style) {
    if (window != nullptr && window == visiting_) {
        // Listing needs only what the listing itself established.
        *style = StyleVisible;
        return true;
    }
    const Connection* c = x11::connection();
    if (c == nullptr || !x11::windowExists(*c, asWindow(window))) {
        return false;
    }
    *style = 0;
    if (x11::isShown(*c, asWindow(window), managed_)) {
        *style |= StyleVisible;
    }
    if (managed_ && x11::isMinimised(*c, asWindow(window))) {
        *style |= StyleMinimised;
    }
    return true;
}

int32_t getWindowTextLength(WindowHandle window) {
    if (window != nullptr && window == visiting_ && title_.window == window) {
        return title_.length;
    }
    const Connection* c = x11::connection();
    if (c == nullptr) {
        return 0;
    }
    title_.window = window;
    title_.length = x11::readTitle(*c, asWindow(window), title_.units, TitleUnits);
    return title_.length;
}

int32_t getWindowText(WindowHandle window, char16_t* buffer, int32_t capacity) {
    if (capacity <= 0) {
        return 0;
    }
    if (title_.window != window) {
        getWindowTextLength(window);
    }
    int32_t copied = 0;
    for (; copied < capacity - 1 && copied < title_.length && copied < TitleUnits; ++copied) {
        buffer[copied] = title_.units[copied];
    }
    buffer[copied] = 0;
    return copied;
}

bool isWindow(WindowHandle window) {
    const Connection* c = x11::connection();
    return c != nullptr && window != nullptr && x11::windowExists(*c, asWindow(window));
}

bool setForegroundWindow(WindowHandle window) {
    const Connection* c = x11::connection();
    if (c == nullptr || window == nullptr) {
        return false;
    }
    // Mid-scan, asked before every byte, only where the keys go matters:
    // the focus, which moves before the window manager's word on the
    // active window follows. If it went elsewhere, taking it back would
    // type the rest of the scan into a window the user has just moved to.
    if (!mayActivate_) {
        return x11::focusInside(*c, asWindow(window));
    }
    return x11::hasKeyboard(*c, asWindow(window), managed_) || x11::activate(*c, asWindow(window), managed_);
}

bool openIcon(WindowHandle window) {
    const Connection* c = x11::connection();
    return c != nullptr && x11::restore(*c, asWindow(window));
}

uint32_t getLastError() { return x11::errorCode(); }

void setLastError(uint32_t code) { x11::setErrorCode(code); }

int32_t systemMessage(uint32_t code, char16_t* text, int32_t capacity) {
    if (capacity <= 0) {
        return 0;
    }
    const char* utf8 = x11::errorTextFor(code);
    size_t bytes = 0;
    while (utf8[bytes] != 0) {
        ++bytes;
    }
    int32_t units = x11::utf8ToUtf16(reinterpret_cast<const unsigned char*>(utf8), bytes, text, capacity - 1);
    if (units > capacity - 1) {
        units = capacity - 1;
    }
    text[units] = 0;
    return units;
}

bool desktopReachable() { return x11::connection() != nullptr; }

bool canSendInputTo(WindowHandle /*window*/) {
    // X delivers XTest's keys to whichever client has the focus.
    return true;
}

}  // namespace wedge::platform

namespace wedge::x11 {

void scanStarted(const Connection& c) {
    platform::managed_ = windowManagerRunning(c);
    platform::mayActivate_ = true;
}

void keysTyped() { platform::mayActivate_ = false; }

void scanEnded() { platform::mayActivate_ = true; }

}  // namespace wedge::x11
