// Another X client for the catalogue to list: opens COUNT small top-level
// windows titled "TITLE 1" to "TITLE COUNT" (UTF-8 _NET_WM_NAME and
// WM_NAME), maps them, and keeps them open until it is stopped.
//
//   titled_windows COUNT TITLE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void name(Display* display, Window window, const std::string& title) {
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
    const auto* bytes = reinterpret_cast<const unsigned char*>(title.c_str());
    const int length = static_cast<int>(title.size());
    XChangeProperty(display, window, netWmName, utf8String, 8, PropModeReplace, bytes, length);
    XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace, bytes, length);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "usage: titled_windows COUNT TITLE\n");
        return 2;
    }
    const int count = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "titled_windows: cannot open the display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    for (int i = 1; i <= count; ++i) {
        // Spread over the screen, so that the window manager need not search
        // for room for each one.
        const int x = (i * 37) % 1100;
        const int y = (i * 23) % 900;
        const Window window = XCreateSimpleWindow(display, root, x, y, 120, 40, 0, 0, 0xFFFFFF);
        XSizeHints hints{};
        hints.flags = USPosition;
        hints.x = x;
        hints.y = y;
        XSetWMNormalHints(display, window, &hints);
        name(display, window, std::string(argv[2]) + " " + std::to_string(i));
        XMapWindow(display, window);
    }
    XSync(display, False);

    // Events are read and dropped, so that the server never waits on us,
    // until the connection or the process ends.
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
    }
}
