#include "platform/wayland/wl_library.h"

#include "platform/linux/errors.h"

#include <dlfcn.h>

namespace wedge::wayland {
namespace {

using linux_desktop::ErrorLibraryMissing;
using linux_desktop::failWith;
using linux_desktop::failWithParts;

WlLibrary library_;
bool loaded_ = false;

// The versioned name: the unversioned one comes only with the -dev package.
constexpr const char* ClientName = "libwayland-client.so.0";

template <typename Symbol>
bool resolve(void* handle, const char* name, Symbol* symbol) {
    *symbol = reinterpret_cast<Symbol>(dlsym(handle, name));
    if (*symbol == nullptr) {
        const char* const parts[] = {"The Wayland client library lacks ", name, nullptr};
        failWithParts(ErrorLibraryMissing, parts);
        return false;
    }
    return true;
}

bool load() {
    // Stays open for the life of the process: proxies and listeners live
    // in it. RTLD_LOCAL: a toolkit in the host that loads its own copy
    // shares nothing with ours but the code.
    void* client = dlopen(ClientName, RTLD_NOW | RTLD_LOCAL);
    if (client == nullptr) {
        const char* reason = dlerror();
        failWith(ErrorLibraryMissing, reason != nullptr ? reason : ClientName);
        return false;
    }
    WlLibrary& l = library_;
    return resolve(client, "wl_display_connect_to_fd", &l.displayConnectToFd) &&
           resolve(client, "wl_display_disconnect", &l.displayDisconnect) &&
           resolve(client, "wl_display_get_fd", &l.displayGetFd) &&
           resolve(client, "wl_display_get_error", &l.displayGetError) &&
           resolve(client, "wl_display_dispatch_pending", &l.displayDispatchPending) &&
           resolve(client, "wl_display_prepare_read", &l.displayPrepareRead) &&
           resolve(client, "wl_display_read_events", &l.displayReadEvents) &&
           resolve(client, "wl_display_cancel_read", &l.displayCancelRead) &&
           resolve(client, "wl_display_flush", &l.displayFlush) &&
           resolve(client, "wl_proxy_marshal_array_constructor_versioned",
                   &l.proxyMarshalArrayConstructorVersioned) &&
           resolve(client, "wl_proxy_marshal_array", &l.proxyMarshalArray) &&
           resolve(client, "wl_proxy_add_listener", &l.proxyAddListener) &&
           resolve(client, "wl_proxy_get_version", &l.proxyGetVersion) &&
           resolve(client, "wl_proxy_destroy", &l.proxyDestroy) &&
           resolve(client, "wl_registry_interface", &l.registryInterface) &&
           resolve(client, "wl_callback_interface", &l.callbackInterface) &&
           resolve(client, "wl_seat_interface", &l.seatInterface);
}

}  // namespace

const WlLibrary* wlLibrary() {
    // A missing library is looked for again on the next call: it may have
    // been installed meanwhile, and the error text is set again each time.
    if (!loaded_) {
        loaded_ = load();
    }
    return loaded_ ? &library_ : nullptr;
}

}  // namespace wedge::wayland
