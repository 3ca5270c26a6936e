// Min, median and max of repeated measurements.
#pragma once

#include <algorithm>
#include <vector>

namespace wedge_bench {

struct Spread {
    double min = 0;
    double median = 0;
    double max = 0;
};

inline Spread spreadOf(std::vector<double> samples) {
    if (samples.empty()) {
        return {};
    }
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    const double median =
        samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2.0;
    return {samples.front(), median, samples.back()};
}

}  // namespace wedge_bench
