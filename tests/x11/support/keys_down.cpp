// Prints the keycodes that are down on the display, one line, separated by
// spaces; an empty line when none is. Exit status 1 without a display.
#include <X11/Xlib.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "keys_down: cannot open the display\n");
        return 1;
    }
    char keys[32] = {};
    XQueryKeymap(display, keys);
    const char* separator = "";
    for (int key = 0; key < 256; ++key) {
        if ((keys[key / 8] & (1 << (key % 8))) != 0) {
            std::printf("%s%d", separator, key);
            separator = " ";
        }
    }
    std::printf("\n");
    XCloseDisplay(display);
    return 0;
}
