// The library's own connection to the X display: opened at first use,
// opened again after it was lost, with the atoms the desktop reads.
#pragma once

#include "platform/x11/x_library.h"

namespace wedge::x11 {

enum AtomName {
    NetClientListStacking,
    NetActiveWindow,
    NetSupportingWmCheck,
    NetWmName,
    NetWmState,
    NetWmStateHidden,
    Utf8String,
    WmState,
    AtomCount,
};

struct Connection {
    const XLibrary* x;
    Display* display;
    Window root;
    Atom atoms[AtomCount];
};

// The open connection, or null when the X libraries or the display cannot
// be reached; the desktop error then says why.
const Connection* connection();

// Drops the events queued on the connection. The library selects none,
// but every client gets a MappingNotify for each keymap change, its own
// spare-keycode bindings among them, and unread they would pile up.
void discardEvents(const Connection& c);

// While one lives, X protocol errors on the library's connection are
// recorded instead of reaching the default handler, which would end the
// process; errors on other connections in the process (a Java toolkit's)
// still go to the handler that was installed before.
class ErrorTrap {
public:
    explicit ErrorTrap(const Connection& connection);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;
    ErrorTrap(ErrorTrap&&) = delete;
    ErrorTrap& operator=(ErrorTrap&&) = delete;

    // Waits until the server has handled every request sent so far; false,
    // with the desktop error set to the first X error since the trap was
    // set (or since the last check), when there was one.
    bool synced() const;

    // The same after requests that wait for their reply: their errors have
    // arrived with it, so no further round trip is needed.
    bool answered() const;

private:
    const Connection& connection_;
    XErrorHandler previous_;
};

}  // namespace wedge::x11
