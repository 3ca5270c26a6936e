#include "x_windows.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace wedge_bench {
namespace {

// One property's bytes, or none; what Xlib allocated is freed here.
std::string propertyText(Display* display, Window window, Atom property, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, window, property, 0, 1024, False, type, &actualType, &format, &items,
                           &remaining, &data) == Success &&
        data != nullptr) {
        if (actualType == type && format == 8) {
            text.assign(reinterpret_cast<const char*>(data), items);
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    return text;
}

}  // namespace

XConnection::XConnection() : display_(XOpenDisplay(nullptr)) {}

XConnection::~XConnection() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

Window XConnection::root() const { return DefaultRootWindow(display_); }

std::vector<Window> clientList(Display* display) {
    const Atom property = XInternAtom(display, "_NET_CLIENT_LIST", False);
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<Window> windows;
    if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1L << 20, False, XA_WINDOW,
                           &actualType, &format, &items, &remaining, &data) == Success &&
        data != nullptr) {
        // Format 32 items arrive as longs, whatever the size of a long.
        const auto* ids = reinterpret_cast<const unsigned long*>(data);
        if (actualType == XA_WINDOW && format == 32) {
            windows.assign(ids, ids + items);
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    return windows;
}

std::string windowTitle(Display* display, Window window) {
    // Interned once: an atom is the server's, the same on every connection.
    static const Atom NetWmName = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom Utf8String = XInternAtom(display, "UTF8_STRING", False);
    std::string title = propertyText(display, window, NetWmName, Utf8String);
    if (title.empty()) {
        title = propertyText(display, window, XA_WM_NAME, XA_STRING);
    }
    return title;
}

int bareClientListing(Display* display) {
    int titled = 0;
    for (const Window window : clientList(display)) {
        titled += windowTitle(display, window).empty() ? 0 : 1;
    }
    return titled;
}

Window clientTitled(Display* display, const std::string& title) {
    for (const Window window : clientList(display)) {
        if (windowTitle(display, window) == title) {
            return window;
        }
    }
    return None;
}

}  // namespace wedge_bench
