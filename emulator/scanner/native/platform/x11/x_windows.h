// Top-level windows on X: which ones a user would pick from, their titles
// and state, and bringing one to the front so that it gets the keys.
#pragma once

#include "platform/x11/x_connection.h"

#include <cstdint>

namespace wedge::x11 {

using Window = xcb_window_t;

// True when an EWMH window manager runs (its check window names itself).
bool windowManagerRunning(Connection& c);

// The title units a listing keeps of each window: the library keeps 99.
inline constexpr int32_t TopLevelTitleUnits = 99;

// An application window as a listing finds it: its title
// (_NET_WM_NAME, else WM_NAME) in UTF-16, at most TopLevelTitleUnits of it
// kept while titleLength is the whole title's, and, with a window
// manager, whether it is minimised.
struct TopLevel {
    Window window;
    bool minimised;
    int32_t titleLength;
    char16_t title[TopLevelTitleUnits];
};
using TopLevelVisitor = bool (*)(const TopLevel& window, intptr_t value);

// Visits the application windows, topmost first: with a window manager
// (managed) its clients, minimised ones included; without one, the root's
// mapped children that are not override-redirect. Stops when visit
// answers false.
bool forEachTopLevel(Connection& c, bool managed, TopLevelVisitor visit, intptr_t value);

bool windowExists(Connection& c, Window window);

bool isMinimised(Connection& c, Window window);

// The keyboard focus is on the window or on one of its children.
bool focusInside(Connection& c, Window window);

// The window is the active one and the keyboard focus is inside it.
bool hasKeyboard(Connection& c, Window window, bool managed);

// Asks for the window to become active (restoring it when minimised) and
// waits, a bounded time, until it is; true only once that is observed.
bool activate(Connection& c, Window window, bool managed);

// Maps a minimised window again, which asks its window manager to restore it.
bool restore(Connection& c, Window window);

// False, with the desktop error set, when another client holds the
// keyboard: the keys would go to it. Asked by a grab on a window that is
// never mapped, which no other client notices.
bool keyboardFree(Connection& c);

// Sets the error for keys that another client's keyboard grab takes.
void failGrabbed();

// Watches the window's focus changes for a grab another client takes
// while the scan types; none stops watching.
void watchFocus(Connection& c, Window window);

}  // namespace wedge::x11
