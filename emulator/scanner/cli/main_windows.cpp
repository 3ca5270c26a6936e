// wedge.exe: the command-line wedge on Windows, with UTF-16 arguments and
// file names, and UTF-8 output.
#include "command_line_text.h"
#include "wedge_cli.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

void write(FILE* stream, const std::string& utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

// Windows' own text for the error, without the line break it ends with.
std::string systemText(DWORD error) {
    wchar_t text[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text / sizeof text[0], nullptr);
    std::u16string units(reinterpret_cast<const char16_t*>(text), length);
    while (!units.empty() && (units.back() == u'\n' || units.back() == u'\r' || units.back() == u' ')) {
        units.pop_back();
    }
    if (units.empty()) {
        return "error " + std::to_string(error);
    }
    return wedge::cli::toUtf8(units);
}

// Opened by CreateFileW rather than _wfopen, whose failure keeps only an
// errno: the reason given is then Windows' own.
wedge::cli::FileRead readFile(const std::u16string& path, size_t maxBytes, std::vector<uint8_t>* bytes,
                              std::string* reason) {
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *reason = systemText(GetLastError());
        return wedge::cli::FileRead::Unreadable;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    FILE* const file = descriptor == -1 ? nullptr : _fdopen(descriptor, "rb");
    if (file == nullptr) {
        *reason = std::strerror(errno);
        if (descriptor == -1) {
            CloseHandle(handle);
        } else {
            _close(descriptor);
        }
        return wedge::cli::FileRead::Unreadable;
    }
    return wedge::cli::readWholeFile(file, maxBytes, bytes, reason);
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
