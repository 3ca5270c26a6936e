// Keyboard events go to the system in injections that count only when
// every event of them went in. After one that did not, no key the library
// pressed stays down.
#pragma once

#include "platform/desktop.h"

#include <cstdint>

namespace wedge::keystrokes {

// Injects the events as one; true when all of them were inserted.
// Otherwise false, with the system's error code as the last error
// (ERROR_WRITE_FAULT when the system gave none), once every key that this
// or an earlier injection pressed and did not release has been let up.
// *inserted, when given, receives how many events went in.
bool injectAll(const platform::KeyEvent* events, uint32_t count, uint32_t* inserted = nullptr);

}  // namespace wedge::keystrokes
