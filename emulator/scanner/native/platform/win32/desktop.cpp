// The Windows desktop's table: the core's operations over the Windows
// calls of windows_api.h, asked in the order and number the library has
// always asked them.
#include "platform/desktop.h"
#include "platform/win32/windows_api.h"
#include "platform/win32/windows_keys.h"

namespace wedge::platform {
namespace {

// The library runs inside a Windows session: its desktop is always there.
bool reachable() { return true; }

struct Listing {
    WindowVisitor visit;
    intptr_t value;
};

// The title is read only for a visible window, and its length is asked
// twice: the title may change between the question and the copy.
bool describeWindow(WindowHandle window, intptr_t value) {
    const auto* listing = reinterpret_cast<const Listing*>(value);
    WindowInfo info{};
    info.window = window;
    uint32_t style = 0;
    // A window whose information cannot be read counts as not visible.
    if (getWindowStyle(window, &style)) {
        info.visible = (style & StyleVisible) != 0;
        info.minimised = (style & StyleMinimised) != 0;
    }
    if (info.visible && getWindowTextLength(window) > 0) {
        int32_t length = getWindowTextLength(window);
        if (length >= TitleCapacity - 1) {
            length = TitleCapacity - 1;
        }
        if (length < 0) {
            length = 0;
        }
        info.titled = true;
        getWindowText(window, info.title, length + 1);
        info.titleLength = length;
    }
    return listing->visit(info, listing->value);
}

bool listWindows(WindowVisitor visit, intptr_t value) {
    Listing listing{visit, value};
    return enumWindows(describeWindow, reinterpret_cast<intptr_t>(&listing));
}

void restoreIfMinimised(WindowHandle window) {
    uint32_t style = 0;
    // A window whose information cannot be read is taken as not minimised.
    if (getWindowStyle(window, &style) && (style & StyleMinimised) != 0) {
        openIcon(window);
    }
}

bool openKeyboard(WindowHandle window, Keyboard* keyboard) {
    *keyboard = keyboardLayoutOf(window);
    return true;
}

void closeKeyboard(Keyboard /*keyboard*/) {}

uint32_t heldModifiers(Key* keys) {
    uint16_t held[MaxModifierKeys] = {};
    const uint32_t count = heldModifierKeys(held);
    for (uint32_t i = 0; i < count && i < MaxModifierKeys; ++i) {
        keys[i] = held[i];
    }
    return count;
}

Key maskKeyBeforeRelease(Key key) { return key > 0xFF ? 0 : maskKeyForRelease(static_cast<uint16_t>(key)); }

uint32_t sendKeyEvents(const KeyEvent* events, uint32_t count) {
    if (count > MaxEventsPerInjection) {
        setLastError(ErrorInvalidParameter);
        return 0;
    }
    KeyboardEvent inputs[MaxEventsPerInjection] = {};
    for (uint32_t i = 0; i < count; ++i) {
        inputs[i] = keyboardEvent(events[i]);
    }
    return sendInput(inputs, count);
}

const Desktop Windows = {
    "Windows",
    reachable,
    listWindows,
    isWindow,
    setForegroundWindow,
    canSendInputTo,
    restoreIfMinimised,
    // Windows lets the library take the foreground back before a byte, as
    // it always has.
    setForegroundWindow,
    openKeyboard,
    closeKeyboard,
    chordForCharacter,
    chordForHighByte,
    tabKey,
    capsLockOn,
    toggleCapsLock,
    heldModifiers,
    maskKeyBeforeRelease,
    sendKeyEvents,
    acquireScanLock,
    releaseScanLock,
    sleepMs,
    getLastError,
    setLastError,
    systemMessage,
};

}  // namespace

const Desktop& desktop() { return Windows; }

}  // namespace wedge::platform
