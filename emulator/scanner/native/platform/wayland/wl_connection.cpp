#include "platform/wayland/wl_connection.h"

#include "platform/linux/errors.h"
#include "platform/wayland/protocols.h"
#include "platform/wayland/wl_keyboard.h"
#include "platform/wayland/wl_toplevels.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <initializer_list>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace wedge::wayland {
namespace {

using linux_desktop::ErrorNoDisplay;
using linux_desktop::ErrorNotSupported;
using linux_desktop::failWith;
using linux_desktop::failWithParts;

Connection connection_ = {};
bool connected_ = false;
bool broken_ = false;

// The globals the registry announced, by name; 0 for none.
struct Globals {
    uint32_t seat;
    uint32_t toplevelManager;
    uint32_t toplevelManagerVersion;
    uint32_t keyboardManager;
};
Globals globals_ = {};

int64_t nowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

bool sameText(const char* left, const char* right) { return std::strcmp(left, right) == 0; }

void onGlobal(void* /*data*/, Proxy* /*registry*/, uint32_t name, const char* interface, uint32_t version) {
    if (sameText(interface, SeatName) && globals_.seat == 0) {
        globals_.seat = name;
    } else if (sameText(interface, ToplevelManagerName)) {
        globals_.toplevelManager = name;
        globals_.toplevelManagerVersion = version;
    } else if (sameText(interface, VirtualKeyboardManagerName)) {
        globals_.keyboardManager = name;
    }
}

void onGlobalRemove(void* /*data*/, Proxy* /*registry*/, uint32_t /*name*/) {}

struct RegistryListener {
    decltype(&onGlobal) global;
    decltype(&onGlobalRemove) globalRemove;
};
const RegistryListener RegistryEvents = {onGlobal, onGlobalRemove};

void onCallbackDone(void* data, Proxy* /*callback*/, uint32_t /*serial*/) { *static_cast<bool*>(data) = true; }

struct CallbackListener {
    decltype(&onCallbackDone) done;
};
const CallbackListener CallbackEvents = {onCallbackDone};

template <typename Events>
void listen(const WlLibrary& wl, Proxy* proxy, const Events* events, void* data) {
    wl.proxyAddListener(proxy, reinterpret_cast<const Listener*>(events), data);
}

// The connection broke: the call fails with the reason, and the next
// call connects again.
bool fail(Connection& c) {
    broken_ = true;
    const int error = c.wl->displayGetError(c.display);
    const char* const parts[] = {"The connection to the Wayland compositor was lost: ",
                                 std::strerror(error != 0 ? error : EPIPE), nullptr};
    failWithParts(ErrorNoDisplay, parts);
    return false;
}

bool timedOut() {
    const linux_desktop::Decimal timeout = linux_desktop::decimal(static_cast<int32_t>(AnswerTimeoutMs));
    const char* const parts[] = {"The Wayland compositor did not answer within ", timeout.digits, " ms", nullptr};
    failWithParts(ErrorTimeout, parts);
    return false;
}

// Waits until the display's socket has events or room, or the deadline.
int waitForSocket(Connection& c, int16_t events, int64_t deadline) {
    for (;;) {
        const int64_t remaining = deadline - nowMs();
        pollfd socket = {c.wl->displayGetFd(c.display), events, 0};
        const int ready = poll(&socket, 1, remaining > 0 ? static_cast<int>(remaining) : 0);
        if (ready >= 0 || errno != EINTR) {
            return ready;
        }
    }
}

bool flushBy(Connection& c, int64_t deadline) {
    while (c.wl->displayFlush(c.display) < 0) {
        if (errno != EAGAIN) {
            return fail(c);
        }
        const int ready = waitForSocket(c, POLLOUT, deadline);
        if (ready == 0) {
            return timedOut();
        }
        if (ready < 0) {
            return fail(c);
        }
    }
    return true;
}

// One read of the socket, waiting for it until the deadline; with a
// deadline that has passed, only what has arrived.
bool readBy(Connection& c, int64_t deadline, bool* nothing) {
    *nothing = false;
    if (c.wl->displayPrepareRead(c.display) != 0) {
        // Events are already queued: the caller dispatches them first.
        return true;
    }
    const int ready = waitForSocket(c, POLLIN, deadline);
    if (ready <= 0) {
        c.wl->displayCancelRead(c.display);
        *nothing = true;
        return ready == 0 || fail(c);
    }
    return c.wl->displayReadEvents(c.display) >= 0 || fail(c);
}

bool dispatch(Connection& c) { return c.wl->displayDispatchPending(c.display) >= 0 || fail(c); }

bool flagSet(intptr_t value) { return *reinterpret_cast<const bool*>(value); }

// Forgets a connection: every proxy first, since disconnecting frees the
// display alone.
void disconnect() {
    Connection& c = connection_;
    forgetToplevels(c);
    for (Proxy** proxy : {&c.keyboard, &c.keyboardManager, &c.toplevelManager, &c.seat, &c.registry}) {
        if (*proxy != nullptr) {
            c.wl->proxyDestroy(*proxy);
        }
    }
    c.wl->displayDisconnect(c.display);
    const WlLibrary* wl = c.wl;
    c = {};
    c.wl = wl;
    connected_ = false;
    broken_ = false;
}

void appendPath(char* path, int32_t* length, const char* text) {
    for (; *text != 0 && *length < SocketPathCapacity - 1; ++text) {
        path[(*length)++] = *text;
    }
    path[*length] = 0;
}

// WAYLAND_DISPLAY, a path or a name in XDG_RUNTIME_DIR; without it, the
// wayland-0 that clients try when it is unset, if it is there.
bool findSocket(char* path) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const bool named = name != nullptr && name[0] != 0;
    int32_t length = 0;
    path[0] = 0;
    if (named && name[0] == '/') {
        appendPath(path, &length, name);
        return true;
    }
    if (runtime == nullptr || runtime[0] != '/') {
        failWith(ErrorNoDisplay, named ? "WAYLAND_DISPLAY names a socket, but XDG_RUNTIME_DIR is not set"
                                       : "WAYLAND_DISPLAY is not set");
        return false;
    }
    appendPath(path, &length, runtime);
    appendPath(path, &length, "/");
    appendPath(path, &length, named ? name : "wayland-0");
    if (!named && access(path, F_OK) != 0) {
        failWith(ErrorNoDisplay, "WAYLAND_DISPLAY is not set");
        return false;
    }
    return true;
}

