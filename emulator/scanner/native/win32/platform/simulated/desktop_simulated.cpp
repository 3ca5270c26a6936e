// The desktop operations over a simulated desktop held in this process.
#include "platform/desktop.h"
#include "platform/simulated/keyboard_layouts.h"
#include "platform/simulated/simulated_desktop.h"
#include "platform/windows1252.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace wedge::simulated {
namespace {

struct Window {
    uintptr_t id = 0;
    std::u16string title;
    bool visible = false;
    bool minimised = false;
    bool acceptsActivation = false;
    int64_t activationsBeforeRefusal = -1;  // < 0: no limit
    bool alive = true;
    bool infoFails = false;
    int32_t reportedLength = -1;  // < 0: the title's own length
    bool titleChangePending = false;
    std::u16string nextTitle;
    std::u16string received;
};

std::map<uint32_t, std::u16string> standardMessages() {
    return {
        {0, u"The operation completed successfully.\r\n"},
        {2, u"The system cannot find the file specified.\r\n"},
        {5, u"Access is denied.\r\n"},
        {13, u"The data is invalid.\r\n"},
        {87, u"The parameter is incorrect.\r\n"},
        {1400, u"Invalid window handle.\r\n"},
    };
}

struct Desktop {
    std::vector<Window> windows;  // enumeration order
    uintptr_t nextId = 0x10010;
    WindowHandle foreground = nullptr;
    Layout layout = Layout::UnitedStates;
    std::array<bool, 256> keyDown{};
    bool capsLock = false;
    std::u16string altDigits;
    uint64_t clockMs = 0;
    uint32_t lastError = 0;
    std::vector<InjectedEvent> injected;
    uint32_t logLimit = 0;
    uint64_t injectedTotal = 0;
    uint32_t injections = 0;
    std::vector<Activation> activations;
    std::vector<WindowHandle> restorations;
    uint32_t sendInputError = 0;
    int32_t sendInputFailures = 0;
    uint32_t sendInputsBeforeFailure = 0;
    uint32_t sendInputLimit = 0;
    std::map<uint32_t, std::u16string> messages = standardMessages();
};

Desktop& desktop() {
    static Desktop instance;
    return instance;
}

Window* find(WindowHandle handle) {
    for (Window& window : desktop().windows) {
        if (reinterpret_cast<WindowHandle>(window.id) == handle) {
            return &window;
        }
    }
    return nullptr;
}

Window* findAlive(WindowHandle handle) {
    Window* window = find(handle);
    return window != nullptr && window->alive ? window : nullptr;
}

uint8_t heldShiftState() {
    const Desktop& d = desktop();
    return static_cast<uint8_t>((d.keyDown[platform::VkShift] ? ShiftBit : 0) |
                                (d.keyDown[platform::VkControl] ? ControlBit : 0) |
                                (d.keyDown[platform::VkMenu] ? AltBit : 0));
}

void deliver(char16_t character) {
    if (Window* window = findAlive(desktop().foreground)) {
        window->received.push_back(character);
    }
}

bool isNumpadDigit(uint16_t virtualKey) {
    return virtualKey >= platform::VkNumpad0 && virtualKey <= platform::VkNumpad0 + 9;
}

// Alt + keypad 0nnn types the Windows-1252 character nnn when Alt goes up.
void composeAltCode() {
    Desktop& d = desktop();
    if (d.altDigits.size() >= 2 && d.altDigits.front() == u'0') {
        unsigned value = 0;
        for (char16_t digit : d.altDigits) {
            value = value * 10 + static_cast<unsigned>(digit - u'0');
        }
        if (value <= 0xFF) {
            deliver(platform::fromWindows1252(static_cast<uint8_t>(value)));
        }
    }
    d.altDigits.clear();
}

void pressKey(uint16_t virtualKey) {
    Desktop& d = desktop();
    const bool wasDown = d.keyDown[virtualKey];
    d.keyDown[virtualKey] = true;
    if (virtualKey == platform::VkCapital) {
        if (!wasDown) {
            d.capsLock = !d.capsLock;
        }
        return;
    }
    if (virtualKey == platform::VkMenu && !wasDown) {
        // Alt going down starts a new keypad code; digits left from an
        // earlier, unfinished one do not count.
        d.altDigits.clear();
    }
    if (virtualKey == platform::VkShift || virtualKey == platform::VkControl ||
        virtualKey == platform::VkMenu) {
        return;
    }
    uint8_t shiftState = heldShiftState();
    if (shiftState == AltBit && isNumpadDigit(virtualKey)) {
        d.altDigits.push_back(static_cast<char16_t>(u'0' + (virtualKey - platform::VkNumpad0)));
        return;
    }
    if (d.capsLock && isLetterKey(virtualKey)) {
        shiftState ^= ShiftBit;
    }
    if (const char16_t character = characterOf(d.layout, virtualKey, shiftState)) {
        deliver(character);
    }
}

void releaseKey(uint16_t virtualKey) {
    Desktop& d = desktop();
    d.keyDown[virtualKey] = false;
    if (virtualKey == platform::VkMenu) {
        composeAltCode();
    }
}

void apply(const KeyboardEvent& event) {
    uint16_t virtualKey = event.virtualKey;
    if ((event.flags & platform::KeyScanCode) != 0) {
        virtualKey = keyOfScanCode(event.scanCode);
    }
    if (virtualKey == 0 || virtualKey > 0xFF) {
        return;
    }
    if ((event.flags & platform::KeyRelease) != 0) {
        releaseKey(virtualKey);
    } else {
        pressKey(virtualKey);
    }
}

Window& require(WindowHandle handle) {
    Window* window = find(handle);
    if (window == nullptr) {
        static Window none{};
        none = Window{};
        return none;
    }
    return *window;
}

}  // namespace

