#include "typists.h"

#include "child_process.h"
#include "scan_texts.h"
#include "text_codec.h"

extern "C" {
#include <xdo.h>
}

#include <chrono>
#include <ctime>

namespace wedge_bench {
namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void sleepMs(double milliseconds) {
    const auto nanoseconds = static_cast<long>(milliseconds * 1e6);
    timespec wait{nanoseconds / 1000000000L, nanoseconds % 1000000000L};
    while (nanosleep(&wait, &wait) != 0) {
    }
}

}  // namespace

Xdo::Xdo() : xdo_(xdo_new(nullptr)) {}

Xdo::~Xdo() {
    if (xdo_ != nullptr) {
        xdo_free(xdo_);
    }
}

bool Xdo::activate(Window window) const {
    return xdo_ != nullptr && xdo_activate_window(xdo_, window) == XDO_SUCCESS &&
           xdo_wait_for_window_active(xdo_, window, 1) == XDO_SUCCESS;
}

double WedgeTypist::pausesMs(const std::vector<uint8_t>& text) const { return nominalMs(text); }

Typed WedgeTypist::type(const std::vector<uint8_t>& text) {
    const jbyteArray array = exports_.jni().byteArray(text);
    const Clock::time_point start = Clock::now();
    const bool sent = exports_.sendText(array);
    return {sent, msSince(start)};
}

double PausesAlone::pausesMs(const std::vector<uint8_t>& text) const { return nominalMs(text); }

Typed PausesAlone::type(const std::vector<uint8_t>& text) {
    const Clock::time_point start = Clock::now();
    sleepMs(SettleMs);
    for (const uint8_t byte : text) {
        sleepMs(byte == 9 ? TabHoldMs + PerByteMs : PerByteMs);
    }
    return {true, msSince(start)};
}

XdotoolTypist::XdotoolTypist(Way way, int delayMs, const Xdo& xdo, Window sink)
    : way_(way), delayMs_(delayMs), xdo_(xdo), sink_(sink) {}

std::string XdotoolTypist::name() const {
    return std::string(way_ == Way::Command ? "xdotool_command" : "libxdo") + "_delay" + std::to_string(delayMs_);
}

double XdotoolTypist::pausesMs(const std::vector<uint8_t>& text) const {
    return static_cast<double>(delayMs_) / 2.0 * static_cast<double>(text.size());
}

Typed XdotoolTypist::type(const std::vector<uint8_t>& text) {
    const std::string utf8 = utf8Of(charactersOf(text));
    if (!xdo_.activate(sink_)) {
        return {};
    }
    const Clock::time_point start = Clock::now();
    bool typed = false;
    if (way_ == Way::Command) {
        typed = runToEnd({"xdotool", "type", "--delay", std::to_string(delayMs_), "--", utf8}) == 0;
    } else {
        const auto delayUs = static_cast<useconds_t>(delayMs_) * 1000U;
        typed = xdo_enter_text_window(xdo_.handle(), CURRENTWINDOW, utf8.c_str(), delayUs) == XDO_SUCCESS;
    }
    return {typed, msSince(start)};
}

}  // namespace wedge_bench
