// Catalogue scaling: listing the desktop while another client shows 10,
// 100 and 1,000 titled top-level windows, managed by openbox, four ways in
// the same run and interleaved: the bare listing (read _NET_CLIENT_LIST,
// fetch each title), libxdo's window search by name over the whole window
// tree, our library's getWindows export with the fake JNI environment
// (String[] included) and the plain C++ catalogue::listWindows under it,
// from the X11 core linked in. Ratios are to the cheaper of the bare
// listing and libxdo.
//
//   linux_catalogue_bench [--library PATH] [repetitions] [windows...]   defaults: 15; 10 100 1000
#include "bench_arguments.h"
#include "bench_output.h"
#include "child_process.h"
#include "polling.h"
#include "statistics.h"
#include "wedge_exports.h"
#include "catalogue/window_catalogue.h"
#include "x_windows.h"

extern "C" {
#include <xdo.h>
}

#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace wedge_bench;
using Clock = std::chrono::steady_clock;

struct Way {
    std::vector<double> ms;
    int listed = 0;
};

template <typename Listing>
void time(Way& way, Listing listing) {
    const Clock::time_point start = Clock::now();
    way.listed = listing();
    way.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
}

int xdoSearch(const xdo_t* xdo) {
    xdo_search_t search{};
    search.winname = ".";
    search.searchmask = SEARCH_NAME;
    search.max_depth = 2;
    search.require = xdo_search_t::SEARCH_ANY;
    Window* found = nullptr;
    unsigned int count = 0;
    xdo_search_windows(xdo, &search, &found, &count);
    std::free(found);
    return static_cast<int>(count);
}

// One repetition of every way, in a fixed order.
void measureOnce(Display* display, const xdo_t* xdo, WedgeExports* exports, std::map<std::string, Way>& ways) {
    time(ways["bare_client_list"], [&] { return bareClientListing(display); });
    time(ways["libxdo_search"], [&] { return xdoSearch(xdo); });
    if (exports != nullptr) {
        // A fresh environment each time: the fake keeps every object it made.
        exports->renewJni();
        jobjectArray titles = nullptr;
        time(ways["lib_getWindows"], [&] {
            titles = exports->getWindowsArray();
            return titles != nullptr ? exports->jni().arrayLength(titles) : -1;
        });
        exports->destroy();
    }
    time(ways["core_listWindows"], [] { return static_cast<int>(wedge::catalogue::listWindows().count()); });
    wedge::catalogue::destroy();
}

void report(long windows, const std::map<std::string, Way>& ways) {
    const double bare = spreadOf(ways.at("bare_client_list").ms).median;
    const double xdo = spreadOf(ways.at("libxdo_search").ms).median;
    const double cheaper = bare < xdo ? bare : xdo;
    const char* figure = "catalogue";
    printRow(figure, "windows", windows, "repetitions", static_cast<double>(ways.at("bare_client_list").ms.size()));
    printRow(figure, "windows", windows, "cheaper_reference_ms", cheaper);
    std::string line = "catalogue " + std::to_string(windows) + " windows:";
    for (const auto& [name, way] : ways) {
        const Spread spread = spreadOf(way.ms);
        printRow(figure, name, windows, "median_ms", spread.median);
        printRow(figure, name, windows, "min_ms", spread.min);
        printRow(figure, name, windows, "max_ms", spread.max);
        printRow(figure, name, windows, "listed_windows", way.listed);
        printRow(figure, name, windows, "per_window_us", spread.median * 1000.0 / static_cast<double>(windows));
        printRow(figure, name, windows, "ratio_to_cheaper", spread.median / cheaper);
        line += " " + name + " " + std::to_string(spread.median) + " ms";
    }
    progress(line);
}

}  // namespace

int main(int argc, char** argv) {
    const BenchArguments arguments = benchArguments(argc, argv);
    const long repetitions = arguments.number(0, 15);
    std::vector<long> counts(arguments.numbers.size() > 1 ? arguments.numbers.begin() + 1 : arguments.numbers.end(),
                             arguments.numbers.end());
    if (counts.empty()) {
        counts = {10, 100, 1000};
    }
    XConnection x;
    xdo_t* xdo = xdo_new(nullptr);
    if (x.display() == nullptr || xdo == nullptr) {
        progress("catalogue: cannot open the display");
        return 1;
    }
    std::unique_ptr<WedgeExports> exports;
    if (!arguments.library.empty()) {
        exports = std::make_unique<WedgeExports>(arguments.library);
        if (!exports->problem().empty()) {
            progress("catalogue: " + exports->problem());
            return 1;
        }
    }
    for (const long windows : counts) {
        {
            const std::string title =
                "Wedge bench window " + std::to_string(getpid()) + "-" + std::to_string(windows);
            const ChildProcess opener({siblingProgram("titled_windows"), std::to_string(windows), title});
            if (!waitUntil(180000, [&] { return bareClientListing(x.display()) == windows; })) {
                progress("catalogue: the window manager did not list all " + std::to_string(windows) + " windows");
                return 1;
            }
            // The window manager goes on decorating and placing for a while.
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            std::map<std::string, Way> warmUp;
            for (int i = 0; i < 3; ++i) {
                measureOnce(x.display(), xdo, exports.get(), warmUp);
            }
            std::map<std::string, Way> ways;
            for (long i = 0; i < repetitions; ++i) {
                measureOnce(x.display(), xdo, exports.get(), ways);
            }
            report(windows, ways);
        }
        // The opener is gone; the next count starts from an empty desktop.
        // No titles are read meanwhile: a window may go between the list
        // and the read.
        waitUntil(60000, [&] { return clientList(x.display()).empty(); });
    }
    xdo_free(xdo);
    return 0;
}