void reset() {
    desktop() = Desktop{};
}

WindowHandle openWindow(const WindowSetup& setup) {
    Desktop& d = desktop();
    Window window{};
    window.id = d.nextId;
    window.title = setup.title;
    window.visible = setup.visible;
    window.minimised = setup.minimised;
    window.acceptsActivation = setup.acceptsActivation;
    d.nextId += 0x10;
    d.windows.push_back(window);
    return reinterpret_cast<WindowHandle>(window.id);
}

void closeWindow(WindowHandle window) {
    require(window).alive = false;
    if (desktop().foreground == window) {
        desktop().foreground = nullptr;
    }
}

void setTitle(WindowHandle window, const std::u16string& title) { require(window).title = title; }
void setVisible(WindowHandle window, bool visible) { require(window).visible = visible; }
void setMinimised(WindowHandle window, bool minimised) { require(window).minimised = minimised; }
void setAcceptsActivation(WindowHandle window, bool accepts) {
    require(window).acceptsActivation = accepts;
}
void refuseActivationAfter(WindowHandle window, uint32_t activations) {
    require(window).activationsBeforeRefusal = activations;
}
void setForeground(WindowHandle window) { desktop().foreground = window; }

bool isMinimised(WindowHandle window) { return require(window).minimised; }
WindowHandle foregroundWindow() { return desktop().foreground; }
std::u16string receivedText(WindowHandle window) { return require(window).received; }

void useLayout(Layout layout) { desktop().layout = layout; }
void setCapsLock(bool on) { desktop().capsLock = on; }
bool capsLockOn() { return desktop().capsLock; }
void holdKey(uint16_t virtualKey, bool down) { desktop().keyDown[virtualKey & 0xFF] = down; }
bool isKeyDown(uint16_t virtualKey) { return desktop().keyDown[virtualKey & 0xFF]; }

std::vector<uint16_t> keysDown() {
    std::vector<uint16_t> keys;
    for (uint16_t key = 0; key < 256; ++key) {
        if (desktop().keyDown[key]) {
            keys.push_back(key);
        }
    }
    return keys;
}

