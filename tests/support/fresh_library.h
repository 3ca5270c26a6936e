// Puts the library's process-wide state back as it is when the library is
// loaded (no list, no target, no error text) and empties the simulated
// desktop, so that each test or fuzz input starts from the same place.
#pragma once

#include "catalogue_state.h"
#include "catalogue/target.h"
#include "catalogue/window_catalogue.h"
#include "keystrokes/error_text.h"
#include "simulated/simulated_desktop.h"

namespace wedge::testing {

inline void startFresh() {
    simulated::reset();
    catalogue::destroy();
    catalogue::forgetTarget();
    keystrokes::clearErrorText();
}

}  // namespace wedge::testing
