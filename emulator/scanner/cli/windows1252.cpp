#include "windows1252.h"

namespace wedge::cli {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five it leaves undefined stand for
// the control characters of the same value, as the system's conversion does.
constexpr char16_t HighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool byteOf(char16_t unit, uint8_t* byte) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        *byte = static_cast<uint8_t>(unit);
        return true;
    }
    for (uint8_t i = 0; i < 32; ++i) {
        if (HighControlRange[i] == unit) {
            *byte = static_cast<uint8_t>(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace

bool toWindows1252(const std::u16string& text, std::vector<uint8_t>* bytes, size_t* failedAt) {
    bytes->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        uint8_t byte = 0;
        if (!byteOf(text[i], &byte)) {
            *failedAt = i;
            return false;
        }
        bytes->push_back(byte);
    }
    return true;
}

std::string toUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = text[i];
        const bool pairStarts = code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() &&
                                text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        if (pairStarts) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00U);
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;  // an unpaired surrogate has no UTF-8 form
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

}  // namespace wedge::cli
