// The CPU time of turning bytes into keystrokes on the host:
// keystrokes::typeByte over the simulated desktop, for every byte value
// and for each route a byte can take. The simulated desktop's own work
// (applying each event, logging it) is part of the figure; its virtual
// clock makes the 100 ms Tab hold free. Each batch of about 3,000 bytes
// is timed as a whole, on a fresh desktop whose event log has room for
// it, so the log's own reallocations stay out of the figure.
//
//   translation_cpu_bench [batches]   default: 30
#include "bench_output.h"
#include "keystrokes/byte_translation.h"
#include "simulated/simulated_desktop.h"
#include "simulated_target.h"
#include "statistics.h"

#include <malloc.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

using namespace wedge_bench;

constexpr size_t BatchBytes = 3072;
constexpr size_t LogCapacityEvents = size_t{1} << 16;

double cpuNs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

std::vector<uint8_t> bytesWhere(bool (*belongs)(int)) {
    std::vector<uint8_t> bytes;
    for (int value = 0; value < 256; ++value) {
        if (belongs(value)) {
            bytes.push_back(static_cast<uint8_t>(value));
        }
    }
    return bytes;
}

// Types untimed letters until the event log has just doubled to at least
// minCapacity events: half of it is then free, and a timed batch that fits
// there adds no reallocation of the log to the figure.
void growEventLog(size_t minCapacity) {
    for (;;) {
        const size_t before = wedge::simulated::injectedEvents().capacity();
        wedge::keystrokes::typeByte('a', wedge::platform::keyboardLayoutOf(nullptr));
        const size_t after = wedge::simulated::injectedEvents().capacity();
        if (after != before && after >= minCapacity) {
            return;
        }
    }
}

void measure(const std::string& route, const std::vector<uint8_t>& bytes, int batches) {
    // No byte injects more than ten events, so a batch fits in the free
    // half of a log of LogCapacityEvents.
    const size_t passes = (BatchBytes + bytes.size() - 1) / bytes.size();
    std::vector<double> nsPerByte;
    long failures = 0;
    int growthBatches = 0;
    for (int batch = 0; batch < batches; ++batch) {
        freshDesktopWithTarget(1);
        growEventLog(LogCapacityEvents);
        const size_t capacityBefore = wedge::simulated::injectedEvents().capacity();
        const wedge::platform::Keyboard layout = wedge::platform::keyboardLayoutOf(nullptr);
        const double start = cpuNs();
        for (size_t pass = 0; pass < passes; ++pass) {
            for (const uint8_t value : bytes) {
                failures += wedge::keystrokes::typeByte(value, layout) ? 0 : 1;
            }
        }
        const double elapsed = cpuNs() - start;
        growthBatches += wedge::simulated::injectedEvents().capacity() != capacityBefore ? 1 : 0;
        nsPerByte.push_back(elapsed / static_cast<double>(passes * bytes.size()));
    }
    const Spread spread = spreadOf(nsPerByte);
    const long size = static_cast<long>(bytes.size());
    printRow("translation_cpu", route, size, "bytes_per_batch", static_cast<double>(passes * bytes.size()));
    printRow("translation_cpu", route, size, "batches", batches);
    printRow("translation_cpu", route, size, "batches_with_log_growth", growthBatches);
    printRow("translation_cpu", route, size, "failed_bytes", static_cast<double>(failures));
    printRow("translation_cpu", route, size, "min_ns_per_byte", spread.min);
    printRow("translation_cpu", route, size, "median_ns_per_byte", spread.median);
    printRow("translation_cpu", route, size, "max_ns_per_byte", spread.max);
    progress("translation " + route + ": median " + std::to_string(spread.median) + " ns per byte");
}

}  // namespace

int main(int argc, char** argv) {
    const int batches = argc > 1 ? std::atoi(argv[1]) : 30;
    // The event log's blocks stay in the heap between batches instead of
    // going back to the system, so that later batches write to pages that
    // are already mapped and page faults stay out of the figure.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    measure("every_byte_value", bytesWhere([](int) { return true; }), batches);
    measure("key_chord", bytesWhere([](int v) { return (v >= 32 && v <= 126) || v == 13; }), batches);
    measure("alt_code", bytesWhere([](int v) { return v >= 128; }), batches);
    measure("tab", bytesWhere([](int v) { return v == 9; }), batches);
    measure("dropped", bytesWhere([](int v) { return v == 127 || (v < 32 && v != 9 && v != 13); }), batches);
    wedge::catalogue::destroy();
    return 0;
}
