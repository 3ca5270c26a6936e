#include "command_line_text.h"
#include "wedge.h"
#include "wedge_cli.h"

namespace wedge::cli {
namespace {

struct TypeRequest {
    std::u16string window;
    std::u16string suffix = u"none";
    std::u16string file;
    std::vector<std::u16string> words;
};

bool parse(const std::vector<std::u16string>& args, TypeRequest* request, std::string* problem) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::u16string& arg = args[i];
        const bool takesValue = arg == u"--window" || arg == u"--suffix" || arg == u"--file";
        if (takesValue && i + 1 >= args.size()) {
            *problem = toUtf8(arg) + " needs a value";
            return false;
        }
        if (arg == u"--window") {
            request->window = args[++i];
        } else if (arg == u"--suffix") {
            request->suffix = args[++i];
        } else if (arg == u"--file") {
            request->file = args[++i];
        } else if (arg == u"--") {
            request->words.insert(request->words.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        } else if (arg.size() > 2 && arg.compare(0, 2, u"--") == 0) {
            *problem = "unknown option " + toUtf8(arg);
            return false;
        } else {
            request->words.push_back(arg);
        }
    }
    if (request->window.empty()) {
        *problem = "--window is required";
    } else if (request->suffix != u"enter" && request->suffix != u"tab" && request->suffix != u"none") {
        *problem = "--suffix is enter, tab or none, not " + toUtf8(request->suffix);
    } else if (request->file.empty() == request->words.empty()) {
        *problem = "give either TEXT or --file PATH";
    }
    return problem->empty();
}

bool isIndex(const std::u16string& text) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (const char16_t unit : text) {
        if (unit < u'0' || unit > u'9') {
            return false;
        }
    }
    return true;
}

// Titles are listed cut to 99 units, so the one asked for is compared cut too.
constexpr size_t ListedTitleUnits = 99;

struct TitleSearch {
    std::u16string wanted;
    int32_t visited;
    int32_t found;
};

bool matchTitle(const char16_t* title, int32_t length, intptr_t context) {
    auto* search = reinterpret_cast<TitleSearch*>(context);
    if (search->wanted == std::u16string(title, static_cast<size_t>(length))) {
        search->found = search->visited;
        return false;
    }
    ++search->visited;
    return true;
}

// Finds the window in a fresh list and makes it the target.
bool chooseWindow(const std::u16string& window, const Console& console) {
    // Else no window would be found, for a reason the user could not see.
    if (!desktopReachable()) {
        console.error("wedge type: " + lastError() + "\n");
        return false;
    }
    const int32_t count = listWindows();
    int32_t index = -1;
    if (isIndex(window)) {
        index = std::stoi(toUtf8(window));
        if (index >= count) {
            console.error("wedge type: no window at index " + toUtf8(window) + "; " + std::to_string(count) +
                          " listed\n");
            releaseWindowList();
            return false;
        }
    } else {
        TitleSearch search{window.substr(0, ListedTitleUnits), 0, -1};
        forEachListedTitle(matchTitle, reinterpret_cast<intptr_t>(&search));
        index = search.found;
        if (index < 0) {
            console.error("wedge type: no window is titled \"" + toUtf8(window) + "\"\n");
            releaseWindowList();
            return false;
        }
    }
    if (!wedge::chooseWindow(index)) {
        console.error("wedge type: the window \"" + toUtf8(window) + "\" has closed\n");
        return false;
    }
    return true;
}

struct ByteText {
    const std::vector<uint8_t>* bytes;
    static int32_t length(void* context) {
        return static_cast<int32_t>(static_cast<ByteText*>(context)->bytes->size());
    }
    static bool read(void* context, int32_t index, uint8_t* value) {
        *value = (*static_cast<ByteText*>(context)->bytes)[static_cast<size_t>(index)];
        return true;
    }
};

}  // namespace

int typeCommand(const std::vector<std::u16string>& args, const Console& console) {
    TypeRequest request;
    std::string problem;
    if (!parse(args, &request, &problem)) {
        console.error("wedge type: " + problem + "\n\n" + usageText());
        return ExitUsage;
    }

    std::vector<uint8_t> bytes;
    if (!request.file.empty()) {
        std::string reason;
        const FileRead read = console.readFile(request.file, MaxFileBytes, &bytes, &reason);
        if (read == FileRead::Unreadable) {
            console.error("wedge type: cannot read " + toUtf8(request.file) + ": " + reason + "\n");
            return ExitFailure;
        }
        if (read == FileRead::TooLarge) {
            console.error("wedge type: " + toUtf8(request.file) + " holds more than " + std::to_string(MaxFileBytes) +
                          " bytes, the most a scan may have; nothing was typed\n");
            return ExitFailure;
        }
    } else {
        std::u16string text;
        for (const std::u16string& word : request.words) {
            text += (text.empty() ? u"" : u" ") + word;
        }
        size_t failedAt = 0;
        if (!toAnsiBytes(text, &bytes, &failedAt)) {
            char code[8];
            std::snprintf(code, sizeof code, "%04X", static_cast<unsigned>(text[failedAt]));
            console.error("wedge type: character U+" + std::string(code) + " at position " +
                          std::to_string(failedAt + 1) + " has no byte in this system's code page " +
                          std::to_string(codePage()) + "; nothing was typed\n");
            return ExitUsage;
        }
    }
    if (request.suffix == u"enter") {
        bytes.push_back(13);
    } else if (request.suffix == u"tab") {
        bytes.push_back(9);
    }

    if (!chooseWindow(request.window, console)) {
        return ExitFailure;
    }
    ByteText text{&bytes};
    const TextSource source{&text, ByteText::length, ByteText::read};
    if (!wedge::sendText(&source)) {
        console.error("wedge type: " + lastError() + "\n");
        return ExitFailure;
    }
    releaseWindowList();
    console.out("typed " + std::to_string(bytes.size()) + " bytes\n");
    return ExitSuccess;
}

}  // namespace wedge::cli
