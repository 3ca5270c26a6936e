// How far what arrived is from what was sent, as the fewest single
// character changes: characters that arrived wrong, went missing, or came
// in addition.
#pragma once

#include <string>

namespace wedge_bench {

struct EditCount {
    size_t wrong = 0;
    size_t missing = 0;
    size_t extra = 0;
    size_t total() const { return wrong + missing + extra; }
};

EditCount editCount(const std::u16string& sent, const std::u16string& arrived);

}  // namespace wedge_bench
