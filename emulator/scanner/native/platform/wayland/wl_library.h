// libwayland-client, opened at first use rather than linked: the library
// must load, and answer with an error text, on a machine without it. The
// few types the desktop hands to it are declared here as wayland-util.h
// lays them out (an ABI that has not changed since Wayland 1.0), so that
// building needs no Wayland headers either.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace wedge::wayland {

struct Interface;

// One request or event: its name, its argument signature, and the
// interface of each object or new_id argument (null where any will do).
struct Message {
    const char* name;
    const char* signature;
    const Interface* const* types;
};

struct Interface {
    const char* name;
    int version;
    int methodCount;
    const Message* methods;
    int eventCount;
    const Message* events;
};

union Argument {
    int32_t i;
    uint32_t u;
    int32_t f;
    const char* s;
    void* o;
    uint32_t n;
    void* a;
    int32_t h;
};

// Arguments as their union member would hold them: every member starts
// at the union's first byte, so the value's bytes go there.
template <typename Value>
Argument heldArgument(Value value) {
    static_assert(sizeof(Value) <= sizeof(Argument), "an argument fits the union");
    Argument held = {};
    std::memcpy(&held, &value, sizeof(Value));
    return held;
}
inline Argument argument(uint32_t value) { return heldArgument(value); }
// A file descriptor.
inline Argument argument(int32_t value) { return heldArgument(value); }
// An object, or a string.
inline Argument argument(const void* pointer) { return heldArgument(pointer); }
// A new_id's place, which libwayland fills in.
inline Argument newId() { return heldArgument<const void*>(nullptr); }

struct Array {
    size_t size;
    size_t alloc;
    void* data;
};

// libwayland's own objects, only ever handled by address.
struct Proxy;
struct Display;

// A listener: one function per event, each called as (data, proxy, args...).
using Listener = void (*)();

struct WlLibrary {
    Display* (*displayConnectToFd)(int fd);
    void (*displayDisconnect)(Display* display);
    int (*displayGetFd)(Display* display);
    int (*displayGetError)(Display* display);
    int (*displayDispatchPending)(Display* display);
    int (*displayPrepareRead)(Display* display);
    int (*displayReadEvents)(Display* display);
    void (*displayCancelRead)(Display* display);
    int (*displayFlush)(Display* display);
    Proxy* (*proxyMarshalArrayConstructorVersioned)(Proxy* proxy, uint32_t opcode, Argument* arguments,
                                                    const Interface* interface, uint32_t version);
    void (*proxyMarshalArray)(Proxy* proxy, uint32_t opcode, Argument* arguments);
    int (*proxyAddListener)(Proxy* proxy, const Listener* listener, void* data);
    uint32_t (*proxyGetVersion)(Proxy* proxy);
    void (*proxyDestroy)(Proxy* proxy);
    // The core interfaces, as the library itself declares them.
    const Interface* registryInterface;
    const Interface* callbackInterface;
    const Interface* seatInterface;
};

// The functions, or null when the library or a function is missing; the
// desktop error then says which.
const WlLibrary* wlLibrary();

}  // namespace wedge::wayland
