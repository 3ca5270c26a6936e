// The help's part that is Windows' own: the ANSI code page and Alt + keypad
// codes.
#include "wedge_cli.h"

namespace wedge::cli {

const char* const TypingHelp =
    "      TEXT      typed in this system's ANSI code page (Windows-1252 on\n"
    "                Western systems), several words joined by one space; a\n"
    "                character outside it is refused (exit status 2)\n"
    "      --file    types the file's bytes as they are: 32-126 and 13 through\n"
    "                the target's keyboard layout, 9 as Tab, 128-255 as Alt +\n"
    "                keypad codes, which come out in the ANSI code page; other\n"
    "                control bytes, line feed among them, are dropped\n"
    "      Typing waits while another program types a scan, then takes about\n"
    "      200 ms, plus 50 ms per byte and 100 ms per Tab.\n";

}  // namespace wedge::cli
