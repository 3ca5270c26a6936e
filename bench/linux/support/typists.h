// The three ways a scan is typed into the sink, each timed from the call
// that types to its return, with any preparation left out: our library's
// sendText (which brings the sink to the front itself), the xdotool
// command, and libxdo in this process (both into the sink, which is
// brought to the front for them beforehand, untimed).
#pragma once

#include "wedge_exports.h"

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

struct xdo;

namespace wedge_bench {

struct Typed {
    bool reported = false;  // the tool said it typed everything
    double wallMs = 0;
};

class Typist {
public:
    virtual ~Typist() = default;
    virtual std::string name() const = 0;
    // What the tool pauses on purpose while typing this text.
    virtual double pausesMs(const std::vector<uint8_t>& text) const = 0;
    virtual Typed type(const std::vector<uint8_t>& text) = 0;
};

// libxdo's handle, for typing and for bringing the sink to the front.
class Xdo {
public:
    Xdo();
    ~Xdo();
    Xdo(const Xdo&) = delete;
    Xdo& operator=(const Xdo&) = delete;

    const xdo* handle() const { return xdo_; }
    // Activates the window and waits until the window manager says so.
    bool activate(Window window) const;

private:
    xdo* xdo_;
};

// sendText through the library's export; the target is chosen by title
// once, as a program would.
class WedgeTypist : public Typist {
public:
    explicit WedgeTypist(WedgeExports& exports) : exports_(exports) {}
    std::string name() const override { return "wedge"; }
    // 200 ms settle, 50 ms after each byte, Tab held 100 ms.
    double pausesMs(const std::vector<uint8_t>& text) const override;
    Typed type(const std::vector<uint8_t>& text) override;

private:
    WedgeExports& exports_;
};

// No typing at all: only our library's pauses, slept with plain nanosleep
// as xdotool sleeps. What this takes beyond them is how late a plain sleep
// wakes up while other work shares the CPUs, a share of xdotool's overhead;
// our library waits out the last millisecond of each pause against the
// clock.
class PausesAlone : public Typist {
public:
    std::string name() const override { return "pauses_alone"; }
    double pausesMs(const std::vector<uint8_t>& text) const override;
    Typed type(const std::vector<uint8_t>& text) override;
};

// xdotool's delay is not what it pauses: for each character it sleeps a
// quarter of the delay after pressing the key and another after releasing
// it, half the delay in all (seen with strace: --delay 50 makes two
// 12.5 ms sleeps per character).
class XdotoolTypist : public Typist {
public:
    enum class Way { Command, Library };
    XdotoolTypist(Way way, int delayMs, const Xdo& xdo, Window sink);
    std::string name() const override;
    double pausesMs(const std::vector<uint8_t>& text) const override;
    Typed type(const std::vector<uint8_t>& text) override;

private:
    Way way_;
    int delayMs_;
    const Xdo& xdo_;
    Window sink_;
};

}  // namespace wedge_bench
