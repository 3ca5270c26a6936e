// The library's own XCB connection to the X display: opened at first use,
// opened again after it was lost, with the atoms the desktop reads. Every
// wait for the server is bounded: a server that stops answering fails the
// call within seconds, and the connection is dropped.
#pragma once

#include "platform/x11/xcb_library.h"

#include <cstdint>

namespace wedge::x11 {

enum AtomName {
    NetClientListStacking,
    NetActiveWindow,
    NetSupportingWmCheck,
    NetWmName,
    NetWmState,
    NetWmStateHidden,
    Utf8String,
    CompoundText,
    WmState,
    AtomCount,
};

// "x11-" with the host (none for this machine) and the display number:
// ":0", ":0.0" and "unix:0" are one server, and one key.
inline constexpr int32_t ServerKeyCapacity = 128;

struct Connection {
    const XcbLibrary* x;
    xcb_connection_t* xcb;
    xcb_window_t root;
    xcb_keycode_t minKeycode;
    xcb_keycode_t maxKeycode;
    xcb_atom_t atoms[AtomCount];
    char serverKey[ServerKeyCapacity];
    // A window of the library's own that is never mapped: grabbing the
    // keyboard on it only ever answers why not.
    xcb_window_t unmapped;
    // The window whose focus changes are watched during a scan (none
    // outside one), and what they told: another client's keyboard grab
    // is in force, and one began since the last look.
    xcb_window_t watched;
    bool grabbed;
    bool grabBegan;
};

// The open connection, or null when the X libraries or the display cannot
// be reached; the desktop error then says why.
Connection* connection();

// The connection a scan under way types through: never opened anew, so
// that no key of the scan goes to another server. Null, with the desktop
// error set, once it was lost.
Connection* liveConnection();

// The connection as it is, lost or not, without opening one; null when
// none is open. For undoing what a scan changed.
Connection* currentConnection();

// The connection broke or stopped answering.
bool lost(const Connection& c);

// The reply to a request, once the server sent it, or null with the
// desktop error set: X's error, the connection lost, or no answer in
// time (the connection is then dropped). Give it back with release.
void* awaitReply(Connection& c, unsigned int sequence);

// Frees what XCB handed over: replies, events and errors.
void release(void* reply);

template <typename Reply, typename Cookie>
Reply* await(Connection& c, Cookie cookie) {
    return static_cast<Reply*>(awaitReply(c, cookie.sequence));
}

// Waits until the server has handled every request sent so far; false,
// with the desktop error set, when one of them failed (the first error
// is reported) or the server did not answer. Reads the events that came
// meanwhile: the focus changes of the watched window among them.
bool synced(Connection& c);

// The same, after a failure was already set: that one stays the error
// reported.
void settle(Connection& c);

// Reads the queued events without waiting: focus changes of the watched
// window are noted, the rest (keymap changes) dropped.
void readEvents(Connection& c);

}  // namespace wedge::x11
