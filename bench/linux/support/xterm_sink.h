// The text sink the typing is measured against: an xterm whose terminal
// is raw, running cat into a file, so that every character typed into the
// window reaches the file at once and unchanged (Return as CR, Tab as Tab).
#pragma once

#include "child_process.h"

#include <X11/Xlib.h>

#include <string>

namespace wedge_bench {

class XtermSink {
public:
    // Starts the xterm with this title in UTF-8 mode and empties the file.
    // Check window().
    XtermSink(Display* display, const std::string& title, const std::string& file);
    // Removes the file; the xterm is stopped after.
    ~XtermSink();
    XtermSink(const XtermSink&) = delete;
    XtermSink& operator=(const XtermSink&) = delete;

    // The xterm's client window once the window manager lists it, or None.
    Window window() const { return window_; }
    const std::string& title() const { return title_; }

    // Empties the file. cat appends, so it writes on from the start.
    void clear() const;
    // The file's text once it holds this many characters, or once it has
    // not grown for quietMs; what it holds at timeoutMs otherwise.
    std::u16string waitForText(size_t characters, int quietMs, int timeoutMs) const;

private:
    std::string title_;
    std::string file_;
    ChildProcess xterm_;
    Window window_ = None;
};

}  // namespace wedge_bench
