// Pacing: the wall time of one sendText through the DLL's export, typing
// into the edit of a separate process, beside what the library's fixed
// pauses alone take (200 ms settle, 50 ms per byte, 100 ms per Tab).
//
//   pacing_bench.exe [runs] [bytes...]     defaults: 5 runs of 1, 10, 100
#include "bench_output.h"
#include "dll_natives.h"
#include "edit_control.h"
#include "fake_jni.h"
#include "qpc_clock.h"
#include "scan_texts.h"
#include "statistics.h"
#include "target_process.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace wedge_bench;

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

bool chooseTarget(const DllNatives& natives, fakejni::Environment& jni, const std::wstring& title) {
    const jobjectArray titles = natives.getWindows(jni.env());
    if (titles == nullptr) {
        return false;
    }
    const std::vector<std::u16string> listed = jni.strings(titles);
    const std::u16string wanted(title.begin(), title.end());
    for (size_t i = 0; i < listed.size(); ++i) {
        if (listed[i] == wanted) {
            return natives.setWindow(jni.env(), static_cast<jint>(i));
        }
    }
    natives.destroy(jni.env());
    return false;
}

void measure(const DllNatives& natives, fakejni::Environment& jni, HWND frame, const std::string& kind, long bytes,
             int runs) {
    const std::vector<uint8_t> text = scanText(kind, static_cast<size_t>(bytes));
    const std::wstring expected = withoutTabs(std::wstring(text.begin(), text.end()));
    const QpcClock clock;
    std::vector<double> wallMs;
    int delivered = 0;
    for (int run = 0; run < runs; ++run) {
        clearEdit(frame);
        waitForEditText(frame, L"", 2000);
        const jbyteArray array = jni.byteArray(text);
        const LONGLONG start = clock.now();
        const bool sent = natives.sendText(jni.env(), array);
        const LONGLONG end = clock.now();
        wallMs.push_back(clock.msBetween(start, end));
        if (!sent) {
            progress("sendText failed: " + kind + " " + std::to_string(bytes) + " bytes");
        }
        // The keys are still being handled by the target when sendText
        // returns; its edit is read until it holds them all.
        delivered += sent && waitForEditText(frame, expected, 5000) ? 1 : 0;
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

    const DllNatives natives;
    if (!natives.ready()) {
        progress("pacing: kavo_emulator_scanner.dll or one of its exports is missing");
        return 1;
    }
    const std::wstring title = L"Wedge bench editor " + std::to_wstring(GetCurrentProcessId());
    const TargetProcess target({L"editor", title});
    const std::vector<HWND> frames = target.waitForVisibleWindows(1, 10000);
    fakejni::Environment jni;
    if (frames.empty() || !chooseTarget(natives, jni, title)) {
        progress("pacing: the target editor did not appear or could not be chosen");
        return 1;
    }
    for (const char* kind : {"letters", "tabs"}) {
        for (const long bytes : sizes) {
            measure(natives, jni, frames.front(), kind, bytes, runs);
        }
    }
    return 0;
}
