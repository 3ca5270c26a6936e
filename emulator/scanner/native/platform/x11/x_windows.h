// Top-level windows on X: which ones a user would pick from, their titles
// and state, and bringing one to the front so that it gets the keys.
#pragma once

#include "platform/x11/x_connection.h"

#include <cstdint>

namespace wedge::x11 {

// True when an EWMH window manager runs (its check window names itself).
bool windowManagerRunning(const Connection& c);

// Visits the application windows, topmost first: the window manager's
// clients, minimised ones included; without one, the root's mapped
// children that are not override-redirect. Stops when visit answers false.
bool forEachTopLevel(const Connection& c, bool (*visit)(Window window, intptr_t value), intptr_t value);

// The title (_NET_WM_NAME, else WM_NAME) in UTF-16: at most capacity
// units are written, and the answer is the whole title's length.
int32_t readTitle(const Connection& c, Window window, char16_t* out, int32_t capacity);

bool windowExists(const Connection& c, Window window);

// Mapped, or (with a window manager) managed and merely minimised.
bool isShown(const Connection& c, Window window, bool managed);

bool isMinimised(const Connection& c, Window window);

// The keyboard focus is on the window or on one of its children.
bool focusInside(const Connection& c, Window window);

// The window is the active one and the keyboard focus is inside it.
bool hasKeyboard(const Connection& c, Window window, bool managed);

// Asks for the window to become active (restoring it when minimised) and
// waits, a bounded time, until it is; true only once that is observed.
bool activate(const Connection& c, Window window, bool managed);

// Maps a minimised window again, which asks its window manager to restore it.
bool restore(const Connection& c, Window window);

}  // namespace wedge::x11
