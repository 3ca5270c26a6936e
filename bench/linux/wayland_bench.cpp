// Our library on a wlroots compositor (headless sway, run by
// scripts/sway-session.sh), beside wtype: typing into foot terminals
// running cat, and listing XWayland windows that another client opens.
//
// - Typing overhead: 100-byte scans (letters; fields ended by Tabs; the
//   characters of bytes 128 to 255), the wall time of sendText beyond its
//   fixed pauses, per byte, from the median run; and wtype's beyond its
//   own (-d 50: 50 ms per character, as ours), one process per scan.
// - Exactness: short scans in a row, each a new wtype process as a scan
//   from a new program would be (on the headless seat without a keyboard,
//   and again once our virtual keyboard is there), and each a sendText
//   from one process: how many arrived whole.
//   Beside them, the same pauses slept plainly: how late a sleep wakes on
//   the machine at the time.
// - Listing: getWindows with that many toplevels besides the sinks.
//
// The sinks and wtype run as the session's user (WEDGE_SESSION_UID), in a
// folder of theirs (WEDGE_SESSION_DIR).
//
//   linux_wayland_bench --library PATH [runs] [short scans] [windows]   defaults: 3 20 100
#include "bench_arguments.h"
#include "bench_output.h"
#include "child_process.h"
#include "polling.h"
#include "scan_texts.h"
#include "statistics.h"
#include "text_codec.h"
#include "wedge_exports.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace wedge_bench;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// A command as the session's user.
std::vector<std::string> asSessionUser(const std::vector<std::string>& command) {
    const std::string user = environment("WEDGE_SESSION_UID");
    std::vector<std::string> full = {"setpriv", "--reuid=" + user, "--regid=" + user, "--clear-groups", "--",
                                     "env", "HOME=" + environment("WEDGE_SESSION_DIR"), "LC_ALL=C.UTF-8"};
    full.insert(full.end(), command.begin(), command.end());
    return full;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A foot terminal whose raw terminal hands every byte to cat, into a file.
class FootSink {
public:
    explicit FootSink(const std::string& title)
        : title_(title), file_(environment("WEDGE_SESSION_DIR") + "/bench-" + title + ".bin"),
          foot_(asSessionUser({"foot", "-T", title, "sh", "-c", "stty raw -echo && exec cat > \"$0\"", file_})) {
        ready_ = waitUntil(10000, [&] { return std::ifstream(file_).good(); });
    }

    bool ready() const { return ready_; }
    const std::string& file() const { return file_; }

    // What arrived, once at least bytes of it did or a second passed.
    std::string received(size_t bytes) const {
        waitUntil(1000, [&] { return readFile(file_).size() >= bytes; });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return readFile(file_);
    }

    const std::string& title() const { return title_; }

private:
    std::string title_;
    std::string file_;
    ChildProcess foot_;
    bool ready_ = false;
};

size_t offset(const std::string& file) { return readFile(file).size(); }

void typingOverhead(WedgeExports& wedge, FootSink& sink, long runs) {
    for (const char* kind : {"letters", "tabs", "high"}) {
        const std::vector<uint8_t> text = scanText(kind, 100);
        const std::string expected = utf8Of(charactersOf(text));
        std::vector<double> ours;
        std::vector<double> theirs;
        std::vector<double> sleeps;
        int oursExact = 0;
        int theirsExact = 0;
        for (long run = 0; run < runs; ++run) {
            size_t before = offset(sink.file());
            const jbyteArray array = wedge.jni().byteArray(text);
            Clock::time_point start = Clock::now();
            const bool typed = wedge.sendText(array);
            ours.push_back(msSince(start));
            oursExact += typed && sink.received(before + expected.size()).substr(before) == expected ? 1 : 0;

            // wtype types into what has the keyboard: the sink, after our scan.
            before = offset(sink.file());
            start = Clock::now();
            runToEnd(asSessionUser({"wtype", "-d", "50", expected}));
            theirs.push_back(msSince(start));
            theirsExact += sink.received(before + expected.size()).substr(before) == expected ? 1 : 0;

            // Our pauses alone, slept plainly: how late sleeps wake on the
            // machine at the time.
            start = Clock::now();
            std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<long>(SettleMs)));
            for (const uint8_t value : text) {
                std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<long>(PerByteMs + (value == 9 ? TabHoldMs : 0))));
            }
            sleeps.push_back(msSince(start));
        }
        const double oursPauses = nominalMs(text);
        const double theirPauses = PerByteMs * static_cast<double>(text.size());
        const Spread ourSpread = spreadOf(ours);
        const Spread theirSpread = spreadOf(theirs);
        const std::string caseName = std::string("wayland-") + kind;
        printRow("wayland_typing", caseName + "/ours", 100, "overhead_per_byte_ms", (ourSpread.median - oursPauses) / 100);
        printRow("wayland_typing", caseName + "/ours", 100, "exact_runs", oursExact);
        printRow("wayland_typing", caseName + "/wtype", 100, "overhead_per_byte_ms",
                 (theirSpread.median - theirPauses) / 100);
        printRow("wayland_typing", caseName + "/wtype", 100, "exact_runs", theirsExact);
        printRow("wayland_typing", caseName + "/sleep", 100, "overhead_per_byte_ms",
                 (spreadOf(sleeps).median - oursPauses) / 100);
        printRow("wayland_typing", caseName, 100, "runs", static_cast<double>(runs));
        progress(caseName + ": ours " + std::to_string(ourSpread.median) + " ms (pauses " + std::to_string(oursPauses) +
                 "), wtype " + std::to_string(theirSpread.median) + " ms (pauses " + std::to_string(theirPauses) +
                 "); exact " + std::to_string(oursExact) + " and " + std::to_string(theirsExact) + " of " +
                 std::to_string(runs));
    }
}

