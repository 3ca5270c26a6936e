// A TextSource over bytes that are already in memory: reading them
// allocates nothing.
#pragma once

#include "keystrokes/text_typing.h"

#include <cstdint>
#include <vector>

namespace wedge_bench {

class BufferText {
public:
    explicit BufferText(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}

    const wedge::keystrokes::TextSource* source() const { return &source_; }

private:
    static int32_t length(void* context) {
        return static_cast<int32_t>(static_cast<BufferText*>(context)->bytes_.size());
    }
    static bool read(void* context, int32_t index, uint8_t* value) {
        *value = static_cast<BufferText*>(context)->bytes_[static_cast<size_t>(index)];
        return true;
    }

    const std::vector<uint8_t>& bytes_;
    wedge::keystrokes::TextSource source_{this, length, read};
};

}  // namespace wedge_bench
