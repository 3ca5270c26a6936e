// The desktop's own connection to the Wayland compositor: never the host's
// (a Java toolkit's), so nothing the desktop does changes the host's
// queue, and the host's events never reach it. Every wait on the
// compositor ends by a deadline: a stalled compositor makes a call fail,
// never hang.
#pragma once

#include "platform/wayland/wl_library.h"

#include <cstdint>

namespace wedge::wayland {

// How long the compositor has to answer before a call gives up.
inline constexpr uint32_t AnswerTimeoutMs = 1000;

// ERROR_TIMEOUT: the compositor did not answer in time.
inline constexpr uint32_t ErrorTimeout = 1460;

// The socket path's room, as sockaddr_un has it.
inline constexpr int32_t SocketPathCapacity = 108;

struct Connection {
    const WlLibrary* wl;
    Display* display;
    Proxy* registry;
    Proxy* seat;
    Proxy* toplevelManager;
    Proxy* keyboardManager;
    // The virtual keyboard, made for the first scan on this connection.
    Proxy* keyboard;
    // Where the compositor listens: what names it to the scan lock.
    char socketPath[SocketPathCapacity];
};

// The connection, made at first use and again at the next call after it
// broke; null, with the desktop error set, when no compositor that lets
// a client list windows and type can be reached.
Connection* connection();

// Reads and dispatches events until done(value) holds, for at most
// timeoutMs. False when the time ran out (error ErrorTimeout) or the
// connection broke (the error says so).
using Condition = bool (*)(intptr_t value);
bool dispatchUntil(Connection& c, uint32_t timeoutMs, Condition done, intptr_t value);

// Dispatches what has arrived, without waiting.
bool dispatchArrived(Connection& c);

// Sends what is queued and waits until the compositor has answered all of
// it: every event it sent before is then dispatched.
bool roundtrip(Connection& c);

// Sends what is queued.
bool flush(Connection& c);

}  // namespace wedge::wayland
