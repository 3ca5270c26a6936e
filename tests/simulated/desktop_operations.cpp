// The Windows operations over a simulated desktop held in this process.
#include "platform/win32/windows_keys.h"
#include "simulated/keyboard_layouts.h"
#include "simulated/simulated_state.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace wedge::platform {

using simulated::state;
using simulated::findAlive;

namespace {

// Layouts go out as handles that are never null: the layout's value + 1.
Keyboard handleOf(simulated::Layout layout) {
    return reinterpret_cast<Keyboard>(static_cast<uintptr_t>(layout) + 1);
}

simulated::Layout layoutOfHandle(Keyboard handle) {
    const auto value = reinterpret_cast<uintptr_t>(handle);
    return value == static_cast<uintptr_t>(simulated::Layout::AltGraph) + 1 ? simulated::Layout::AltGraph
                                                                            : simulated::Layout::UnitedStates;
}

}  // namespace

bool enumWindows(HandleVisitor visit, intptr_t value) {
    std::vector<WindowHandle> handles;
    for (const auto& window : state().windows) {
        if (window.alive) {
            handles.push_back(reinterpret_cast<WindowHandle>(window.id));
        }
    }
    for (WindowHandle handle : handles) {
        if (!visit(handle, value)) {
            break;
        }
    }
    return true;
}

bool getWindowStyle(WindowHandle window, uint32_t* style) {
    const auto* target = findAlive(window);
    if (target == nullptr || target->infoFails) {
        state().lastError = 1400;
        return false;
    }
    *style = (target->visible ? StyleVisible : 0) | (target->minimised ? StyleMinimised : 0);
    return true;
}

int32_t getWindowTextLength(WindowHandle window) {
    auto* target = findAlive(window);
    if (target == nullptr) {
        return 0;
    }
    const auto length = target->reportedLength >= 0 ? target->reportedLength
                                                    : static_cast<int32_t>(target->title.size());
    if (target->titleChangePending) {
        target->titleChangePending = false;
        target->title = target->nextTitle;
    }
    return length;
}

int32_t getWindowText(WindowHandle window, char16_t* buffer, int32_t capacity) {
    const auto* target = findAlive(window);
    if (target == nullptr || capacity <= 0) {
        return 0;
    }
    const auto copied = std::min<int32_t>(capacity - 1, static_cast<int32_t>(target->title.size()));
    std::copy_n(target->title.data(), copied, buffer);
    buffer[copied] = 0;
    return copied;
}

bool isWindow(WindowHandle window) { return findAlive(window) != nullptr; }

bool setForegroundWindow(WindowHandle window) {
    auto& d = state();
    auto* target = findAlive(window);
    if (target != nullptr && target->activationsBeforeRefusal == 0) {
        target->acceptsActivation = false;
        target->activationsBeforeRefusal = -1;
    }
    const bool succeeded = target != nullptr && target->acceptsActivation;
    if (succeeded && target->activationsBeforeRefusal > 0) {
        --target->activationsBeforeRefusal;
    }
    if (succeeded) {
        d.foreground = window;
    }
    d.activations.push_back({window, d.clockMs, succeeded, d.scanLock.held});
    return succeeded;
}

bool openIcon(WindowHandle window) {
    auto* target = findAlive(window);
    if (target == nullptr) {
        return false;
    }
    target->minimised = false;
    state().restorations.push_back(window);
    return true;
}

bool canSendInputTo(WindowHandle window) {
    const auto* target = findAlive(window);
    if (target != nullptr && target->elevated) {
        state().lastError = ErrorAccessDenied;
        return false;
    }
    return true;
}

int16_t getKeyState(int32_t virtualKey) {
    const auto key = static_cast<uint16_t>(virtualKey & 0xFF);
    int16_t keyState = simulated::isKeyDown(key) ? static_cast<int16_t>(0x8000) : 0;
    if (key == VkCapital && state().keyboard.capsLock) {
        keyState = static_cast<int16_t>(keyState | 1);
    }
    return keyState;
}

Keyboard keyboardLayoutOf(WindowHandle window) {
    const auto* target = findAlive(window);
    return handleOf(target != nullptr ? simulated::layoutOf(*target) : state().keyboard.layout);
}

int16_t vkKeyScan(char16_t character, Keyboard layout) {
    return simulated::keyScan(layoutOfHandle(layout), character);
}

uint32_t heldModifierKeys(uint16_t* keys) {
    uint32_t count = 0;
    for (const uint16_t key : ModifierKeys) {
        if (simulated::isKeyDown(key)) {
            keys[count++] = key;
        }
    }
    return count;
}

uint32_t scanCodeOf(uint32_t virtualKey) {
    return virtualKey > 0xFF ? 0 : simulated::scanCodeOfKey(static_cast<uint16_t>(virtualKey));
}

uint32_t sendInput(const KeyboardEvent* events, uint32_t count) {
    auto& d = state();
    if (count > MaxEventsPerInjection) {
        d.lastError = ErrorInvalidParameter;
        return 0;
    }
    auto& faults = d.faults;
    if (faults.sendInputsBeforeFailure > 0) {
        --faults.sendInputsBeforeFailure;
    } else if (faults.sendInputFailures != 0) {
        if (faults.sendInputFailures > 0) {
            --faults.sendInputFailures;
        }
        d.lastError = faults.sendInputError;
        return 0;
    }
    const uint32_t inserted = faults.sendInputLimit > 0 ? std::min(count, faults.sendInputLimit) : count;
    if (inserted == 0) {
        return 0;
    }
    ++d.injections;
    for (uint32_t i = 0; i < inserted; ++i) {
        if (d.logLimit == 0 || d.injected.size() < d.logLimit) {
            d.injected.push_back({events[i], d.clockMs, d.injections, d.foreground, d.scanLock.held});
        }
        ++d.injectedTotal;
        simulated::applyKeyEvent(events[i]);
    }
    return inserted;
}

bool acquireScanLock() {
    auto& lock = state().scanLock;
    if (lock.error != 0) {
        state().lastError = lock.error;
        return false;
    }
    lock.held = true;
    ++lock.acquisitions;
    return true;
}

void releaseScanLock() { state().scanLock.held = false; }

void sleepMs(uint32_t milliseconds) {
    state().clockMs += milliseconds;
    simulated::repeatKeys();
}

uint32_t getLastError() { return state().lastError; }
void setLastError(uint32_t code) { state().lastError = code; }

int32_t systemMessage(uint32_t code, char16_t* text, int32_t capacity) {
    if (capacity <= 0) {
        return 0;
    }
    const auto& messages = state().messages;
    const auto found = messages.find(code);
    int32_t copied = 0;
    if (found != messages.end()) {
        copied = std::min<int32_t>(capacity - 1, static_cast<int32_t>(found->second.size()));
        std::copy_n(found->second.data(), copied, text);
    }
    text[copied] = 0;
    return copied;
}

}  // namespace wedge::platform
