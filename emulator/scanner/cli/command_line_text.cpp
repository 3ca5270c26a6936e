#include "windows1252.h"

#include "platform/windows1252.h"

namespace wedge::cli {

bool toWindows1252(const std::u16string& text, std::vector<uint8_t>* bytes, size_t* failedAt) {
    bytes->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        uint8_t byte = 0;
        if (!platform::toWindows1252(text[i], &byte)) {
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
