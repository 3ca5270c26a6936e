// Top-level windows on X: which ones a user would pick from, their titles
// and state, and bringing one to the front so that it gets the keys.
#pragma once

#include "platform/x11/x_connection.h"

#include <cstdint>

namespace wedge::x11 {

using Window = xcb_window_t;

// True when an EWMH window manager runs (its check window names itself).
bool windowManagerRunning(Connection& c);

// Visits the application windows, topmost first: the window manager's
// clients, minimised ones included; without one, the root's mapped
// children that are not override-redirect. Stops when visit answers false.
bool forEachTopLevel(Connection& c, bool (*visit)(Window window, intptr_t value), intptr_t value);

// The title (_NET_WM_NAME, else WM_NAME) in UTF-16: at most capacity
// units are written, and the answer is the whole title's length.
int32_t readTitle(Connection& c, Window window, char16_t* out, int32_t capacity);

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
