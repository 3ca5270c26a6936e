// The scans the pacing and typing benchmarks type, and what the library's
// fixed pauses alone make a scan last.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wedge_bench {

inline constexpr double SettleMs = 200;
inline constexpr double PerByteMs = 50;
inline constexpr double TabHoldMs = 100;

// "letters": mixed-case letters only. "tabs": fields of nine letters each
// ended by a Tab, as a scanner sends form fields; a one-byte scan of this
// kind is a lone Tab.
inline std::vector<uint8_t> scanText(const std::string& kind, size_t bytes) {
    static const char Letters[] = "AbCdEfGhIjKlMnOpQrStUvWxYz";
    std::vector<uint8_t> text;
    for (size_t i = 0; i < bytes; ++i) {
        const bool tab = kind == "tabs" && (i % 10 == 9 || bytes == 1);
        text.push_back(tab ? uint8_t{9} : static_cast<uint8_t>(Letters[i % 26]));
    }
    return text;
}

inline size_t tabsIn(const std::vector<uint8_t>& text) {
    size_t tabs = 0;
    for (const uint8_t value : text) {
        tabs += value == 9 ? 1 : 0;
    }
    return tabs;
}

inline double nominalMs(const std::vector<uint8_t>& text) {
    return SettleMs + PerByteMs * static_cast<double>(text.size()) + TabHoldMs * static_cast<double>(tabsIn(text));
}

}  // namespace wedge_bench
