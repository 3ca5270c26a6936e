// The X11 desktop's table of operations.
#include "platform/desktop.h"

#include "platform/linux/desktops.h"
#include "platform/linux/errors.h"
#include "platform/linux/pause.h"
#include "platform/x11/operations.h"

namespace wedge::platform {
namespace {

const Desktop X11 = {
    "X11",
    x11::reachable,
    x11::listWindows,
    x11::windowExists,
    x11::bringToFront,
    x11::acceptsInput,
    x11::restoreIfMinimised,
    x11::stillInFront,
    x11::openKeyboard,
    x11::closeKeyboard,
    x11::chordForCharacter,
    x11::chordForHighByte,
    x11::tabKey,
    x11::capsLockOn,
    x11::toggleCapsLock,
    x11::heldModifierKeys,
    x11::maskKeyBeforeRelease,
    x11::sendInput,
    x11::acquireScanLock,
    x11::releaseScanLock,
    linux_desktop::sleepMs,
    linux_desktop::errorCode,
    linux_desktop::setErrorCode,
    linux_desktop::systemMessage,
};

}  // namespace

const Desktop& x11Desktop() { return X11; }

}  // namespace wedge::platform
