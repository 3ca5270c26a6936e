#include "keystrokes/key_injection.h"

namespace wedge::keystrokes {
namespace {

using platform::KeyboardEvent;
using platform::MaxEventsPerInjection;

// The keys the library pressed and has not released, by the address their
// press used (virtual key, or scan code).
struct PressedKeys {
    KeyboardEvent keys[MaxEventsPerInjection];
    uint32_t count;
};

PressedKeys& pressedKeys() {
    static PressedKeys pressed{};
    return pressed;
}

bool sameKey(const KeyboardEvent& left, const KeyboardEvent& right) {
    const bool leftByScan = (left.flags & platform::KeyScanCode) != 0;
    const bool rightByScan = (right.flags & platform::KeyScanCode) != 0;
    if (leftByScan != rightByScan) {
        return false;
    }
    return leftByScan ? left.scanCode == right.scanCode : left.virtualKey == right.virtualKey;
}

void track(const KeyboardEvent& event) {
    PressedKeys& pressed = pressedKeys();
    for (uint32_t i = 0; i < pressed.count; ++i) {
        if (sameKey(pressed.keys[i], event)) {
            if ((event.flags & platform::KeyRelease) != 0) {
                pressed.keys[i] = pressed.keys[--pressed.count];
            }
            return;
        }
    }
    if ((event.flags & platform::KeyRelease) == 0 && pressed.count < MaxEventsPerInjection) {
        pressed.keys[pressed.count++] = event;
    }
}

// One attempt, whose outcome changes nothing: the failure that led here is
// what gets reported.
void releasePressedKeys() {
    PressedKeys& pressed = pressedKeys();
    KeyboardEvent releases[MaxEventsPerInjection] = {};
    for (uint32_t i = 0; i < pressed.count; ++i) {
        releases[i] = pressed.keys[pressed.count - 1 - i];
        releases[i].flags |= platform::KeyRelease;
    }
    platform::sendInput(releases, pressed.count);
    pressed.count = 0;
}

}  // namespace

bool injectAll(const KeyboardEvent* events, uint32_t count, uint32_t* inserted) {
    // Cleared so that a code left by an earlier call is not taken for this
    // one's, and put back after a success, which leaves the code alone.
    const uint32_t earlierCode = platform::getLastError();
    platform::setLastError(0);
    const uint32_t went = platform::sendInput(events, count);
    const uint32_t code = platform::getLastError();
    for (uint32_t i = 0; i < went && i < count; ++i) {
        track(events[i]);
    }
    if (inserted != nullptr) {
        *inserted = went;
    }
    if (went == count) {
        platform::setLastError(earlierCode);
        return true;
    }
    if (pressedKeys().count > 0) {
        releasePressedKeys();
    }
    platform::setLastError(code != 0 ? code : platform::ErrorWriteFault);
    return false;
}

}  // namespace wedge::keystrokes
