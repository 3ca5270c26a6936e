#include "typing_session.h"

#include <unistd.h>

#include <cstdlib>

namespace wedge_bench {
namespace {

std::string sinkTitle(const std::string& purpose) {
    return "Wedge bench " + purpose + " sink " + std::to_string(getpid());
}

std::string sinkFile(const std::string& purpose) {
    const char* directory = std::getenv("TMPDIR");
    return std::string(directory != nullptr ? directory : "/tmp") + "/wedge-bench-" + purpose + "-" +
           std::to_string(getpid()) + ".txt";
}

}  // namespace

TypingSession::TypingSession(const std::string& libraryPath, const std::string& purpose)
    : sink_(x_.display(), sinkTitle(purpose), sinkFile(purpose)) {
    if (x_.display() == nullptr) {
        problem_ = "cannot open the display";
    } else if (sink_.window() == None) {
        problem_ = "the xterm sink did not appear";
    } else if (xdo_.handle() == nullptr) {
        problem_ = "libxdo cannot open the display";
    } else if (!libraryPath.empty()) {
        exports_.emplace(libraryPath);
        const std::string& title = sink_.title();
        if (!exports_->problem().empty()) {
            problem_ = exports_->problem();
        } else if (!exports_->chooseTarget(std::u16string(title.begin(), title.end()))) {
            problem_ = "our library does not list the sink";
        }
    }
}

std::vector<std::unique_ptr<Typist>> TypingSession::typists(
    const std::vector<std::pair<XdotoolTypist::Way, int>>& xdotool, bool pausesAlone) {
    std::vector<std::unique_ptr<Typist>> all;
    if (exports_) {
        all.push_back(std::make_unique<WedgeTypist>(*exports_));
    }
    for (const auto& [way, delayMs] : xdotool) {
        all.push_back(std::make_unique<XdotoolTypist>(way, delayMs, xdo_, sink_.window()));
    }
    if (pausesAlone) {
        all.push_back(std::make_unique<PausesAlone>());
    }
    return all;
}

size_t TypingSession::charactersWithoutKey(const std::u16string& characters) const {
    size_t without = 0;
    for (const char16_t c : characters) {
        const KeySym keysym = c < 0x100 ? c : 0x1000000 | c;
        without += XKeysymToKeycode(x_.display(), keysym) == 0 ? 1U : 0U;
    }
    return without;
}

TypingSession::Run TypingSession::run(Typist& typist, const std::vector<uint8_t>& text, size_t expectedCharacters) {
    sink_.clear();
    Run result;
    result.typed = typist.type(text);
    result.arrived = sink_.waitForText(expectedCharacters, 1000, 10000);
    return result;
}

}  // namespace wedge_bench
