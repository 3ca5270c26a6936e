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
    // needed to tell, when it holds more than maxBytes.
    std::function<FileRead(const std::u16string& path, size_t maxBytes, std::vector<uint8_t>* bytes)> readFile;
};

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// args excludes the program name.
int runWedge(const std::vector<std::u16string>& args, const Console& console);

int listCommand(const std::vector<std::u16string>& args, const Console& console);
int typeCommand(const std::vector<std::u16string>& args, const Console& console);

extern const char* const UsageText;

// Reads an open file (null: one that could not be opened) whole into
// bytes, and closes it; TooLarge, having read no more than needed to
// tell, when it holds more than maxBytes.
FileRead readWholeFile(FILE* file, size_t maxBytes, std::vector<uint8_t>* bytes);

// For std::set_new_handler: memory is allocated only before typing starts
// or after it ends, so stopping there leaves no key held. Says so without
// allocating and exits with ExitFailure.
[[noreturn]] void exitOutOfMemory();

}  // namespace wedge::cli
