#include "edit_count.h"

#include <algorithm>
#include <vector>

namespace wedge_bench {

EditCount editCount(const std::u16string& sent, const std::u16string& arrived) {
    const size_t rows = sent.size() + 1;
    const size_t columns = arrived.size() + 1;
    // distance[i * columns + j]: sent[0, i) against arrived[0, j).
    std::vector<size_t> distance(rows * columns);
    for (size_t i = 0; i < rows; ++i) {
        distance[i * columns] = i;
    }
    for (size_t j = 0; j < columns; ++j) {
        distance[j] = j;
    }
    for (size_t i = 1; i < rows; ++i) {
        for (size_t j = 1; j < columns; ++j) {
            const size_t change = distance[(i - 1) * columns + j - 1] + (sent[i - 1] == arrived[j - 1] ? 0U : 1U);
            const size_t missing = distance[(i - 1) * columns + j] + 1;
            const size_t extra = distance[i * columns + j - 1] + 1;
            distance[i * columns + j] = std::min({change, missing, extra});
        }
    }
    // Back from the end along one cheapest path.
    EditCount count;
    size_t i = sent.size();
    size_t j = arrived.size();
    while (i > 0 || j > 0) {
        const size_t here = distance[i * columns + j];
        if (i > 0 && j > 0 && here == distance[(i - 1) * columns + j - 1] + (sent[i - 1] == arrived[j - 1] ? 0U : 1U)) {
            count.wrong += sent[i - 1] == arrived[j - 1] ? 0U : 1U;
            --i;
            --j;
        } else if (i > 0 && here == distance[(i - 1) * columns + j] + 1) {
            ++count.missing;
            --i;
        } else {
            ++count.extra;
            --j;
        }
    }
    return count;
}

}  // namespace wedge_bench
