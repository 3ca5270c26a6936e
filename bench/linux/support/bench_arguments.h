// The Linux benchmarks' command line: "--library PATH" names our library
// (without it only xdotool's side is measured), and the numbers after it
// shorten or lengthen the run.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace wedge_bench {

struct BenchArguments {
    std::string library;
    std::vector<long> numbers;

    long number(size_t index, long fallback) const { return index < numbers.size() ? numbers[index] : fallback; }
};

inline BenchArguments benchArguments(int argc, char** argv) {
    BenchArguments arguments;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--library") == 0 && i + 1 < argc) {
            arguments.library = argv[++i];
        } else {
            arguments.numbers.push_back(std::atol(argv[i]));
        }
    }
    return arguments;
}

}  // namespace wedge_bench
