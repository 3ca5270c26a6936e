// The simulated desktop's state, shared by the files that make it up:
// windows and logs (desktop_state.cpp), the keyboard (keyboard_model.cpp),
// injected faults (fault_control.cpp) and the desktop operations the
// library calls (desktop_operations.cpp).
#pragma once

#include "simulated/simulated_desktop.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace wedge::simulated {

struct Window {
    uintptr_t id = 0;
    std::u16string title;
    bool visible = false;
    bool minimised = false;
    bool acceptsActivation = false;
    bool elevated = false;
    std::optional<Layout> layout;  // none: the desktop's layout
    int64_t activationsBeforeRefusal = -1;  // < 0: no limit
    bool alive = true;
    bool infoFails = false;
    int32_t reportedLength = -1;  // < 0: the title's own length
    bool titleChangePending = false;
    std::u16string nextTitle;
    std::u16string received;
};

struct Keyboard {
    Layout layout = Layout::UnitedStates;  // the calling thread's, and every window's by default
    std::array<bool, 256> keyDown{};       // modifiers by their left or right key only
    bool capsLock = false;
    std::u16string altDigits;
    uint16_t repeatingKey = 0;  // held by the person, repeated by the keyboard
    bool menuKeyAlone = false;  // Alt or Windows went down and no other key since
    uint32_t menuOpenings = 0;
};

struct ScanLock {
    bool held = false;
    uint32_t error = 0;
    uint32_t acquisitions = 0;
};

struct Faults {
    uint32_t sendInputError = 0;
    int32_t sendInputFailures = 0;
    uint32_t sendInputsBeforeFailure = 0;
    uint32_t sendInputLimit = 0;
};

std::map<uint32_t, std::u16string> standardMessages();

struct DesktopState {
    std::vector<Window> windows;  // enumeration order
    uintptr_t nextId = 0x10010;
    WindowHandle foreground = nullptr;
    Keyboard keyboard;
    ScanLock scanLock;
    Faults faults;
    uint64_t clockMs = 0;
    uint32_t lastError = 0;
    std::vector<InjectedEvent> injected;
    uint32_t logLimit = 0;
    uint64_t injectedTotal = 0;
    uint32_t injections = 0;
    std::vector<Activation> activations;
    std::vector<WindowHandle> restorations;
    std::map<uint32_t, std::u16string> messages = standardMessages();
};

DesktopState& state();

Window* find(WindowHandle handle);
Window* findAlive(WindowHandle handle);
// The window, or a blank stand-in for a handle that names none.
Window& require(WindowHandle handle);

// The layout that turns keys into characters for the window.
Layout layoutOf(const Window& window);

// What one injected event does to the keyboard and the window in front.
void applyKeyEvent(const KeyboardEvent& event);

// A pause passes: a key the keyboard repeats is down again.
void repeatKeys();

}  // namespace wedge::simulated
