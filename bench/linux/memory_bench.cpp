// Memory: resident set and heap in use before and after many catalogue
// cycles, while another client shows ten titled windows:
//   getWindows then destroy, and getWindows then setWindow, through the
//   library's exports; relocateTarget, through the X11 core linked in
//   (bench/common/catalogue_cycles.h).
// "Before" is taken after a warm-up of 10% of the cycles (at least 10):
// the resident set counts pages, and the first cycles still touch new ones
// where the heap had room that no cycle had used yet. glibc is told to keep
// the free top of its heap: trimming it and growing it again would move the
// resident set by up to 128 KiB between two readings with no growth at all.
//
//   linux_memory_bench --library PATH [cycles] [relocations]   defaults: 10000 1000
#include "bench_arguments.h"
#include "bench_output.h"
#include "catalogue_cycles.h"
#include "child_process.h"
#include "polling.h"
#include "wedge_exports.h"
#include "x_windows.h"

#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using namespace wedge_bench;

constexpr long OtherClientWindows = 10;

double residentBytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// Bytes in allocated blocks, from the heap and from mmap.
double heapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

template <typename Cycle>
void measure(const std::string& caseName, long cycles, Cycle cycle) {
    const long warmUp = cycles / 10 > 10 ? cycles / 10 : 10;
    for (long i = 0; i < warmUp; ++i) {
        cycle();
    }
    const double residentBefore = residentBytes();
    const double heapBefore = heapBytes();
    long succeeded = 0;
    double residentHalfway = residentBefore;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < cycles; ++i) {
        succeeded += cycle() ? 1 : 0;
        if (i + 1 == cycles / 2) {
            residentHalfway = residentBytes();
        }
    }
    const double elapsedMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double residentAfter = residentBytes();
    const double heapAfter = heapBytes();
    printRow("memory", caseName, cycles, "succeeded_cycles", static_cast<double>(succeeded));
    printRow("memory", caseName, cycles, "resident_before_bytes", residentBefore);
    printRow("memory", caseName, cycles, "resident_after_bytes", residentAfter);
    printRow("memory", caseName, cycles, "resident_growth_bytes", residentAfter - residentBefore);
    // A leak goes on growing; a heap that settles grows once, early.
    printRow("memory", caseName, cycles, "resident_growth_second_half_bytes", residentAfter - residentHalfway);
    printRow("memory", caseName, cycles, "heap_before_bytes", heapBefore);
    printRow("memory", caseName, cycles, "heap_after_bytes", heapAfter);
    printRow("memory", caseName, cycles, "heap_growth_bytes", heapAfter - heapBefore);
    printRow("memory", caseName, cycles, "per_cycle_us", elapsedMs * 1000.0 / static_cast<double>(cycles));
    progress("memory " + caseName + ": resident " + std::to_string(residentBefore) + " -> " +
             std::to_string(residentAfter) + " bytes, heap " + std::to_string(heapBefore) + " -> " +
             std::to_string(heapAfter) + " bytes, " + std::to_string(succeeded) + " cycles succeeded");
}

}  // namespace

int main(int argc, char** argv) {
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    const BenchArguments arguments = benchArguments(argc, argv);
    const long cycles = arguments.number(0, 10000);
    const long relocations = arguments.number(1, 1000);
    if (arguments.library.empty()) {
        progress("memory: --library PATH is needed");
        return 2;
    }
    WedgeExports exports(arguments.library);
    if (!exports.problem().empty()) {
        progress("memory: " + exports.problem());
        return 1;
    }
    const XConnection x;
    const std::string title = "Wedge bench memory " + std::to_string(getpid());
    const ChildProcess opener({siblingProgram("titled_windows"), std::to_string(OtherClientWindows), title});
    if (x.display() == nullptr ||
        !waitUntil(30000, [&] { return bareClientListing(x.display()) >= OtherClientWindows; })) {
        progress("memory: the other client's windows did not appear");
        return 1;
    }

    const auto measureCycle = [](const std::string& caseName, long count, auto cycle) {
        measure(caseName, count, cycle);
    };
    if (!measureCatalogueCycles(exports, cycles, relocations, measureCycle)) {
        progress("memory: no target to relocate");
        return 1;
    }
    return 0;
}
