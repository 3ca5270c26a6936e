// The desktop operations on Wayland for windows: the toplevels that the
// compositor's window list reports, and activating one through it.
#include "platform/wayland/operations.h"

#include "platform/wayland/protocols.h"
#include "platform/wayland/wl_connection.h"
#include "platform/wayland/wl_toplevels.h"

namespace wedge::wayland {
namespace {

using platform::WindowHandle;

uint64_t idOf(WindowHandle window) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(window)); }

WindowHandle handleOf(uint64_t id) { return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(id)); }

const Toplevel* described(uint64_t id) {
    const Toplevel* toplevel = findToplevel(id);
    return toplevel != nullptr && toplevel->described ? toplevel : nullptr;
}

bool visitOne(const Toplevel& toplevel, platform::WindowVisitor visit, intptr_t value) {
    platform::WindowInfo info = {};
    info.window = handleOf(toplevel.id);
    // The compositor lists what a person can switch to: minimised ones too.
    info.visible = true;
    info.minimised = toplevel.minimised;
    info.titled = toplevel.titleLength > 0;
    info.titleLength = toplevel.titleLength;
    for (int32_t i = 0; i < toplevel.titleLength; ++i) {
        info.title[i] = toplevel.title[i];
    }
    return visit(info, value);
}

// Activated, or gone: either ends the wait for activation.
bool activatedOrGone(intptr_t id) {
    const Toplevel* toplevel = described(static_cast<uint64_t>(id));
    return toplevel == nullptr || toplevel->activated;
}

void request(const Connection& c, const Toplevel& toplevel, uint32_t opcode, Proxy* object) {
    Argument arguments[1] = {argument(object)};
    c.wl->proxyMarshalArray(toplevel.handle, opcode, arguments);
}

}  // namespace

bool reachable() { return connection() != nullptr; }

bool listWindows(platform::WindowVisitor visit, intptr_t value) {
    Connection* c = connection();
    if (c == nullptr || !roundtrip(*c)) {
        return false;
    }
    // The protocol has no stacking order: the activated toplevel first,
    // then the others oldest first. The visitor calls nothing that reads
    // events, so the list stays as it is while it is walked.
    const Toplevel* active = nullptr;
    for (const Toplevel* t = firstToplevel(); t != nullptr; t = t->next) {
        if (t->described && t->activated) {
            active = t;
            break;
        }
    }
    if (active != nullptr && !visitOne(*active, visit, value)) {
        return true;
    }
    for (const Toplevel* t = firstToplevel(); t != nullptr; t = t->next) {
        if (t->described && t != active && !visitOne(*t, visit, value)) {
            break;
        }
    }
    return true;
}

bool windowExists(WindowHandle window) {
    Connection* c = connection();
    return c != nullptr && dispatchArrived(*c) && described(idOf(window)) != nullptr;
}

bool bringToFront(WindowHandle window) {
    Connection* c = connection();
    if (c == nullptr || !roundtrip(*c)) {
        return false;
    }
    const Toplevel* toplevel = described(idOf(window));
    if (toplevel == nullptr) {
        return false;
    }
    if (toplevel->activated) {
        return true;
    }
    // Activation is a request: the toplevel is in front only once the
    // compositor says it is activated.
    if (toplevel->minimised) {
        request(*c, *toplevel, ToplevelUnsetMinimized, nullptr);
    }
    request(*c, *toplevel, ToplevelActivate, c->seat);
    if (!dispatchUntil(*c, AnswerTimeoutMs, activatedOrGone, static_cast<intptr_t>(idOf(window)))) {
        return false;
    }
    return described(idOf(window)) != nullptr;
}

bool acceptsInput(WindowHandle /*window*/) {
    // The compositor gives the virtual keyboard's keys to the activated
    // toplevel, whoever runs it.
    return true;
}

void restoreIfMinimised(WindowHandle window) {
    Connection* c = connection();
    const Toplevel* toplevel = c != nullptr ? described(idOf(window)) : nullptr;
    if (toplevel != nullptr && toplevel->minimised) {
        request(*c, *toplevel, ToplevelUnsetMinimized, nullptr);
        flush(*c);
    }
}

bool stillInFront(WindowHandle window) {
    // Only looks: taking the keyboard back would type the rest of the scan
    // where the person just went. After a roundtrip, every change of focus
    // the compositor made before it is known.
    Connection* c = connection();
    if (c == nullptr || !roundtrip(*c)) {
        return false;
    }
    const Toplevel* toplevel = described(idOf(window));
    return toplevel != nullptr && toplevel->activated;
}

}  // namespace wedge::wayland
