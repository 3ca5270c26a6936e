// The compositor's toplevels, as its window list reports them. Each is
// named by a number counted up for the life of the process and never
// reused, so that a handle to one that closed names nothing rather than
// another window, or freed memory.
#pragma once

#include "platform/desktop.h"
#include "platform/wayland/wl_connection.h"

#include <cstdint>

namespace wedge::wayland {

struct Toplevel {
    uint64_t id;
    Proxy* handle;
    // Set once the compositor has described it in full (its first done).
    bool described;
    bool activated;
    bool minimised;
    int32_t titleLength;
    char16_t title[platform::TitleCapacity];
    // Oldest first.
    Toplevel* next;
};

// Starts following the manager's reports on a new connection.
void watchToplevels(Connection& c);
// Drops every toplevel of a connection that is going away.
void forgetToplevels(Connection& c);

// The oldest toplevel, then each next one.
const Toplevel* firstToplevel();
// Null for a toplevel that closed, or never was.
const Toplevel* findToplevel(uint64_t id);

}  // namespace wedge::wayland
