#include "platform/x11/x_connection.h"

#include "platform/linux/errors.h"


namespace wedge::x11 {
namespace {

Connection connection_ = {};
bool lost_ = false;

// The first error since the last check; error_code 0 means none.
XErrorEvent firstError_ = {};
XErrorHandler outerHandler_ = nullptr;
int32_t trapDepth_ = 0;

int recordError(Display* display, XErrorEvent* error) {
    if (display != connection_.display) {
        return outerHandler_ != nullptr ? outerHandler_(display, error) : 0;
    }
    if (firstError_.error_code == 0) {
        firstError_ = *error;
    }
    return 0;
}

// Called when the connection breaks: with newer libX11 the process goes on,
// and the connection is opened again at the next call.
void markLost(Display* /*display*/, void* /*data*/) { lost_ = true; }

// Writable: XInternAtoms takes char**.
char atomNames[AtomCount][32] = {
    "_NET_CLIENT_LIST_STACKING", "_NET_ACTIVE_WINDOW", "_NET_SUPPORTING_WM_CHECK", "_NET_WM_NAME",
    "_NET_WM_STATE",             "_NET_WM_STATE_HIDDEN", "UTF8_STRING",          "WM_STATE",
};

bool open(const XLibrary* x) {
    Display* display = x->openDisplay(nullptr);
    if (display == nullptr) {
        const char* name = x->displayName(nullptr);
        if (name == nullptr || name[0] == 0) {
            failWith(ErrorNoDisplay, "Cannot open the X display: DISPLAY is not set");
        } else {
            const char* const parts[] = {"Cannot open the X display \"", name, "\"", nullptr};
            failWithParts(ErrorNoDisplay, parts);
        }
        return false;
    }
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (x->xkbQueryExtension(display, &opcode, &event, &error, &major, &minor) == False) {
        x->closeDisplay(display);
        failWith(ErrorNotSupported, "The X server has no XKEYBOARD extension");
        return false;
    }
    if (x->testQueryExtension(display, &event, &error, &major, &minor) == False) {
        x->closeDisplay(display);
        failWith(ErrorNotSupported, "The X server has no XTEST extension");
        return false;
    }
    // Older libX11 has no such handler and ends the process when the
    // connection breaks; nothing short of it can stop that.
    if (x->setIOErrorExitHandler != nullptr) {
        x->setIOErrorExitHandler(display, markLost, nullptr);
    }
    connection_.x = x;
    connection_.display = display;
    connection_.root = x->defaultRootWindow(display);
    char* names[AtomCount] = {};
    for (int32_t i = 0; i < AtomCount; ++i) {
        names[i] = atomNames[i];
    }
    x->internAtoms(display, names, AtomCount, False, connection_.atoms);
    lost_ = false;
    return true;
}

}  // namespace

const Connection* connection() {
    const XLibrary* x = xLibrary();
    if (x == nullptr) {
        return nullptr;
    }
    if (connection_.display != nullptr && lost_) {
        // The broken connection's memory goes; the closing itself cannot
        // reach the server any more.
        x->closeDisplay(connection_.display);
        connection_.display = nullptr;
    }
    if (connection_.display == nullptr && !open(x)) {
        return nullptr;
    }
    return &connection_;
}

void discardEvents(const Connection& c) {
    ErrorTrap trap(c);
    c.x->sync(c.display, True);
    trap.answered();
}

ErrorTrap::ErrorTrap(const Connection& connection) : connection_(connection), previous_(nullptr) {
    // Traps nest; the outermost one installs the handler and removes it.
    if (trapDepth_++ > 0) {
        return;
    }
    firstError_ = {};
    previous_ = connection.x->setErrorHandler(recordError);
    outerHandler_ = previous_;
}

ErrorTrap::~ErrorTrap() {
    if (--trapDepth_ > 0) {
        return;
    }
    // Put back only what is still ours: another toolkit may have installed
    // its own handler since.
    const XErrorHandler current = connection_.x->setErrorHandler(previous_);
    if (current != recordError) {
        connection_.x->setErrorHandler(current);
    }
}

bool ErrorTrap::synced() const {
    connection_.x->sync(connection_.display, False);
    return answered();
}

bool ErrorTrap::answered() const {
    if (lost_) {
        failWith(ErrorNoDisplay, "The connection to the X display was lost");
        return false;
    }
    if (firstError_.error_code == 0) {
        return true;
    }
    char name[120] = {};
    connection_.x->getErrorText(connection_.display, firstError_.error_code, name, sizeof name);
    const Decimal major = decimal(firstError_.request_code);
    const Decimal minor = decimal(firstError_.minor_code);
    const char* const parts[] = {name, " (X request ", major.digits, ".", minor.digits, ")", nullptr};
    failWithParts(firstError_.error_code, parts);
    firstError_ = {};
    return false;
}

}  // namespace wedge::x11
