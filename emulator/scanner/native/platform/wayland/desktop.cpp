// The Wayland desktop's table, for compositors that let a client list
// toplevels, activate one and type through a virtual keyboard (the
// wlroots family).
#include "platform/desktop.h"

#include "platform/linux/desktops.h"
#include "platform/linux/errors.h"
#include "platform/linux/pause.h"
#include "platform/wayland/operations.h"

namespace wedge::platform {
namespace {

const Desktop Wayland = {
    "Wayland",
    wayland::reachable,
    wayland::listWindows,
    wayland::windowExists,
    wayland::bringToFront,
    wayland::acceptsInput,
    wayland::restoreIfMinimised,
    wayland::stillInFront,
    wayland::openKeyboard,
    wayland::closeKeyboard,
    wayland::chordForCharacter,
    wayland::chordForHighByte,
    wayland::tabKey,
    wayland::capsLockOn,
    wayland::toggleCapsLock,
    wayland::heldModifierKeys,
    wayland::maskKeyBeforeRelease,
    wayland::sendInput,
    wayland::acquireScanLock,
    wayland::releaseScanLock,
    linux_desktop::sleepMs,
    linux_desktop::errorCode,
    linux_desktop::setErrorCode,
    linux_desktop::systemMessage,
};

}  // namespace

const Desktop& waylandDesktop() { return Wayland; }

}  // namespace wedge::platform
