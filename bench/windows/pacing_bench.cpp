// Pacing: the wall time of one sendText through the DLL's export, typing
// into the edit of a separate process, beside what the library's fixed
// pauses alone take (200 ms settle, 50 ms per byte, 100 ms per Tab).
//
//   pacing_bench.exe [runs] [bytes...]     defaults: 5 runs of 1, 10, 100
#include "bench_output.h"
#include "qpc_clock.h"
#include "scan_texts.h"
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

// What the edit should hold: the letters. Tabs are left out on both sides
// of the comparison, since Wine 8 types nothing for a Tab sent by scan code.
std::wstring withoutTabs(const std::wstring& text) {
    std::wstring kept;
    for (const wchar_t unit : text) {
        if (unit != L'\t') {
            kept.push_back(unit);
        }
    }
    return kept;
}

void measure(WedgeNatives& natives, HWND frame, const std::string& kind, long bytes, int runs) {
    const std::vector<uint8_t> text = scanText(kind, static_cast<size_t>(bytes));
    const std::wstring expected = withoutTabs(std::wstring(text.begin(), text.end()));
    const QpcClock clock;
    std::vector<double> wallMs;
    int delivered = 0;
    for (int run = 0; run < runs; ++run) {
        wedge_test::clearEdit(frame);
        wedge_test::waitForEditText(frame, L"");
        const jbyteArray array = natives.jni().byteArray(text);
        const LONGLONG start = clock.now();
        const bool sent = natives.sendText(array);
        const LONGLONG end = clock.now();
        wallMs.push_back(clock.msBetween(start, end));
        if (!sent) {
            progress("sendText failed: " + kind + " " + std::to_string(bytes) + " bytes");
        }
        // The keys are still being handled by the target when sendText
        // returns; its edit is read until it holds them all.
        delivered += sent && wedge_test::waitForEditText(frame, expected) == expected ? 1 : 0;
    }
    const Spread spread = spreadOf(wallMs);
    const double nominal = nominalMs(text);
    printRow("pacing", kind, bytes, "tabs", static_cast<double>(tabsIn(text)));
    printRow("pacing", kind, bytes, "runs", runs);
    printRow("pacing", kind, bytes, "delivered_runs", delivered);
    printRow("pacing", kind, bytes, "nominal_ms", nominal);
    printRow("pacing", kind, bytes, "min_ms", spread.min);
    printRow("pacing", kind, bytes, "median_ms", spread.median);
    printRow("pacing", kind, bytes, "max_ms", spread.max);
    printRow("pacing", kind, bytes, "overhead_median_ms", spread.median - nominal);
    printRow("pacing", kind, bytes, "overhead_per_byte_ms", (spread.median - nominal) / static_cast<double>(bytes));
    progress("pacing " + kind + " " + std::to_string(bytes) + " bytes: median " + std::to_string(spread.median) +
             " ms, nominal " + std::to_string(nominal) + " ms");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    std::vector<long> sizes;
    for (int i = 2; i < argc; ++i) {
        sizes.push_back(std::atol(argv[i]));
    }
    if (sizes.empty()) {
        sizes = {1, 10, 100};
    }

    WedgeNatives natives;
    if (!natives.ready()) {
        progress("pacing: kavo_emulator_scanner.dll or one of its exports is missing");
        return 1;
    }
    const std::wstring title = L"Wedge bench editor " + std::to_wstring(GetCurrentProcessId());
    const TargetApp target({L"frame=" + title});
    const HWND frame = target.waitForFrame(title);
    if (frame == nullptr || !natives.chooseTarget(std::u16string(title.begin(), title.end()))) {
        progress("pacing: the target editor did not appear or could not be chosen");
        return 1;
    }
    for (const char* kind : {"letters", "tabs"}) {
        for (const long bytes : sizes) {
            measure(natives, frame, kind, bytes, runs);
        }
    }
    return 0;
}
