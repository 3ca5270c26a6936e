// Every figure leaves the program as one CSV row on standard output:
//   row,<figure>,<platform>,<case>,<size>,<metric>,<value>
// The metric's name carries its unit. Progress goes to standard error.
#pragma once

#include <cstdio>
#include <string>

namespace wedge_bench {

#if defined(_WIN64)
inline constexpr char Platform[] = "win64";
#elif defined(_WIN32)
inline constexpr char Platform[] = "win32";
#elif defined(WEDGE_BENCH_LINUX)
inline constexpr char Platform[] = "linux";
#else
inline constexpr char Platform[] = "host";
#endif

inline void printRow(const char* figure, const std::string& caseName, long size, const char* metric, double value) {
    std::printf("row,%s,%s,%s,%ld,%s,%.10g\n", figure, Platform, caseName.c_str(), size, metric, value);
    std::fflush(stdout);
}

inline void progress(const std::string& line) {
    std::fprintf(stderr, "[%s] %s\n", Platform, line.c_str());
    std::fflush(stderr);
}

}  // namespace wedge_bench
