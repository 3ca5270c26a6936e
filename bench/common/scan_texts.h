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

// The bytes 128 to 255 that stand for a character in Windows-1252: all
// but 0x81, 0x8D, 0x8F, 0x90 and 0x9D.
inline std::vector<uint8_t> windows1252HighBytes() {
    std::vector<uint8_t> bytes;
    for (int value = 0x80; value <= 0xFF; ++value) {
        if (value != 0x81 && value != 0x8D && value != 0x8F && value != 0x90 && value != 0x9D) {
            bytes.push_back(static_cast<uint8_t>(value));
        }
    }
    return bytes;
}

// "letters": mixed-case letters only. "tabs": fields of nine letters each
// ended by a Tab, as a scanner sends form fields; a one-byte scan of this
// kind is a lone Tab. "high": the characters of bytes 128 to 255 in turn.
inline std::vector<uint8_t> scanText(const std::string& kind, size_t bytes) {
    static const char Letters[] = "AbCdEfGhIjKlMnOpQrStUvWxYz";
    static const std::vector<uint8_t> High = windows1252HighBytes();
    std::vector<uint8_t> text;
    for (size_t i = 0; i < bytes; ++i) {
        const bool tab = kind == "tabs" && (i % 10 == 9 || bytes == 1);
        if (kind == "high") {
            text.push_back(High[i % High.size()]);
        } else {
            text.push_back(tab ? uint8_t{9} : static_cast<uint8_t>(Letters[i % 26]));
        }
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
