// The command-line wedge: lists windows and types text into one of them
// with the library's own catalogue and typing, without a JVM.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wedge::cli {

// What the command line reaches outside the desktop.
struct Console {
    std::function<void(const std::string& utf8)> out;
    std::function<void(const std::string& utf8)> error;
    std::function<bool(const std::u16string& path, std::vector<uint8_t>* bytes)> readFile;
};

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

// args excludes the program name.
int runWedge(const std::vector<std::u16string>& args, const Console& console);

int listCommand(const std::vector<std::u16string>& args, const Console& console);
int typeCommand(const std::vector<std::u16string>& args, const Console& console);

extern const char* const UsageText;

}  // namespace wedge::cli
