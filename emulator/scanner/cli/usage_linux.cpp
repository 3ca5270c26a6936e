// The help's part that is Linux's own: the desktop it reaches, the window
// manager or compositor, and Windows-1252 in place of a code page of the
// system's.
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
    "      Typing goes to the Wayland compositor that WAYLAND_DISPLAY names\n"
    "      when it lets clients list windows and type (sway, labwc, Hyprland,\n"
    "      river, Wayfire), else to the X display that DISPLAY names. It waits\n"
    "      while another program types a scan there, then up to one second for\n"
    "      the window manager or compositor to bring the window to the front,\n"
    "      then takes about 200 ms, plus 50 ms per byte and 100 ms per Tab.\n";

}  // namespace wedge::cli