std::string shortScan(long scan) { return "scan" + std::to_string(100 + scan) + "\r"; }

// Each scan a new wtype process, as a scan from a new program would be;
// each whole, or not: the sink is read after every one.
void wtypeExactness(const FootSink& sink, long scans, const char* seat) {
    int whole = 0;
    for (long scan = 0; scan < scans; ++scan) {
        const std::string text = shortScan(scan);
        const size_t before = offset(sink.file());
        runToEnd(asSessionUser({"wtype", "-d", "50", text.substr(0, text.size() - 1), "-k", "Return"}));
        whole += sink.received(before + text.size()).substr(before) == text ? 1 : 0;
    }
    printRow("wayland_exactness", std::string("short-scans/wtype/") + seat, scans, "whole_scans", whole);
    progress(std::string("short scans whole, wtype, ") + seat + ": " + std::to_string(whole) + " of " +
             std::to_string(scans));
}

void ourExactness(WedgeExports& wedge, const FootSink& sink, long scans) {
    int whole = 0;
    for (long scan = 0; scan < scans; ++scan) {
        const std::string text = shortScan(scan);
        const size_t before = offset(sink.file());
        const jbyteArray array = wedge.jni().byteArray(std::vector<uint8_t>(text.begin(), text.end()));
        const bool typed = wedge.sendText(array);
        whole += typed && sink.received(before + text.size()).substr(before) == text ? 1 : 0;
    }
    printRow("wayland_exactness", "short-scans/ours", scans, "whole_scans", whole);
    progress("short scans whole, ours: " + std::to_string(whole) + " of " + std::to_string(scans));
}

void listing(WedgeExports& wedge, long windows) {
    const ChildProcess opener(asSessionUser({siblingProgram("titled_windows"), std::to_string(windows), "Listed"}));
    long listed = 0;
    waitUntil(30000, [&] {
        listed = wedge.jni().arrayLength(wedge.getWindowsArray());
        return listed >= windows + 1;
    });
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        const Clock::time_point start = Clock::now();
        wedge.getWindowsArray();
        times.push_back(msSince(start));
        wedge.destroy();
    }
    const Spread spread = spreadOf(times);
    printRow("wayland_listing", "toplevels", listed, "median_ms", spread.median);
    printRow("wayland_listing", "toplevels", listed, "max_ms", spread.max);
    progress("listing " + std::to_string(listed) + " toplevels: median " + std::to_string(spread.median) + " ms");
}

}  // namespace

int main(int argc, char** argv) {
    const BenchArguments arguments = benchArguments(argc, argv);
    WedgeExports wedge(arguments.library);
    if (!wedge.problem().empty() || environment("WAYLAND_DISPLAY").empty()) {
        progress("wayland: " + (wedge.problem().empty() ? std::string("no WAYLAND_DISPLAY") : wedge.problem()));
        return 1;
    }
    FootSink sink("Wayland bench sink");
    if (!sink.ready()) {
        progress("wayland: the foot sink did not come up");
        return 1;
    }
    const long scans = arguments.number(1, 20);
    // Before our library connects: the headless seat has no keyboard
    // until a virtual one comes, as at each wtype process.
    wtypeExactness(sink, scans, "seat-without-keyboard");
    if (!wedge.chooseTarget(std::u16string(sink.title().begin(), sink.title().end()))) {
        progress("wayland: the sink is not listed");
        return 1;
    }
    typingOverhead(wedge, sink, arguments.number(0, 3));
    ourExactness(wedge, sink, scans);
    // Our virtual keyboard stays while our connection does: the seat has
    // a keyboard, as a desktop with a real one has.
    wtypeExactness(sink, scans, "seat-with-keyboard");
    listing(wedge, arguments.number(2, 100));
    return 0;
}
