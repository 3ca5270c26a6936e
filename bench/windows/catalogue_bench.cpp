// Catalogue scaling: listing the desktop while a separate process shows
// 10, 100 and 1,000 visible, titled top-level windows, three ways in the
// same run and interleaved: the bare Win32 loop, wedge_core's
// catalogue::listWindows linked in, and the DLL's getWindows export with
// the fake JNI environment (which builds the String[] too).
//
//   catalogue_bench.exe [repetitions] [windows...]   defaults: 15; 10 100 1000
#include "bare_enumeration.h"
#include "bench_output.h"
#include "catalogue/window_catalogue.h"
#include "qpc_clock.h"
#include "statistics.h"
#include "target_app.h"
#include "wedge_natives.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace wedge_bench;
using wedge_test::TargetApp;
using wedge_test::WedgeNatives;

constexpr DWORD SettleAfterOpeningMs = 1500;

struct Samples {
    std::vector<double> bareMs;
    std::vector<double> coreMs;
    std::vector<double> dllMs;
    int visited = 0;
    int bareTitled = 0;
    int coreListed = 0;
    int dllListed = 0;
};

void measureOnce(WedgeNatives& natives, const QpcClock& clock, Samples& samples) {
    LONGLONG start = clock.now();
    const BareEnumeration bare = enumerateBare();
    samples.bareMs.push_back(clock.msBetween(start, clock.now()));
    samples.visited = bare.visited;
    samples.bareTitled = bare.titled;

    start = clock.now();
    const int32_t coreCount = wedge::catalogue::listWindows().count();
    samples.coreMs.push_back(clock.msBetween(start, clock.now()));
    samples.coreListed = coreCount;
    wedge::catalogue::destroy();

    // A fresh environment each time: the fake keeps every object it made.
    natives.renewJni();
    start = clock.now();
    const jobjectArray titles = natives.getWindowsArray();
    samples.dllMs.push_back(clock.msBetween(start, clock.now()));
    samples.dllListed = titles != nullptr ? natives.jni().arrayLength(titles) : -1;
    natives.destroy();
}

void report(long windows, const Samples& samples) {
    const Spread bare = spreadOf(samples.bareMs);
    const Spread core = spreadOf(samples.coreMs);
    const Spread dll = spreadOf(samples.dllMs);
    const double listed = samples.coreListed > 0 ? samples.coreListed : 1;
    const char* figure = "catalogue";
    printRow(figure, "windows", windows, "top_level_windows", samples.visited);
    printRow(figure, "windows", windows, "listed_windows", samples.coreListed);
    printRow(figure, "windows", windows, "repetitions", static_cast<double>(samples.bareMs.size()));
    const auto printTimes = [&](const char* way, const Spread& times, double listedByThisWay, bool ratio) {
        printRow(figure, way, windows, "median_ms", times.median);
        printRow(figure, way, windows, "min_ms", times.min);
        printRow(figure, way, windows, "max_ms", times.max);
        printRow(figure, way, windows, "per_window_us", times.median * 1000.0 / listed);
        if (ratio) {
            printRow(figure, way, windows, "ratio_to_bare", times.median / bare.median);
        }
        printRow(figure, way, windows, "listed_windows", listedByThisWay);
    };
    printTimes("bare_loop", bare, samples.bareTitled, false);
    printTimes("core_listWindows", core, samples.coreListed, true);
    printTimes("dll_getWindows", dll, samples.dllListed, true);
    progress("catalogue " + std::to_string(windows) + " windows: bare " + std::to_string(bare.median) +
             " ms, listWindows " + std::to_string(core.median) + " ms, getWindows " + std::to_string(dll.median) +
             " ms");
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::atoi(argv[1]) : 15;
    std::vector<long> counts;
    for (int i = 2; i < argc; ++i) {
        counts.push_back(std::atol(argv[i]));
    }
    if (counts.empty()) {
        counts = {10, 100, 1000};
    }
    WedgeNatives natives;
    if (!natives.ready()) {
        progress("catalogue: kavo_emulator_scanner.dll or one of its exports is missing");
        return 1;
    }
    const QpcClock clock;
    for (const long windows : counts) {
        const std::wstring title =
            L"Wedge bench window " + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(windows);
        const TargetApp target({L"windows=" + std::to_wstring(windows) + L":" + title});
        const size_t shown = target.waitForVisibleWindows(static_cast<size_t>(windows), 120000);
        if (shown < static_cast<size_t>(windows)) {
            progress("catalogue: only " + std::to_string(shown) + " of " + std::to_string(windows) +
                     " windows appeared");
            return 1;
        }
        // The new windows keep their process busy for a while (painting,
        // activation); GetWindowTextLengthW waits on that process, so the
        // timing starts once it has settled.
        Sleep(SettleAfterOpeningMs);
        Samples warmUp;
        for (int i = 0; i < 3; ++i) {
            measureOnce(natives, clock, warmUp);
        }
        Samples samples;
        for (int i = 0; i < repetitions; ++i) {
            measureOnce(natives, clock, samples);
        }
        report(windows, samples);
    }
    return 0;
}
