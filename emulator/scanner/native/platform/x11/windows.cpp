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

Window asWindow(WindowHandle window) { return static_cast<Window>(reinterpret_cast<uintptr_t>(window)); }
WindowHandle asHandle(Window window) { return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(window)); }

struct Listing {
    const Connection* connection;
    WindowVisitor visit;
    intptr_t value;
};

// The listing found the window shown: minimised (with a window manager)
// or mapped.
bool visitWindow(Window window, intptr_t value) {
    const Listing& listing = *reinterpret_cast<const Listing*>(value);
    WindowInfo info = {};
    info.window = asHandle(window);
    info.visible = true;
    info.minimised = managed_ && isMinimised(*listing.connection, window);
    int32_t length = readTitle(*listing.connection, window, info.title, platform::TitleCapacity - 1);
    if (length > platform::TitleCapacity - 1) {
        length = platform::TitleCapacity - 1;
    }
    info.titled = length > 0;
    info.titleLength = length;
    info.title[length] = 0;
    return listing.visit(info, listing.value);
}

}  // namespace

bool reachable() { return connection() != nullptr; }

bool listWindows(WindowVisitor visit, intptr_t value) {
    const Connection* c = connection();
    if (c == nullptr) {
        return false;
    }
    managed_ = windowManagerRunning(*c);
    Listing listing = {c, visit, value};
    const bool listed = forEachTopLevel(*c, visitWindow, reinterpret_cast<intptr_t>(&listing));
    discardEvents(*c);
    return listed;
}

bool windowExists(WindowHandle window) {
    const Connection* c = connection();
    return c != nullptr && window != nullptr && windowExists(*c, asWindow(window));
}

bool bringToFront(WindowHandle window) {
    const Connection* c = connection();
    if (c == nullptr || window == nullptr) {
        return false;
    }
    managed_ = windowManagerRunning(*c);
    return hasKeyboard(*c, asWindow(window), managed_) || activate(*c, asWindow(window), managed_);
}

bool acceptsInput(WindowHandle /*window*/) {
    // X delivers XTest's keys to whichever client has the focus.
    return true;
}

void restoreIfMinimised(WindowHandle window) {
    const Connection* c = connection();
    if (c != nullptr && window != nullptr && managed_ && isMinimised(*c, asWindow(window))) {
        restore(*c, asWindow(window));
    }
}

bool stillInFront(WindowHandle window) {
    // Only where the keys go matters: the focus, which moves before the
    // window manager's word on the active window follows. If it went
    // elsewhere, taking it back would type the rest of the scan into a
    // window the user has just moved to.
    const Connection* c = connection();
    return c != nullptr && window != nullptr && focusInside(*c, asWindow(window));
}

}  // namespace wedge::x11