uint64_t nowMs() { return desktop().clockMs; }
const std::vector<InjectedEvent>& injectedEvents() { return desktop().injected; }
void limitEventLog(uint32_t events) { desktop().logLimit = events; }
uint64_t injectedEventTotal() { return desktop().injectedTotal; }
uint32_t injectionCount() { return desktop().injections; }
const std::vector<Activation>& activations() { return desktop().activations; }
const std::vector<WindowHandle>& restorations() { return desktop().restorations; }

void failSendInput(uint32_t errorCode, int32_t times, uint32_t after) {
    desktop().sendInputError = errorCode;
    desktop().sendInputFailures = errorCode == 0 ? 0 : times;
    desktop().sendInputsBeforeFailure = after;
}

void limitSendInput(uint32_t events) { desktop().sendInputLimit = events; }
void failWindowInfo(WindowHandle window, bool fail) { require(window).infoFails = fail; }
void reportTitleLength(WindowHandle window, int32_t length) { require(window).reportedLength = length; }

void changeTitleAfterFirstLengthQuery(WindowHandle window, const std::u16string& title) {
    Window& target = require(window);
    target.titleChangePending = true;
    target.nextTitle = title;
}

void setSystemMessage(uint32_t code, const std::u16string& text) {
    if (text.empty()) {
        desktop().messages.erase(code);
    } else {
        desktop().messages[code] = text;
    }
}

}  // namespace wedge::simulated

namespace wedge::platform {

using simulated::desktop;
using simulated::findAlive;

bool enumWindows(WindowVisitor visit, intptr_t value) {
    std::vector<WindowHandle> handles;
    for (const auto& window : desktop().windows) {
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
        desktop().lastError = 1400;
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
    auto& d = desktop();
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
    d.activations.push_back({window, d.clockMs, succeeded});
    return succeeded;
}

bool openIcon(WindowHandle window) {
    auto* target = findAlive(window);
    if (target == nullptr) {
        return false;
    }
    target->minimised = false;
    desktop().restorations.push_back(window);
    return true;
}

int16_t getKeyState(int32_t virtualKey) {
    const auto& d = desktop();
    const auto key = static_cast<size_t>(virtualKey & 0xFF);
    int16_t state = d.keyDown[key] ? static_cast<int16_t>(0x8000) : 0;
    if (key == VkCapital && d.capsLock) {
        state = static_cast<int16_t>(state | 1);
    }
    return state;
}

int16_t vkKeyScan(char16_t character) { return simulated::keyScan(desktop().layout, character); }

uint32_t scanCodeOf(uint32_t virtualKey) {
    return virtualKey > 0xFF ? 0 : simulated::scanCodeOfKey(static_cast<uint16_t>(virtualKey));
}

uint32_t sendInput(const KeyboardEvent* events, uint32_t count) {
    auto& d = desktop();
    if (count > MaxEventsPerInjection) {
        d.lastError = ErrorInvalidParameter;
        return 0;
    }
    if (d.sendInputsBeforeFailure > 0) {
        --d.sendInputsBeforeFailure;
    } else if (d.sendInputFailures != 0) {
        if (d.sendInputFailures > 0) {
            --d.sendInputFailures;
        }
        d.lastError = d.sendInputError;
        return 0;
    }
    const uint32_t inserted = d.sendInputLimit > 0 ? std::min(count, d.sendInputLimit) : count;
    if (inserted == 0) {
        return 0;
    }
    ++d.injections;
    for (uint32_t i = 0; i < inserted; ++i) {
        if (d.logLimit == 0 || d.injected.size() < d.logLimit) {
            d.injected.push_back({events[i], d.clockMs, d.injections, d.foreground});
        }
        ++d.injectedTotal;
        simulated::apply(events[i]);
    }
    return inserted;
}

void sleepMs(uint32_t milliseconds) { desktop().clockMs += milliseconds; }

bool beginScan() { return true; }
void endScan() {}

uint32_t getLastError() { return desktop().lastError; }
void setLastError(uint32_t code) { desktop().lastError = code; }

int32_t systemMessage(uint32_t code, char16_t* text, int32_t capacity) {
    if (capacity <= 0) {
        return 0;
    }
    const auto& messages = desktop().messages;
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
