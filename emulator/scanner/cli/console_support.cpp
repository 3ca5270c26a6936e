#include "wedge_cli.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace wedge::cli {

FileRead readWholeFile(FILE* file, size_t maxBytes, std::vector<uint8_t>* bytes, std::string* reason) {
    uint8_t chunk[4096];
    size_t got = 0;
    while (bytes->size() <= maxBytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    const bool complete = std::ferror(file) == 0;
    const int readError = errno;
    static_cast<void>(std::fclose(file));
    if (bytes->size() > maxBytes) {
        return FileRead::TooLarge;
    }
    if (!complete) {
        *reason = std::strerror(readError);
        return FileRead::Unreadable;
    }
    return FileRead::Done;
}

void exitOutOfMemory() {
    static_cast<void>(std::fputs("wedge: out of memory\n", stderr));
    static_cast<void>(std::fflush(stderr));
    std::_Exit(ExitFailure);
}

}  // namespace wedge::cli
