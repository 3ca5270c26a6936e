// What the benchmarks ask the X server directly: the window manager's
// client list and the windows' titles. The bare listing that the
// catalogue is compared with is built from these calls alone.
#pragma once

#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace wedge_bench {

class XConnection {
public:
    XConnection();  // the display named by DISPLAY
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* display() const { return display_; }
    Window root() const;

private:
    Display* display_;
};

// The windows in the root's _NET_CLIENT_LIST, oldest first.
std::vector<Window> clientList(Display* display);

// _NET_WM_NAME (UTF-8), or WM_NAME when the window has none; empty when
// it has neither.
std::string windowTitle(Display* display, Window window);

// The bare listing: read _NET_CLIENT_LIST, fetch every client's title,
// keep nothing; the number of titled clients.
int bareClientListing(Display* display);

// The first client with this title, or None.
Window clientTitled(Display* display, const std::string& title);

}  // namespace wedge_bench
