// Memory on the host: the heap in use (mallinfo2) before and after many
// catalogue cycles over a simulated desktop with ten windows:
// getWindows then destroy, getWindows then setWindow (through the bridge's
// marshalling, as the exports call it, with the fake JNI environment), and
// catalogue::relocateTarget. "Before" is taken after a short warm-up.
//
//   memory_bench [cycles] [relocations]   defaults: 10000 1000
#include "bench_output.h"
#include "bridge/marshalling.h"
#include "catalogue/window_catalogue.h"
#include "fake_jni.h"
#include "simulated_target.h"

#include <malloc.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

using namespace wedge_bench;

double heapInUseBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks) + static_cast<double>(info.hblkhd);
}

template <typename Cycle>
void measure(const std::string& caseName, long cycles, Cycle cycle) {
    const long warmUp = cycles / 100 > 10 ? cycles / 100 : 10;
    for (long i = 0; i < warmUp; ++i) {
        cycle();
    }
    long succeeded = 0;
    const double before = heapInUseBytes();
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < cycles; ++i) {
        succeeded += cycle() ? 1 : 0;
    }
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    const double after = heapInUseBytes();
    printRow("memory", caseName, cycles, "succeeded_cycles", static_cast<double>(succeeded));
    printRow("memory", caseName, cycles, "heap_before_bytes", before);
    printRow("memory", caseName, cycles, "heap_after_bytes", after);
    printRow("memory", caseName, cycles, "heap_growth_bytes", after - before);
    printRow("memory", caseName, cycles, "per_cycle_us", elapsed.count() / static_cast<double>(cycles));
    progress("memory " + caseName + ": heap " + std::to_string(before) + " -> " + std::to_string(after) + " bytes");
}

}  // namespace

int main(int argc, char** argv) {
    const long cycles = argc > 1 ? std::atol(argv[1]) : 10000;
    const long relocations = argc > 2 ? std::atol(argv[2]) : 1000;
    freshDesktopWithTarget(10);

    // A fresh environment each cycle: the fake keeps every object it made
    // until it goes, which a JVM's garbage collector would not.
    measure("getWindows_destroy", cycles, [] {
        fakejni::Environment jni;
        const bool listed = wedge::bridge::listWindowTitles(jni.env()) != nullptr;
        wedge::catalogue::destroy();
        return listed;
    });
    measure("getWindows_setWindow", cycles, [] {
        fakejni::Environment jni;
        const jobjectArray titles = wedge::bridge::listWindowTitles(jni.env());
        return titles != nullptr && wedge::catalogue::setWindow(jni.arrayLength(titles) - 1);
    });
    measure("relocateTarget", relocations, [] { return wedge::catalogue::relocateTarget(); });
    wedge::catalogue::destroy();
    return 0;
}
