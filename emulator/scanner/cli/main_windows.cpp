// wedge.exe: the command-line wedge on Windows, with UTF-16 arguments and
// file names, and UTF-8 output.
#include "wedge_cli.h"

#include <windows.h>

#include <cstdio>
#include <new>

namespace {

void write(FILE* stream, const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

wedge::cli::FileRead readFile(const std::u16string& path, size_t maxBytes, std::vector<uint8_t>* bytes) {
    FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"rb");
    return wedge::cli::readWholeFile(file, maxBytes, bytes);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::set_new_handler(wedge::cli::exitOutOfMemory);
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
