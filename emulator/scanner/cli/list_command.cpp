#include "command_line_text.h"
#include "wedge.h"
#include "wedge_cli.h"

namespace wedge::cli {
namespace {

struct Lines {
    std::string text;
    int32_t index;
};

bool addLine(const char16_t* title, int32_t length, intptr_t context) {
    auto* lines = reinterpret_cast<Lines*>(context);
    const std::u16string units(title, static_cast<size_t>(length));
    lines->text += std::to_string(lines->index++) + "\t" + toUtf8(escapeControls(units)) + "\n";
    return true;
}

}  // namespace

int listCommand(const std::vector<std::u16string>& args, const Console& console) {
    if (!args.empty()) {
        console.error("wedge list: takes no arguments\n");
        return ExitUsage;
    }
    // An empty list must not stand for a desktop that was never reached.
    if (!desktopReachable()) {
        console.error("wedge list: " + lastError() + "\n");
        return ExitFailure;
    }
    listWindows();
    Lines lines{std::string(), 0};
    forEachListedTitle(addLine, reinterpret_cast<intptr_t>(&lines));
    releaseWindowList();
    console.out(lines.text);
    return ExitSuccess;
}

}  // namespace wedge::cli
