// Holds the keyboard as another application would (a screen locker, a
// menu): grabs it on the root window, prints "grabbed", and lets it go when
// its standard input ends. Exit status 1 when the grab fails.
#include <X11/Xlib.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "grab_keyboard: cannot open the display\n");
        return 1;
    }
    const int status = XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync,
                                     CurrentTime);
    if (status != GrabSuccess) {
        std::fprintf(stderr, "grab_keyboard: the grab failed (%d)\n", status);
        return 1;
    }
    XSync(display, False);
    std::printf("grabbed\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    XUngrabKeyboard(display, CurrentTime);
    XCloseDisplay(display);
    return 0;
}
