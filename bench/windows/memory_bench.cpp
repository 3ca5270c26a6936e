// Memory: the process's private bytes and heap in use before and after
// many catalogue cycles, while a separate process shows ten windows:
//   getWindows then destroy, and getWindows then setWindow, through the
//   DLL's exports with the fake JNI environment;
//   relocateTarget, through wedge_core linked in (through the DLL it is
//   reached only from sendText, whose 200 ms settle would make a thousand
//   of them take minutes).
// "Before" is taken after a short warm-up, once the C runtime, the fake
// environment and Wine have made their one-time allocations.
//
//   memory_bench.exe [cycles] [relocations]   defaults: 10000 1000
#include "bench_output.h"
#include "catalogue_cycles.h"
#include "process_memory.h"
#include "qpc_clock.h"
#include "target_app.h"
#include "wedge_natives.h"

#include <cstdlib>
#include <string>

namespace {

using namespace wedge_bench;
using wedge_test::TargetApp;
using wedge_test::WedgeNatives;

constexpr long TargetWindows = 10;

template <typename Cycle>
void measure(const std::string& caseName, long cycles, Cycle cycle) {
    const long warmUp = cycles / 100 > 10 ? cycles / 100 : 10;
    long succeeded = 0;
    for (long i = 0; i < warmUp; ++i) {
        cycle();
    }
    const uint64_t privateBefore = privateBytes();
    const uint64_t committedBefore = committedPrivateBytes();
    const uint64_t heapBefore = heapBytesInUse();
    const QpcClock clock;
    const LONGLONG start = clock.now();
    for (long i = 0; i < cycles; ++i) {
        succeeded += cycle() ? 1 : 0;
    }
    const double elapsedMs = clock.msBetween(start, clock.now());
    const uint64_t privateAfter = privateBytes();
    const uint64_t committedAfter = committedPrivateBytes();
    const uint64_t heapAfter = heapBytesInUse();
    const auto signedBytes = [](uint64_t value) { return static_cast<double>(value); };
    printRow("memory", caseName, cycles, "succeeded_cycles", static_cast<double>(succeeded));
    printRow("memory", caseName, cycles, "psapi_private_usage_before_bytes", signedBytes(privateBefore));
    printRow("memory", caseName, cycles, "psapi_private_usage_after_bytes", signedBytes(privateAfter));
    printRow("memory", caseName, cycles, "committed_private_before_bytes", signedBytes(committedBefore));
    printRow("memory", caseName, cycles, "committed_private_after_bytes", signedBytes(committedAfter));
    printRow("memory", caseName, cycles, "committed_private_growth_bytes",
             signedBytes(committedAfter) - signedBytes(committedBefore));
    printRow("memory", caseName, cycles, "heap_before_bytes", signedBytes(heapBefore));
    printRow("memory", caseName, cycles, "heap_after_bytes", signedBytes(heapAfter));
    printRow("memory", caseName, cycles, "heap_growth_bytes", signedBytes(heapAfter) - signedBytes(heapBefore));
    printRow("memory", caseName, cycles, "per_cycle_us", elapsedMs * 1000.0 / static_cast<double>(cycles));
    progress("memory " + caseName + ": committed private " + std::to_string(committedBefore) + " -> " +
             std::to_string(committedAfter) + " bytes, heap " + std::to_string(heapBefore) + " -> " +
             std::to_string(heapAfter) + " bytes");
}

}  // namespace

int main(int argc, char** argv) {
    const long cycles = argc > 1 ? std::atol(argv[1]) : 10000;
    const long relocations = argc > 2 ? std::atol(argv[2]) : 1000;

    WedgeNatives natives;
    if (!natives.ready()) {
        progress("memory: kavo_emulator_scanner.dll or one of its exports is missing");
        return 1;
    }
    const std::wstring title = L"Wedge bench memory " + std::to_wstring(GetCurrentProcessId());
    const TargetApp target({L"windows=" + std::to_wstring(TargetWindows) + L":" + title});
    if (target.waitForVisibleWindows(TargetWindows, 30000) < TargetWindows) {
        progress("memory: the target's windows did not appear");
        return 1;
    }

    const auto measureCycle = [](const std::string& caseName, long count, auto cycle) {
        measure(caseName, count, cycle);
    };
    if (!measureCatalogueCycles(natives, cycles, relocations, measureCycle)) {
        progress("memory: no target to relocate");
        return 1;
    }
    return 0;
}
