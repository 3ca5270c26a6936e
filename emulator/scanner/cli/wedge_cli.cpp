#include "wedge_cli.h"

#include "command_line_text.h"

namespace wedge::cli {

const char* const UsageText =
    "Usage:\n"
    "  wedge list\n"
    "      Prints the windows that can receive text, one per line: the index,\n"
    "      a tab, and the title (at most 99 characters). Control characters in\n"
    "      a title are shown as \\t, \\n, \\r or \\u00XX; choose such a window\n"
    "      by its index.\n"
    "  wedge type --window INDEX|TITLE [--suffix enter|tab|none] TEXT...\n"
    "  wedge type --window INDEX|TITLE [--suffix enter|tab|none] --file PATH\n"
    "      Brings the window to the front and types the text into it as\n"
    "      keystrokes, as a barcode scanner wired in front of the keyboard would.\n"
    "      --window  the window's index in 'wedge list' (digits only), or its\n"
    "                exact title (the first window listed with it wins)\n"
    "      --suffix  a key typed after the text: enter (byte 13), tab (byte 9)\n"
    "                or none (the default)\n"
    "      TEXT      typed in this system's ANSI code page (Windows-1252 on\n"
    "                Western systems), several words joined by one space; a\n"
    "                character outside it is refused before anything is typed\n"
    "      --file    types the file's bytes as they are: 32-126 and 13 through\n"
    "                the keyboard layout, 9 as Tab, 128-255 as Alt + keypad\n"
    "                codes; other control bytes, line feed among them, are\n"
    "                dropped. A file of more than 1048576 bytes (1 MiB) is\n"
    "                refused before anything is typed\n"
    "      Typing takes about 200 ms, plus 50 ms per byte and 100 ms per Tab.\n"
    "  wedge --help\n"
    "\n"
    "Exit status: 0 done; 1 the window, the file or the typing failed, or\n"
    "memory ran out (the reason is printed); 2 the command line is wrong.\n";

int runWedge(const std::vector<std::u16string>& args, const Console& console) {
    if (args.empty()) {
        console.error(UsageText);
        return ExitUsage;
    }
    const std::u16string& command = args.front();
    const std::vector<std::u16string> rest(args.begin() + 1, args.end());
    if (command == u"--help" || command == u"-h" || command == u"help") {
        console.out(UsageText);
        return ExitSuccess;
    }
    if (command == u"list") {
        return listCommand(rest, console);
    }
    if (command == u"type") {
        return typeCommand(rest, console);
    }
    console.error("wedge: unknown command '" + toUtf8(command) + "'\n\n" + UsageText);
    return ExitUsage;
}

}  // namespace wedge::cli
