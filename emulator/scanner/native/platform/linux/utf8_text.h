// UTF-8 to UTF-16, for window titles and command lines.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wedge::linux_desktop {

// Decodes length bytes into at most capacity units of out (no terminator
// is written) and answers the number of units the whole text needs. A
// malformed sequence becomes U+FFFD.
int32_t utf8ToUtf16(const unsigned char* bytes, size_t length, char16_t* out, int32_t capacity);

}  // namespace wedge::linux_desktop
