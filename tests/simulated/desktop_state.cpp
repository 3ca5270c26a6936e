// The simulated desktop's windows, clock and logs, as tests arrange and
// read them.
#include "simulated/simulated_state.h"

namespace wedge::simulated {

std::map<uint32_t, std::u16string> standardMessages() {
    return {
        {0, u"The operation completed successfully.\r\n"},
        {2, u"The system cannot find the file specified.\r\n"},
        {5, u"Access is denied.\r\n"},
        {13, u"The data is invalid.\r\n"},
        {29, u"The system cannot write to the specified device.\r\n"},
        {87, u"The parameter is incorrect.\r\n"},
        {1400, u"Invalid window handle.\r\n"},
    };
}

DesktopState& state() {
    static DesktopState instance;
    return instance;
}

Window* find(WindowHandle handle) {
    for (Window& window : state().windows) {
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

Window& require(WindowHandle handle) {
    Window* window = find(handle);
    if (window == nullptr) {
        static Window none{};
        none = Window{};
        return none;
    }
    return *window;
}

Layout layoutOf(const Window& window) { return window.layout.value_or(state().keyboard.layout); }

void reset() { state() = DesktopState{}; }

WindowHandle openWindow(const WindowSetup& setup) {
    DesktopState& d = state();
    Window window{};
    window.id = d.nextId;
    window.title = setup.title;
    window.visible = setup.visible;
    window.minimised = setup.minimised;
    window.acceptsActivation = setup.acceptsActivation;
    window.elevated = setup.elevated;
    window.layout = setup.layout;
    d.nextId += 0x10;
    d.windows.push_back(window);
    return reinterpret_cast<WindowHandle>(window.id);
}

void closeWindow(WindowHandle window) {
    require(window).alive = false;
    if (state().foreground == window) {
        state().foreground = nullptr;
    }
}

void setTitle(WindowHandle window, const std::u16string& title) { require(window).title = title; }
void setVisible(WindowHandle window, bool visible) { require(window).visible = visible; }
void setMinimised(WindowHandle window, bool minimised) { require(window).minimised = minimised; }
void setAcceptsActivation(WindowHandle window, bool accepts) { require(window).acceptsActivation = accepts; }
void refuseActivationAfter(WindowHandle window, uint32_t activations) {
    require(window).activationsBeforeRefusal = activations;
}
void setForeground(WindowHandle window) { state().foreground = window; }

bool isMinimised(WindowHandle window) { return require(window).minimised; }
WindowHandle foregroundWindow() { return state().foreground; }
std::u16string receivedText(WindowHandle window) { return require(window).received; }

uint64_t nowMs() { return state().clockMs; }
const std::vector<InjectedEvent>& injectedEvents() { return state().injected; }
void limitEventLog(uint32_t events) { state().logLimit = events; }
uint64_t injectedEventTotal() { return state().injectedTotal; }
uint32_t injectionCount() { return state().injections; }
const std::vector<Activation>& activations() { return state().activations; }
const std::vector<WindowHandle>& restorations() { return state().restorations; }

bool scanLockHeld() { return state().scanLock.held; }
uint32_t scanLockAcquisitions() { return state().scanLock.acquisitions; }

}  // namespace wedge::simulated
