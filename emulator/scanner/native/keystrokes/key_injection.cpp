#include "keystrokes/key_injection.h"

namespace wedge::keystrokes {
namespace {

using platform::Key;
using platform::KeyEvent;
using platform::MaxEventsPerInjection;

// The keys the library pressed and has not released.
struct PressedKeys {
    Key keys[MaxEventsPerInjection];
    uint32_t count;
};

PressedKeys& pressedKeys() {
    static PressedKeys pressed{};
    return pressed;
}

void track(const KeyEvent& event) {
    PressedKeys& pressed = pressedKeys();
    for (uint32_t i = 0; i < pressed.count; ++i) {
        if (pressed.keys[i] == event.key) {
            if (event.release) {
                pressed.keys[i] = pressed.keys[--pressed.count];
            }
            return;
        }
    }
    if (!event.release && pressed.count < MaxEventsPerInjection) {
        pressed.keys[pressed.count++] = event.key;
    }
}

// One attempt, whose outcome changes nothing: the failure that led here is
// what gets reported.
void releasePressedKeys() {
    PressedKeys& pressed = pressedKeys();
    KeyEvent releases[MaxEventsPerInjection] = {};
    for (uint32_t i = 0; i < pressed.count; ++i) {
        releases[i] = {pressed.keys[pressed.count - 1 - i], true};
    }
    platform::desktop().sendInput(releases, pressed.count);
    pressed.count = 0;
}

}  // namespace

bool injectAll(const KeyEvent* events, uint32_t count, uint32_t* inserted) {
    const platform::Desktop& desktop = platform::desktop();
    // Cleared so that a code left by an earlier call is not taken for this
    // one's, and put back after a success, which leaves the code alone.
    const uint32_t earlierCode = desktop.lastError();
    desktop.setLastError(0);
    const uint32_t went = desktop.sendInput(events, count);
    const uint32_t code = desktop.lastError();
    for (uint32_t i = 0; i < went && i < count; ++i) {
        track(events[i]);
    }
    if (inserted != nullptr) {
        *inserted = went;
    }
    if (went == count) {
        desktop.setLastError(earlierCode);
        return true;
    }
    if (pressedKeys().count > 0) {
        releasePressedKeys();
    }
    desktop.setLastError(code != 0 ? code : platform::ErrorWriteFault);
    return false;
}

}  // namespace wedge::keystrokes
