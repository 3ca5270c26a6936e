// Typing overhead: 100-byte scans (letters; fields ended by Tabs; the
// characters of bytes 128 to 255) typed into an xterm running cat, by our
// library's sendText, by the xdotool command and by libxdo in this
// process, run by run in turn. Each figure is the wall time beyond the
// tool's own pauses, per byte, from the median run; and how many runs
// delivered the text exactly. A fifth "tool" types nothing and only sleeps
// our library's pauses with plain nanosleep: what it takes beyond them is
// how late a plain sleep wakes up on the machine at the time.
//
// `xdotool type --delay 50` pauses 25 ms per character in all (a quarter
// of the delay after pressing, another after releasing); --delay 100
// makes the same 50 ms per character that our library pauses.
//
//   linux_typing_bench [--library PATH] [runs] [bytes]   defaults: 5 100
#include "bench_arguments.h"
#include "bench_output.h"
#include "scan_texts.h"
#include "statistics.h"
#include "text_codec.h"
#include "typing_session.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace wedge_bench;

struct Results {
    std::vector<double> wallMs;
    int reported = 0;
    int delivered = 0;
};

void report(const std::string& kind, const Typist& typist, const std::vector<uint8_t>& text, const Results& results) {
    const Spread spread = spreadOf(results.wallMs);
    const double pauses = typist.pausesMs(text);
    const long bytes = static_cast<long>(text.size());
    const std::string caseName = kind + "/" + typist.name();
    const char* figure = "typing_overhead";
    printRow(figure, caseName, bytes, "tabs", static_cast<double>(tabsIn(text)));
    printRow(figure, caseName, bytes, "runs", static_cast<double>(results.wallMs.size()));
    printRow(figure, caseName, bytes, "reported_runs", results.reported);
    printRow(figure, caseName, bytes, "delivered_runs", results.delivered);
    printRow(figure, caseName, bytes, "pauses_ms", pauses);
    printRow(figure, caseName, bytes, "min_ms", spread.min);
    printRow(figure, caseName, bytes, "median_ms", spread.median);
    printRow(figure, caseName, bytes, "max_ms", spread.max);
    printRow(figure, caseName, bytes, "overhead_per_byte_ms", (spread.median - pauses) / static_cast<double>(bytes));
    progress("typing " + caseName + ": median " + std::to_string(spread.median) + " ms, pauses " +
             std::to_string(pauses) + " ms, delivered " + std::to_string(results.delivered) + " of " +
             std::to_string(results.wallMs.size()));
}

}  // namespace

int main(int argc, char** argv) {
    const BenchArguments arguments = benchArguments(argc, argv);
    const long runs = arguments.number(0, 5);
    const auto bytes = static_cast<size_t>(arguments.number(1, 100));

    TypingSession session(arguments.library, "typing");
    if (!session.problem().empty()) {
        progress("typing: " + session.problem());
        return 1;
    }
    using Way = XdotoolTypist::Way;
    const auto typists = session.typists({{Way::Command, 50}, {Way::Command, 100}, {Way::Library, 100}}, true);
    for (const char* kind : {"letters", "tabs", "high"}) {
        const std::vector<uint8_t> text = scanText(kind, bytes);
        const std::u16string expected = charactersOf(text);
        std::map<std::string, Results> results;
        for (long run = 0; run < runs; ++run) {
            // Each tool goes first in turn, so that none always follows
            // the same one.
            for (size_t i = 0; i < typists.size(); ++i) {
                Typist& typist = *typists[(i + static_cast<size_t>(run)) % typists.size()];
                const TypingSession::Run typed = session.run(typist, text, expected.size());
                Results& mine = results[typist.name()];
                mine.wallMs.push_back(typed.typed.wallMs);
                mine.reported += typed.typed.reported ? 1 : 0;
                mine.delivered += typed.arrived == expected ? 1 : 0;
            }
        }
        for (const auto& typist : typists) {
            report(kind, *typist, text, results[typist->name()]);
        }
    }
    return 0;
}