// A socket of our own, rather than wl_display_connect: that one takes
// over an inherited WAYLAND_SOCKET, which belongs to the host.
int openSocket(const char* path) {
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const size_t length = std::strlen(path);
    if (length >= sizeof(address.sun_path)) {
        const char* const parts[] = {"The Wayland socket path is too long: ", path, nullptr};
        failWithParts(ErrorNoDisplay, parts);
        return -1;
    }
    std::memcpy(address.sun_path, path, length + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket >= 0) {
        if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
            return socket;
        }
        int error = errno;
        if (error == EAGAIN || error == EINPROGRESS) {
            pollfd pending = {socket, POLLOUT, 0};
            socklen_t size = sizeof(error);
            if (poll(&pending, 1, static_cast<int>(AnswerTimeoutMs)) == 1 &&
                getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0) {
                return socket;
            }
            if (error == EAGAIN || error == EINPROGRESS) {
                error = ETIMEDOUT;
            }
        }
        close(socket);
        errno = error;
    }
    const char* const parts[] = {"Cannot connect to the Wayland compositor at ", path, ": ", std::strerror(errno),
                                 nullptr};
    failWithParts(ErrorNoDisplay, parts);
    return -1;
}

Proxy* bind(Connection& c, uint32_t name, const Interface* interface, uint32_t version) {
    Argument arguments[4] = {argument(name), argument(interface->name), argument(version), newId()};
    return c.wl->proxyMarshalArrayConstructorVersioned(c.registry, RegistryBind, arguments, interface, version);
}

// Says what the compositor lacks, when it lacks what the desktop needs.
bool offersWhatIsNeeded(const Connection& c) {
    if (globals_.seat != 0 && globals_.toplevelManager != 0 && globals_.keyboardManager != 0) {
        return true;
    }
    const char* const parts[] = {
        "The Wayland compositor at ", c.socketPath, " offers clients no",
        globals_.toplevelManager == 0 ? " window list (zwlr_foreign_toplevel_manager_v1)" : "",
        globals_.toplevelManager == 0 && globals_.keyboardManager == 0 ? " and no" : "",
        globals_.keyboardManager == 0 ? " virtual keyboard (zwp_virtual_keyboard_manager_v1)" : "",
        globals_.toplevelManager != 0 && globals_.keyboardManager != 0 ? " seat" : "",
        nullptr};
    failWithParts(ErrorNotSupported, parts);
    return false;
}

