// A number in decimal, for error texts.
#pragma once

#include <cstdint>

namespace wedge::platform {

struct Decimal {
    char digits[12];
};

inline Decimal decimal(int32_t value) {
    Decimal text = {};
    char reversed[12] = {};
    int32_t count = 0;
    // Works on the negative side so that the smallest value needs no negation.
    int32_t rest = value > 0 ? -value : value;
    do {
        reversed[count++] = static_cast<char>('0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    int32_t used = 0;
    if (value < 0) {
        text.digits[used++] = '-';
    }
    while (count > 0) {
        text.digits[used++] = reversed[--count];
    }
    return text;
}

}  // namespace wedge::platform
