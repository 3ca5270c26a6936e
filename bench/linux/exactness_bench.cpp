// Exactness at speed: 1,000 characters, a third of them from bytes 128 to
// 255 (which the display's keymap mostly lacks), typed into an xterm
// running cat by our library (at its own pace, 50 ms per byte) and by
// xdotool at 50 ms, at its default 12 ms and at 5 ms per character
// (command and libxdo). What arrived is compared with what was sent:
// characters wrong, missing or extra, per run, and the median over runs.
//
//   linux_exactness_bench [--library PATH] [runs] [characters]   defaults: 3 1000
#include "bench_arguments.h"
#include "bench_output.h"
#include "edit_count.h"
#include "scan_texts.h"
#include "statistics.h"
#include "text_codec.h"
#include "typing_session.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace wedge_bench;

// Printable ASCII, space included, with every third character one of the
// bytes 128 to 255 that Windows-1252 defines.
std::vector<uint8_t> mixedText(size_t characters) {
    const std::vector<uint8_t> high = windows1252HighBytes();
    std::vector<uint8_t> text;
    size_t ascii = 0;
    for (size_t i = 0; i < characters; ++i) {
        text.push_back(i % 3 == 2 ? high[(i / 3) % high.size()] : static_cast<uint8_t>(32 + ascii++ % 95));
    }
    return text;
}

struct Tally {
    std::vector<double> wrong;
    std::vector<double> missing;
    std::vector<double> extra;
    std::vector<double> total;
    std::vector<double> wallMs;
    int exact = 0;
};

void report(const std::string& tool, long characters, const Tally& tally) {
    const char* figure = "exactness";
    printRow(figure, tool, characters, "runs", static_cast<double>(tally.total.size()));
    printRow(figure, tool, characters, "exact_runs", tally.exact);
    printRow(figure, tool, characters, "median_wrong", spreadOf(tally.wrong).median);
    printRow(figure, tool, characters, "median_missing", spreadOf(tally.missing).median);
    printRow(figure, tool, characters, "median_extra", spreadOf(tally.extra).median);
    printRow(figure, tool, characters, "median_errors", spreadOf(tally.total).median);
    printRow(figure, tool, characters, "max_errors", spreadOf(tally.total).max);
    printRow(figure, tool, characters, "median_ms", spreadOf(tally.wallMs).median);
    progress("exactness " + tool + ": median " + std::to_string(spreadOf(tally.total).median) +
             " characters wrong, missing or extra; " + std::to_string(tally.exact) + " exact runs");
}

}  // namespace

int main(int argc, char** argv) {
    const BenchArguments arguments = benchArguments(argc, argv);
    const long runs = arguments.number(0, 3);
    const long characters = arguments.number(1, 1000);

    TypingSession session(arguments.library, "exactness");
    if (!session.problem().empty()) {
        progress("exactness: " + session.problem());
        return 1;
    }
    const std::vector<uint8_t> text = mixedText(static_cast<size_t>(characters));
    const std::u16string sent = charactersOf(text);
    printRow("exactness", "text", characters, "high_bytes",
             static_cast<double>(std::count_if(text.begin(), text.end(), [](uint8_t b) { return b >= 0x80; })));
    printRow("exactness", "text", characters, "characters_without_key",
             static_cast<double>(session.charactersWithoutKey(sent)));

    using Way = XdotoolTypist::Way;
    const auto typists =
        session.typists({{Way::Command, 50}, {Way::Command, 12}, {Way::Command, 5}, {Way::Library, 5}});
    std::vector<Tally> tallies(typists.size());
    for (long run = 0; run < runs; ++run) {
        for (size_t i = 0; i < typists.size(); ++i) {
            const TypingSession::Run typed = session.run(*typists[i], text, sent.size());
            const EditCount count = editCount(sent, typed.arrived);
            Tally& tally = tallies[i];
            tally.wrong.push_back(static_cast<double>(count.wrong));
            tally.missing.push_back(static_cast<double>(count.missing));
            tally.extra.push_back(static_cast<double>(count.extra));
            tally.total.push_back(static_cast<double>(count.total()));
            tally.wallMs.push_back(typed.typed.wallMs);
            tally.exact += count.total() == 0 ? 1 : 0;
        }
    }
    for (size_t i = 0; i < typists.size(); ++i) {
        report(typists[i]->name(), characters, tallies[i]);
    }
    return 0;
}
