// wedge on Linux: UTF-8 arguments and file names, UTF-8 output, typing on
// the desktop the session offers.
#include "command_line_text.h"
#include "platform/linux/utf8_text.h"
#include "wedge_cli.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

void write(FILE* stream, const std::string& utf8) {
    static_cast<void>(std::fwrite(utf8.data(), 1, utf8.size(), stream));
    static_cast<void>(std::fflush(stream));
}

std::u16string fromUtf8(const char* text) {
    const size_t length = std::strlen(text);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::u16string units(static_cast<size_t>(wedge::linux_desktop::utf8ToUtf16(bytes, length, nullptr, 0)), u'\0');
    wedge::linux_desktop::utf8ToUtf16(bytes, length, units.data(), static_cast<int32_t>(units.size()));
    return units;
}

wedge::cli::FileRead readFile(const std::u16string& path, size_t maxBytes, std::vector<uint8_t>* bytes,
                              std::string* reason) {
    FILE* const file = std::fopen(wedge::cli::toUtf8(path).c_str(), "rb");
    if (file == nullptr) {
        *reason = std::strerror(errno);
        return wedge::cli::FileRead::Unreadable;
    }
    return wedge::cli::readWholeFile(file, maxBytes, bytes, reason);
}

}  // namespace

int main(int argc, char** argv) {
    std::set_new_handler(wedge::cli::exitOutOfMemory);
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(fromUtf8(argv[i]));
    }
    const wedge::cli::Console console{
        [](const std::string& text) { write(stdout, text); },
        [](const std::string& text) { write(stderr, text); },
        readFile,
    };
    return wedge::cli::runWedge(args, console);
}
