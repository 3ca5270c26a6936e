#include "catalogue/window_catalogue.h"
#include "wedge_cli.h"
#include "command_line_text.h"

namespace wedge::cli {

int listCommand(const std::vector<std::u16string>& args, const Console& console) {
    if (!args.empty()) {
        console.error("wedge list: takes no arguments\n");
        return ExitUsage;
    }
    catalogue::WindowList& list = catalogue::listWindows();
    list.rewind();
    std::string lines;
    for (int32_t i = 0; i < list.count(); ++i) {
        lines += std::to_string(i) + "\t" + toUtf8(escapeControls(list.currentTitle())) + "\n";
        list.advance();
    }
    catalogue::destroy();
    console.out(lines);
    return ExitSuccess;
}

}  // namespace wedge::cli