bool connect(const WlLibrary& wl) {
    Connection& c = connection_;
    c = {};
    c.wl = &wl;
    globals_ = {};
    if (!findSocket(c.socketPath)) {
        return false;
    }
    const int socket = openSocket(c.socketPath);
    if (socket < 0) {
        return false;
    }
    // Takes the socket over, and closes it itself when it fails.
    c.display = wl.displayConnectToFd(socket);
    if (c.display == nullptr) {
        const char* const parts[] = {"Cannot connect to the Wayland compositor at ", c.socketPath, nullptr};
        failWithParts(ErrorNoDisplay, parts);
        return false;
    }
    connected_ = true;
    Argument none[1] = {newId()};
    c.registry = wl.proxyMarshalArrayConstructorVersioned(reinterpret_cast<Proxy*>(c.display), DisplayGetRegistry,
                                                          none, wl.registryInterface, 1);
    if (c.registry == nullptr) {
        return fail(c);
    }
    listen(wl, c.registry, &RegistryEvents, nullptr);
    if (!roundtrip(c) || !offersWhatIsNeeded(c)) {
        return false;
    }
    const uint32_t managerVersion =
        globals_.toplevelManagerVersion < ToplevelManagerVersion ? globals_.toplevelManagerVersion : ToplevelManagerVersion;
    c.seat = bind(c, globals_.seat, wl.seatInterface, SeatVersion);
    c.toplevelManager = bind(c, globals_.toplevelManager, &ToplevelManagerInterface, managerVersion);
    c.keyboardManager =
        bind(c, globals_.keyboardManager, &VirtualKeyboardManagerInterface, VirtualKeyboardManagerVersion);
    if (c.seat == nullptr || c.toplevelManager == nullptr || c.keyboardManager == nullptr) {
        return fail(c);
    }
    watchToplevels(c);
    // Without a keyboard, the connection still lists windows; the first
    // scan tries again and says why it cannot type.
    makeKeyboard(c);
    // The compositor announces every toplevel as the manager is bound.
    return roundtrip(c);
}

}  // namespace

Connection* connection() {
    if (connected_ && broken_) {
        disconnect();
    }
    if (connected_) {
        return &connection_;
    }
    const WlLibrary* wl = nullptr;
    char path[SocketPathCapacity];
    // Only a session with a compositor is worth opening the library for.
    if (!findSocket(path) || (wl = wlLibrary()) == nullptr) {
        return nullptr;
    }
    if (!connect(*wl)) {
        if (connected_) {
            disconnect();
        }
        return nullptr;
    }
    return &connection_;
}

bool dispatchUntil(Connection& c, uint32_t timeoutMs, Condition done, intptr_t value) {
    const int64_t deadline = nowMs() + timeoutMs;
    for (;;) {
        if (!dispatch(c)) {
            return false;
        }
        if (done(value)) {
            return true;
        }
        if (!flushBy(c, deadline)) {
            return false;
        }
        bool nothing = false;
        if (!readBy(c, deadline, &nothing)) {
            return false;
        }
        if (nothing && nowMs() >= deadline) {
            return timedOut();
        }
    }
}

bool dispatchArrived(Connection& c) {
    const int64_t now = nowMs();
    if (!dispatch(c) || !flushBy(c, now + AnswerTimeoutMs)) {
        return false;
    }
    bool nothing = false;
    return readBy(c, now, &nothing) && dispatch(c);
}

bool roundtrip(Connection& c) {
    bool answered = false;
    Argument none[1] = {newId()};
    Proxy* callback = c.wl->proxyMarshalArrayConstructorVersioned(reinterpret_cast<Proxy*>(c.display), DisplaySync,
                                                                  none, c.wl->callbackInterface, 1);
    if (callback == nullptr) {
        return fail(c);
    }
    listen(*c.wl, callback, &CallbackEvents, &answered);
    const bool done = dispatchUntil(c, AnswerTimeoutMs, flagSet, reinterpret_cast<intptr_t>(&answered));
    // An answer that comes later finds the callback gone, and is dropped.
    c.wl->proxyDestroy(callback);
    return done;
}

bool flush(Connection& c) { return flushBy(c, nowMs() + AnswerTimeoutMs); }

}  // namespace wedge::wayland
