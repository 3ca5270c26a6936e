#include "wedge_cli.h"

#include "windows1252.h"

namespace wedge::cli {

const char* const UsageText =
    "Usage:\n"
    "  wedge list\n"
    "      Prints the windows that can receive text, one per line: the index,\n"
    "      a tab, and the title (at most 99 characters).\n"
    "  wedge type --window INDEX|TITLE [--suffix enter|tab|none] TEXT...\n"
    "  wedge type --window INDEX|TITLE [--suffix enter|tab|none] --file PATH\n"
    "      Brings the window to the front and types the text into it as\n"
    "      keystrokes, as a barcode scanner wired in front of the keyboard would.\n"
    "      --window  the window's index in 'wedge list' (digits only), or its\n"
    "                exact title (the first window listed with it wins)\n"
    "      --suffix  a key typed after the text: enter (byte 13), tab (byte 9)\n"
    "                or none (the default)\n"
    "      TEXT      typed in the Windows-1252 encoding, several words joined by\n"
    "                one space; a character outside it is refused before\n"
    "                anything is typed\n"
    "      --file    types the file's bytes as they are: 32-126 and 13 through\n"
    "                the keyboard layout, 9 as Tab, 128-255 as Alt + keypad\n"
    "                codes; other control bytes, line feed among them, are dropped\n"
    "      Typing takes about 200 ms, plus 50 ms per byte and 100 ms per Tab.\n"
    "  wedge --help\n"
    "\n"
    "Exit status: 0 done, 1 the window or the typing failed (the reason is\n"
    "printed), 2 the command line is wrong.\n";

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
