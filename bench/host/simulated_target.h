// A fresh simulated desktop with windows, and the library's target chosen
// among them the way Java chooses it: list, then pick by index.
#pragma once

#include "catalogue/target.h"
#include "catalogue/window_catalogue.h"
#include "keystrokes/error_text.h"
#include "simulated/simulated_desktop.h"

#include <string>

namespace wedge_bench {

// Resets the desktop and the library, opens `windows` titled windows and
// makes the last one the target, in front. Answers the target.
inline wedge::platform::WindowHandle freshDesktopWithTarget(int windows) {
    namespace simulated = wedge::simulated;
    simulated::reset();
    wedge::catalogue::destroy();
    wedge::keystrokes::clearErrorText();
    wedge::platform::WindowHandle last = nullptr;
    for (int i = 1; i <= windows; ++i) {
        simulated::WindowSetup setup;
        setup.title = u"Bench window " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
        last = simulated::openWindow(setup);
    }
    const int32_t count = wedge::catalogue::listWindows().count();
    wedge::catalogue::setWindow(count - 1);
    simulated::setForeground(last);
    return last;
}

}  // namespace wedge_bench
