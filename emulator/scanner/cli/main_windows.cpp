// wedge.exe: the command-line wedge on Windows, with UTF-16 arguments and
// file names, and UTF-8 output.
#include "wedge_cli.h"

#include <windows.h>

#include <cstdio>

namespace {

void write(FILE* stream, const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

bool readFile(const std::u16string& path, std::vector<uint8_t>* bytes) {
    FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"rb");
    if (file == nullptr) {
        return false;
    }
    uint8_t chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    const bool complete = std::ferror(file) == 0;
    std::fclose(file);
    return complete;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
    }
    const wedge::cli::Console console{
        [](const std::string& text) { write(stdout, text); },
        [](const std::string& text) { write(stderr, text); },
        readFile,
    };
    return wedge::cli::runWedge(args, console);
}
