// Heap allocations made by one keystrokes::sendText on the host, counted
// by the replacement operator new in allocation_counter.cpp, typing from a
// preallocated buffer into the simulated desktop.
//
// The simulated desktop logs every injected event and activation in
// vectors, and appends what the target receives to a string; those grow
// by doubling, so a call now and then allocates on the desktop's side. The
// desktop is warmed first, each call is counted on its own, and calls
// during which the event or activation log reallocated are told apart.
// The library's own share is the same on every call, so it is the fewest
// allocations any call made.
//
//   typing_allocations_bench [calls]   default: 200
#include "allocation_counter.h"
#include "bench_output.h"
#include "buffer_text.h"
#include "keystrokes/text_typing.h"
#include "simulated/simulated_desktop.h"
#include "scan_texts.h"
#include "simulated_target.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace wedge_bench;
namespace simulated = wedge::simulated;

struct LogCapacities {
    size_t events;
    size_t activations;
    size_t restorations;
    bool operator==(const LogCapacities& other) const {
        return events == other.events && activations == other.activations && restorations == other.restorations;
    }
};

LogCapacities logCapacities() {
    return {simulated::injectedEvents().capacity(), simulated::activations().capacity(),
            simulated::restorations().capacity()};
}

std::vector<uint8_t> everyByteValue() {
    std::vector<uint8_t> bytes;
    for (int value = 0; value < 256; ++value) {
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return bytes;
}

void measure(const std::string& caseName, const std::vector<uint8_t>& bytes, int calls) {
    freshDesktopWithTarget(3);
    const BufferText text(bytes);
    for (int i = 0; i < 64; ++i) {
        wedge::keystrokes::sendText(text.source());
    }
    uint64_t fewest = UINT64_MAX;
    uint64_t most = 0;
    uint64_t mostWithStableLogs = 0;
    int withoutAllocation = 0;
    int logGrowthCalls = 0;
    int succeeded = 0;
    for (int i = 0; i < calls; ++i) {
        const LogCapacities before = logCapacities();
        const uint64_t start = allocationsSoFar();
        succeeded += wedge::keystrokes::sendText(text.source()) ? 1 : 0;
        const uint64_t made = allocationsSoFar() - start;
        const bool logsGrew = !(logCapacities() == before);
        fewest = std::min(fewest, made);
        most = std::max(most, made);
        withoutAllocation += made == 0 ? 1 : 0;
        logGrowthCalls += logsGrew ? 1 : 0;
        if (!logsGrew) {
            mostWithStableLogs = std::max(mostWithStableLogs, made);
        }
    }
    const long size = static_cast<long>(bytes.size());
    printRow("typing_allocations", caseName, size, "calls", calls);
    printRow("typing_allocations", caseName, size, "succeeded_calls", succeeded);
    printRow("typing_allocations", caseName, size, "library_allocations_per_call", static_cast<double>(fewest));
    printRow("typing_allocations", caseName, size, "calls_without_allocation", withoutAllocation);
    printRow("typing_allocations", caseName, size, "calls_with_log_growth", logGrowthCalls);
    printRow("typing_allocations", caseName, size, "max_allocations_stable_logs",
             static_cast<double>(mostWithStableLogs));
    printRow("typing_allocations", caseName, size, "max_allocations_any_call", static_cast<double>(most));
    progress("typing allocations " + caseName + " " + std::to_string(size) + " bytes: fewest " +
             std::to_string(fewest) + ", most " + std::to_string(most));
}

}  // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::atoi(argv[1]) : 200;
    for (const char* kind : {"letters", "tabs"}) {
        for (const size_t bytes : {size_t{1}, size_t{10}, size_t{100}}) {
            measure(kind, scanText(kind, bytes), calls);
        }
    }
    measure("every_byte_value", everyByteValue(), calls);
    wedge::catalogue::destroy();
    return 0;
}
