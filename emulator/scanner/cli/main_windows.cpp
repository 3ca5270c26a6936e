// wedge.exe: the command-line wedge on Windows, with UTF-16 arguments and
// file names, and UTF-8 output.
#include "wedge_cli.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

void write(FILE* stream, const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

wedge::cli::FileRead readFile(const std::u16string& path, size_t maxBytes, std::vector<uint8_t>* bytes) {
    using wedge::cli::FileRead;
    FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(path.c_str()), L"rb");
    if (file == nullptr) {
        return FileRead::Unreadable;
    }
    uint8_t chunk[4096];
    size_t got = 0;
    while (bytes->size() <= maxBytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    const bool complete = std::ferror(file) == 0;
    std::fclose(file);
    if (bytes->size() > maxBytes) {
        return FileRead::TooLarge;
    }
    return complete ? FileRead::Done : FileRead::Unreadable;
}

// Memory is allocated only before typing starts or after it ends, so
// stopping here leaves no key held. Writes without allocating.
void outOfMemory() {
    std::fputs("wedge: out of memory\n", stderr);
    std::fflush(stderr);
    std::_Exit(wedge::cli::ExitFailure);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::set_new_handler(outOfMemory);
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
