// The command-line wedge: lists windows and types text into one of them
// with the library's own catalogue and typing, without a JVM.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace wedge::cli {

enum class FileRead { Done, Unreadable, TooLarge };

// The largest file `type --file` types: 1 MiB, far above any barcode (a
// QR code holds under 3 KB) and already some 14 hours of typing; a larger
// file is a mistake.
inline constexpr size_t MaxFileBytes = 1024 * 1024;

// What the command line reaches outside the desktop.
struct Console {
    std::function<void(const std::string& utf8)> out;
    std::function<void(const std::string& utf8)> error;
    // Reads the whole file into bytes; TooLarge, having read no more than
    // needed to tell, when it holds more than maxBytes; Unreadable with the
    // system's reason in *reason.
    std::function<FileRead(const std::u16string& path, size_t maxBytes, std::vector<uint8_t>* bytes,
                           std::string* reason)>
        readFile;
};

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// args excludes the program name.
int runWedge(const std::vector<std::u16string>& args, const Console& console);

int listCommand(const std::vector<std::u16string>& args, const Console& console);
int typeCommand(const std::vector<std::u16string>& args, const Console& console);

// The library's last error line (wedge.h's lastErrorText), in UTF-8.
std::string lastError();

// The help: the commands, what they do, and every exit status.
std::string usageText();

// The desktop's part of the help: what TEXT and --file type, and what
// typing waits for.
extern const char* const TypingHelp;

// "wedge " and the version of the library it belongs to.
extern const char* const VersionText;

// Reads an open file whole into bytes, and closes it; TooLarge, having
// read no more than needed to tell, when it holds more than maxBytes;
// Unreadable, with the C library's reason, when a read fails.
FileRead readWholeFile(FILE* file, size_t maxBytes, std::vector<uint8_t>* bytes, std::string* reason);

// For std::set_new_handler: memory is allocated only before typing starts
// or after it ends, so stopping there leaves no key held. Says so without
// allocating and exits with ExitFailure.
[[noreturn]] void exitOutOfMemory();

}  // namespace wedge::cli
