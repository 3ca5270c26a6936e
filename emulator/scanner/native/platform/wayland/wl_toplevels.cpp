#include "platform/wayland/wl_toplevels.h"

#include "platform/linux/utf8_text.h"
#include "platform/wayland/protocols.h"

#include <cstring>
#include <new>

namespace wedge::wayland {
namespace {

Toplevel* first_ = nullptr;
uint64_t lastId_ = 0;
const WlLibrary* wl_ = nullptr;

void remove(Toplevel* toplevel) {
    Toplevel** link = &first_;
    while (*link != nullptr && *link != toplevel) {
        link = &(*link)->next;
    }
    if (*link != nullptr) {
        *link = toplevel->next;
    }
    delete toplevel;
}

void onTitle(void* data, Proxy* /*handle*/, const char* title) {
    auto* toplevel = static_cast<Toplevel*>(data);
    constexpr int32_t Units = platform::TitleCapacity - 1;
    const int32_t needed = linux_desktop::utf8ToUtf16(reinterpret_cast<const unsigned char*>(title),
                                                      std::strlen(title), toplevel->title, Units);
    toplevel->titleLength = needed < Units ? needed : Units;
    toplevel->title[toplevel->titleLength] = 0;
}

void onAppId(void* /*data*/, Proxy* /*handle*/, const char* /*appId*/) {}

void onOutput(void* /*data*/, Proxy* /*handle*/, Proxy* /*output*/) {}

void onState(void* data, Proxy* /*handle*/, Array* states) {
    auto* toplevel = static_cast<Toplevel*>(data);
    toplevel->activated = false;
    toplevel->minimised = false;
    const size_t count = states->size / sizeof(uint32_t);
    for (size_t i = 0; i < count; ++i) {
        uint32_t state = 0;
        std::memcpy(&state, static_cast<const char*>(states->data) + i * sizeof(uint32_t), sizeof(state));
        toplevel->activated = toplevel->activated || state == StateActivated;
        toplevel->minimised = toplevel->minimised || state == StateMinimized;
    }
}

void onDone(void* data, Proxy* /*handle*/) { static_cast<Toplevel*>(data)->described = true; }

void onClosed(void* data, Proxy* handle) {
    // The handle is of no more use; version 1 has no destroy request.
    if (wl_->proxyGetVersion(handle) >= 2) {
        Argument none[1] = {newId()};
        wl_->proxyMarshalArray(handle, ToplevelDestroy, none);
    }
    wl_->proxyDestroy(handle);
    remove(static_cast<Toplevel*>(data));
}

void onParent(void* /*data*/, Proxy* /*handle*/, Proxy* /*parent*/) {}

struct HandleListener {
    decltype(&onTitle) title;
    decltype(&onAppId) appId;
    decltype(&onOutput) outputEnter;
    decltype(&onOutput) outputLeave;
    decltype(&onState) state;
    decltype(&onDone) done;
    decltype(&onClosed) closed;
    decltype(&onParent) parent;
};
const HandleListener HandleEvents = {onTitle, onAppId, onOutput, onOutput, onState, onDone, onClosed, onParent};

void onToplevel(void* /*data*/, Proxy* /*manager*/, Proxy* handle) {
    auto* toplevel = new (std::nothrow) Toplevel();
    if (toplevel == nullptr) {
        // Not followed, so not listed: its events are dropped unread.
        return;
    }
    toplevel->id = ++lastId_;
    toplevel->handle = handle;
    Toplevel** last = &first_;
    while (*last != nullptr) {
        last = &(*last)->next;
    }
    *last = toplevel;
    wl_->proxyAddListener(handle, reinterpret_cast<const Listener*>(&HandleEvents), toplevel);
}

void onFinished(void* /*data*/, Proxy* /*manager*/) {}

struct ManagerListener {
    decltype(&onToplevel) toplevel;
    decltype(&onFinished) finished;
};
const ManagerListener ManagerEvents = {onToplevel, onFinished};

}  // namespace

void watchToplevels(Connection& c) {
    wl_ = c.wl;
    c.wl->proxyAddListener(c.toplevelManager, reinterpret_cast<const Listener*>(&ManagerEvents), nullptr);
}

void forgetToplevels(Connection& c) {
    while (first_ != nullptr) {
        c.wl->proxyDestroy(first_->handle);
        remove(first_);
    }
}

const Toplevel* firstToplevel() { return first_; }

const Toplevel* findToplevel(uint64_t id) {
    for (const Toplevel* toplevel = first_; toplevel != nullptr; toplevel = toplevel->next) {
        if (toplevel->id == id) {
            return toplevel;
        }
    }
    return nullptr;
}

}  // namespace wedge::wayland
