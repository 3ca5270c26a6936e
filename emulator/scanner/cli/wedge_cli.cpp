#include "wedge_cli.h"

#include "command_line_text.h"
#include "wedge.h"

namespace wedge::cli {

const char* const VersionText = "wedge " WEDGE_VERSION_TEXT "\n";

namespace {

const char* const UsageHead =
    "Usage:\n"
    "  wedge list\n"
    "      Prints the windows that can receive text, topmost first, one per\n"
    "      line: the index, a tab, and the title (at most 99 characters).\n"
    "      Control characters in a title are shown as \\t, \\n, \\r or \\u00XX;\n"
    "      choose such a window by its index.\n"
    "  wedge type --window INDEX|TITLE [--suffix enter|tab|none] TEXT...\n"
    "  wedge type --window INDEX|TITLE [--suffix enter|tab|none] --file PATH\n"
    "      Brings the window to the front and types the text into it as\n"
    "      keystrokes, as a barcode scanner wired in front of the keyboard would.\n"
    "      --window  the window's index in 'wedge list' (digits only), or its\n"
    "                exact title (the first window listed with it wins)\n"
    "      --suffix  a key typed after the text: enter (byte 13), tab (byte 9)\n"
    "                or none (the default)\n";

const char* const UsageTail =
    "      A file of more than 1048576 bytes (1 MiB) is refused before\n"
    "      anything is typed.\n"
    "  wedge --help      prints this text\n"
    "  wedge --version   prints the version\n"
    "\n"
    "Exit status:\n"
    "  0  done\n"
    "  1  the desktop cannot be reached, no window has that index or title,\n"
    "     the file cannot be read or is too large, the typing failed, or\n"
    "     memory ran out; the reason is printed\n"
    "  2  the command line is wrong, or TEXT has a character outside the\n"
    "     code page; nothing is typed\n";

}  // namespace

std::string lastError() { return toUtf8(std::u16string(lastErrorText(), static_cast<size_t>(lastErrorLength()))); }

std::string usageText() { return std::string(UsageHead) + TypingHelp + UsageTail; }

int runWedge(const std::vector<std::u16string>& args, const Console& console) {
    if (args.empty()) {
        console.error(usageText());
        return ExitUsage;
    }
    const std::u16string& command = args.front();
    const std::vector<std::u16string> rest(args.begin() + 1, args.end());
    if (command == u"--help" || command == u"-h" || command == u"help") {
        console.out(usageText());
        return ExitSuccess;
    }
    if (command == u"--version") {
        console.out(VersionText);
        return ExitSuccess;
    }
    if (command == u"list") {
        return listCommand(rest, console);
    }
    if (command == u"type") {
        return typeCommand(rest, console);
    }
    console.error("wedge: unknown command '" + toUtf8(command) + "'\n\n" + usageText());
    return ExitUsage;
}

}  // namespace wedge::cli
