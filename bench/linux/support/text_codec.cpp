#include "text_codec.h"

#include "command_line_text.h"
#include "platform/windows1252.h"

namespace wedge_bench {

std::u16string charactersOf(const std::vector<uint8_t>& windows1252) {
    std::u16string characters;
    for (const uint8_t byte : windows1252) {
        characters.push_back(wedge::platform::fromWindows1252(byte));
    }
    return characters;
}

std::string utf8Of(const std::u16string& characters) { return wedge::cli::toUtf8(characters); }

std::u16string decodeUtf8(const std::string& utf8) {
    std::u16string characters;
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<uint8_t>(utf8[i]);
        size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1Fu : length == 3 ? lead & 0x0Fu : lead & 0x07u;
        for (size_t k = 1; length > 1 && k < length; ++k) {
            const uint8_t next = i + k < utf8.size() ? static_cast<uint8_t>(utf8[i + k]) : uint8_t{0};
            if ((next & 0xC0) != 0x80) {
                length = 0;
                break;
            }
            c = (c << 6) | (next & 0x3Fu);
        }
        if (length == 0) {
            characters.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            characters.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            characters.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            characters.push_back(static_cast<char16_t>(c));
        }
        i += length;
    }
    return characters;
}

}  // namespace wedge_bench
