#include "platform/linux/utf8_text.h"

namespace wedge::linux_desktop {
namespace {

constexpr char32_t Replacement = 0xFFFD;

// One code point from bytes[*at], advancing *at past it.
char32_t decodeOne(const unsigned char* bytes, size_t length, size_t* at) {
    const unsigned char lead = bytes[(*at)++];
    if (lead < 0x80) {
        return lead;
    }
    int32_t continuation = 0;
    char32_t point = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        continuation = 1;
        point = lead & 0x1FU;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        continuation = 2;
        point = lead & 0x0FU;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        continuation = 3;
        point = lead & 0x07U;
        smallest = 0x10000;
    } else {
        return Replacement;
    }
    for (int32_t i = 0; i < continuation; ++i) {
        if (*at >= length || (bytes[*at] & 0xC0) != 0x80) {
            return Replacement;
        }
        point = (point << 6) | (bytes[(*at)++] & 0x3FU);
    }
    if (point < smallest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        return Replacement;
    }
    return point;
}

}  // namespace

int32_t utf8ToUtf16(const unsigned char* bytes, size_t length, char16_t* out, int32_t capacity) {
    int32_t units = 0;
    auto put = [&](char32_t unit) {
        if (units < capacity) {
            out[units] = static_cast<char16_t>(unit);
        }
        ++units;
    };
    size_t at = 0;
    while (at < length) {
        const char32_t point = decodeOne(bytes, length, &at);
        if (point >= 0x10000) {
            put(0xD800 + ((point - 0x10000) >> 10));
            put(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            put(point);
        }
    }
    return units;
}

}  // namespace wedge::linux_desktop
