// Bytes for sendText from a vector, counting how they are read.
#pragma once

#include "keystrokes/text_typing.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wedge::testing {

class VectorText {
public:
    explicit VectorText(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    explicit VectorText(const std::string& text) : bytes_(text.begin(), text.end()) {}

    const keystrokes::TextSource* source() { return &source_; }
    int32_t reads() const { return reads_; }
    // Reads of this index and beyond fail.
    void failReadsFrom(int32_t index) { failFrom_ = index; }

private:
    static int32_t length(void* context) {
        return static_cast<int32_t>(static_cast<VectorText*>(context)->bytes_.size());
    }
    static bool read(void* context, int32_t index, uint8_t* value) {
        auto* self = static_cast<VectorText*>(context);
        ++self->reads_;
        if (index >= self->failFrom_) {
            return false;
        }
        *value = self->bytes_.at(static_cast<size_t>(index));
        return true;
    }

    std::vector<uint8_t> bytes_;
    int32_t reads_ = 0;
    int32_t failFrom_ = INT32_MAX;
    keystrokes::TextSource source_{this, length, read};
};

}  // namespace wedge::testing
