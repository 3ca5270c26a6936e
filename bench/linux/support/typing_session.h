// What the typing benchmarks share: the xterm sink on the display, libxdo,
// our library when a path is given, and one typed run read back.
#pragma once

#include "typists.h"
#include "wedge_exports.h"
#include "x_windows.h"
#include "xterm_sink.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace wedge_bench {

class TypingSession {
public:
    // An empty library path measures xdotool alone.
    TypingSession(const std::string& libraryPath, const std::string& purpose);

    // Empty when the sink is up and our library, if asked for, is loaded
    // with the sink chosen as its target.
    const std::string& problem() const { return problem_; }

    // Our library's typist first (when loaded), then xdotool's, each
    // given as (way, delay in ms), then PausesAlone when asked for.
    std::vector<std::unique_ptr<Typist>> typists(const std::vector<std::pair<XdotoolTypist::Way, int>>& xdotool,
                                                 bool pausesAlone = false);

    // Characters no key of the current keymap produces (looked up by
    // their Latin-1 or Unicode keysym).
    size_t charactersWithoutKey(const std::u16string& characters) const;

    struct Run {
        Typed typed;
        std::u16string arrived;
    };
    // Empties the sink, types, and reads back once the expected number of
    // characters arrived or the sink stayed quiet for a second.
    Run run(Typist& typist, const std::vector<uint8_t>& text, size_t expectedCharacters);

private:
    XConnection x_;
    XtermSink sink_;
    Xdo xdo_;
    std::optional<WedgeExports> exports_;
    std::string problem_;
};

}  // namespace wedge_bench
