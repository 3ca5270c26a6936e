#include "command_line_text.h"

namespace wedge::cli {

bool toAnsiBytes(const std::u16string& text, std::vector<uint8_t>* bytes, size_t* failedAt) {
    bytes->clear();
    bytes->reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        uint8_t byte = 0;
        if (!toCodePageByte(text[i], &byte)) {
            *failedAt = i;
            return false;
        }
        bytes->push_back(byte);
    }
    return true;
}

std::u16string escapeControls(const std::u16string& text) {
    constexpr char16_t Hex[] = u"0123456789ABCDEF";
    std::u16string out;
    for (const char16_t unit : text) {
        if (unit == u'\t') {
            out += u"\\t";
        } else if (unit == u'\n') {
            out += u"\\n";
        } else if (unit == u'\r') {
            out += u"\\r";
        } else if (unit < 0x20 || (unit >= 0x7F && unit < 0xA0)) {
            out += u"\\u00";
            out.push_back(Hex[unit >> 4]);
            out.push_back(Hex[unit & 0xF]);
        } else {
            out.push_back(unit);
        }
    }
    return out;
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
