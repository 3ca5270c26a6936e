// The help's part that is Linux's own: the display, the window manager and
// Windows-1252 in place of a code page of the system's.
#include "wedge_cli.h"

namespace wedge::cli {

const char* const TypingHelp =
    "      TEXT      read as UTF-8 and typed in Windows-1252, several words\n"
    "                joined by one space; a character outside Windows-1252 is\n"
    "                refused (exit status 2)\n"
    "      --file    types the file's bytes as they are: 32-126 and 13 through\n"
    "                the keymap, 9 as Tab, 128-255 as their Windows-1252\n"
    "                characters; other control bytes, line feed among them,\n"
    "                and the five bytes Windows-1252 leaves undefined are\n"
    "                dropped\n"
    "      Typing goes to the X display that DISPLAY names. It waits while\n"
    "      another program types a scan on that display, then up to one second\n"
    "      for the window manager to bring the window to the front, then takes\n"
    "      about 200 ms, plus 50 ms per byte and 100 ms per Tab.\n";

}  // namespace wedge::cli
