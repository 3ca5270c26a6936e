// Top-level windows on X11 in the desktop's terms: listing them with their
// state and title, and bringing the target to the front.
#include "platform/x11/operations.h"

#include "platform/x11/x_windows.h"

namespace wedge::x11 {
namespace {

using platform::WindowHandle;
using platform::WindowInfo;
using platform::WindowVisitor;

// Whether a window manager answered at the latest listing or activation.
bool managed_ = false;
// The target could not be brought to the front because another client
// holds the keyboard; acceptsInput, asked next, says so.
bool grabbedAtFront_ = false;

Window asWindow(WindowHandle window) { return static_cast<Window>(reinterpret_cast<uintptr_t>(window)); }
WindowHandle asHandle(Window window) { return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(window)); }

struct Listing {
    WindowVisitor visit;
    intptr_t value;
};

// The listing found the window shown: minimised (with a window manager)
// or mapped.
bool visitWindow(const TopLevel& window, intptr_t value) {
    const Listing& listing = *reinterpret_cast<const Listing*>(value);
    WindowInfo info = {};
    info.window = asHandle(window.window);
    info.visible = true;
    info.minimised = window.minimised;
    int32_t length = window.titleLength;
    if (length > platform::TitleCapacity - 1) {
        length = platform::TitleCapacity - 1;
    }
    for (int32_t i = 0; i < length; ++i) {
        info.title[i] = window.title[i];
    }
    info.titled = length > 0;
    info.titleLength = length;
    info.title[length] = 0;
    return listing.visit(info, listing.value);
}

}  // namespace

bool reachable() { return connection() != nullptr; }

bool listWindows(WindowVisitor visit, intptr_t value) {
    Connection* c = connection();
    if (c == nullptr) {
        return false;
    }
    managed_ = windowManagerRunning(*c);
    Listing listing = {visit, value};
    const bool listed = forEachTopLevel(*c, managed_, visitWindow, reinterpret_cast<intptr_t>(&listing));
    readEvents(*c);
    return listed;
}

bool windowExists(WindowHandle window) {
    Connection* c = connection();
    return c != nullptr && window != nullptr && windowExists(*c, asWindow(window));
}

bool bringToFront(WindowHandle window) {
    Connection* c = connection();
    if (c == nullptr || window == nullptr) {
        return false;
    }
    managed_ = windowManagerRunning(*c);
    grabbedAtFront_ = false;
    if (hasKeyboard(*c, asWindow(window), managed_) || activate(*c, asWindow(window), managed_)) {
        return true;
    }
    // A window manager may take the focus from every window while another
    // client holds the keyboard: then the grab is the reason to give, and
    // acceptsInput gives it before anything is typed.
    grabbedAtFront_ = !keyboardFree(*c) && errorCode() == ErrorKeyHeld;
    return grabbedAtFront_;
}

bool acceptsInput(WindowHandle window) {
    // X delivers XTEST's keys to the client that has the focus, unless
    // another client holds the keyboard: then that one gets them. Asked
    // once, right after the target came to the front, for a grab already
    // in force; one taken while the scan types shows as a focus change of
    // the target, which is watched from here on.
    Connection* c = liveConnection();
    if (grabbedAtFront_) {
        grabbedAtFront_ = false;
        failGrabbed();
        return false;
    }
    if (c == nullptr || !keyboardFree(*c)) {
        return false;
    }
    watchFocus(*c, asWindow(window));
    return true;
}

void restoreIfMinimised(WindowHandle window) {
    Connection* c = liveConnection();
    if (c != nullptr && window != nullptr && managed_ && isMinimised(*c, asWindow(window))) {
        restore(*c, asWindow(window));
    }
}

bool stillInFront(WindowHandle window) {
    // A connection lost meanwhile is no reason to think the window lost
    // the keyboard: the next injection fails and says what happened.
    Connection* c = liveConnection();
    if (c == nullptr || window == nullptr) {
        return c == nullptr;
    }
    // Only where the keys go matters: the focus, which moves before the
    // window manager's word on the active window follows. If it went
    // elsewhere, taking it back would type the rest of the scan into a
    // window the user has just moved to.
    return focusInside(*c, asWindow(window)) || lost(*c);
}

}  // namespace wedge::x11
