#include "xterm_sink.h"

#include "polling.h"
#include "text_codec.h"
#include "x_windows.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

namespace wedge_bench {
namespace {

std::string fileText(const std::string& file) {
    std::string text;
    if (FILE* in = std::fopen(file.c_str(), "rb")) {
        char buffer[4096];
        size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof(buffer), in)) > 0) {
            text.append(buffer, read);
        }
        std::fclose(in);
    }
    return text;
}

}  // namespace

XtermSink::XtermSink(Display* display, const std::string& title, const std::string& file)
    : title_(title),
      file_(file),
      // raw: no line editing, no CR-to-LF, no signals from ^C; -echo: the
      // screen stays quiet. The locale makes the xterm send UTF-8.
      xterm_({"env", "LC_ALL=C.UTF-8", "xterm", "-u8", "-T", title, "-e", "sh", "-c",
              "stty raw -echo && exec cat >>\"$0\"", file}) {
    clear();
    if (display != nullptr) {
        waitUntil(20000, [&] {
            window_ = clientTitled(display, title_);
            return window_ != None;
        });
    }
}

XtermSink::~XtermSink() { std::remove(file_.c_str()); }

void XtermSink::clear() const { std::ofstream(file_, std::ios::trunc); }

std::u16string XtermSink::waitForText(size_t characters, int quietMs, int timeoutMs) const {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string last = fileText(file_);
    auto lastChange = Clock::now();
    while (Clock::now() < deadline) {
        if (decodeUtf8(last).size() >= characters) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::string now = fileText(file_);
        if (now != last) {
            last = std::move(now);
            lastChange = Clock::now();
        } else if (Clock::now() - lastChange >= std::chrono::milliseconds(quietMs)) {
            break;
        }
    }
    return decodeUtf8(last);
}

}  // namespace wedge_bench
