// The simulated keyboard: which keys are down, Caps Lock, what a key
// press types into the window in front (through that window's layout),
// Alt + keypad codes, and the menu that a lone Alt or Windows opens.
#include "simulated/keyboard_layouts.h"
#include "simulated/simulated_state.h"
#include "platform/windows1252.h"
#include "platform/win32/windows_keys.h"

#include <algorithm>
#include <iterator>

namespace wedge::simulated {
namespace {

using platform::VkControl;
using platform::VkLeftControl;
using platform::VkLeftMenu;
using platform::VkLeftShift;
using platform::VkLeftWindows;
using platform::VkMenu;
using platform::VkRightControl;
using platform::VkRightMenu;
using platform::VkRightShift;
using platform::VkRightWindows;
using platform::VkShift;

Keyboard& keyboard() { return state().keyboard; }

// Shift, Control and Alt addressed as such act as their left key, as the
// system treats them.
uint16_t physicalKey(uint16_t virtualKey) {
    switch (virtualKey) {
    case VkShift:
        return VkLeftShift;
    case VkControl:
        return VkLeftControl;
    case VkMenu:
        return VkLeftMenu;
    default:
        return virtualKey;
    }
}

bool down(uint16_t virtualKey) { return keyboard().keyDown[virtualKey]; }

bool isModifier(uint16_t key) {
    return std::any_of(std::begin(platform::ModifierKeys), std::end(platform::ModifierKeys),
                       [key](uint16_t modifier) { return modifier == key; });
}

// Alt and Windows: let up alone, they open a menu.
bool isMenuKey(uint16_t key) { return platform::maskKeyForRelease(key) != 0; }

uint8_t heldShiftState() {
    return static_cast<uint8_t>((down(VkLeftShift) || down(VkRightShift) ? ShiftBit : 0) |
                                (down(VkLeftControl) || down(VkRightControl) ? ControlBit : 0) |
                                (down(VkLeftMenu) || down(VkRightMenu) ? AltBit : 0));
}

bool altDown() { return down(VkLeftMenu) || down(VkRightMenu); }

void deliver(char16_t character) {
    if (Window* window = findAlive(state().foreground)) {
        window->received.push_back(character);
    }
}

bool isNumpadDigit(uint16_t virtualKey) {
    return virtualKey >= platform::VkNumpad0 && virtualKey <= platform::VkNumpad0 + 9;
}

// Alt + keypad 0nnn types the Windows-1252 character nnn when Alt goes up.
void composeAltCode() {
    Keyboard& k = keyboard();
    if (k.altDigits.size() >= 2 && k.altDigits.front() == u'0') {
        unsigned value = 0;
        for (char16_t digit : k.altDigits) {
            value = value * 10 + static_cast<unsigned>(digit - u'0');
        }
        if (value <= 0xFF) {
            deliver(platform::fromWindows1252(static_cast<uint8_t>(value)));
        }
    }
    k.altDigits.clear();
}

void pressKey(uint16_t key) {
    Keyboard& k = keyboard();
    const bool wasDown = k.keyDown[key];
    k.keyDown[key] = true;
    if (isMenuKey(key)) {
        if (!wasDown) {
            k.menuKeyAlone = true;
            // Alt going down starts a new keypad code; digits left from an
            // earlier, unfinished one do not count.
            k.altDigits.clear();
        }
        return;
    }
    k.menuKeyAlone = false;
    if (key == platform::VkCapital) {
        if (!wasDown) {
            k.capsLock = !k.capsLock;
        }
        return;
    }
    if (isModifier(key)) {
        return;
    }
    // Any other key abandons a keypad code being entered, as on Windows:
    // the mask tap before an Alt release relies on it.
    if (!isNumpadDigit(key)) {
        k.altDigits.clear();
    }
    // Windows + a key is a shortcut of the system's: the window gets nothing.
    if (down(VkLeftWindows) || down(VkRightWindows)) {
        return;
    }
    uint8_t shiftState = heldShiftState();
    if (shiftState == AltBit && isNumpadDigit(key)) {
        k.altDigits.push_back(static_cast<char16_t>(u'0' + (key - platform::VkNumpad0)));
        return;
    }
    if (k.capsLock && isLetterKey(key)) {
        shiftState ^= ShiftBit;
    }
    const Window* window = findAlive(state().foreground);
    const Layout layout = window != nullptr ? layoutOf(*window) : k.layout;
    if (const char16_t character = characterOf(layout, key, shiftState)) {
        deliver(character);
    }
}

void releaseKey(uint16_t key) {
    Keyboard& k = keyboard();
    const bool wasDown = k.keyDown[key];
    k.keyDown[key] = false;
    if (wasDown && isMenuKey(key) && k.menuKeyAlone) {
        ++k.menuOpenings;
        k.menuKeyAlone = false;
    }
    if ((key == VkLeftMenu || key == VkRightMenu) && !altDown()) {
        composeAltCode();
    }
}

}  // namespace

void applyKeyEvent(const KeyboardEvent& event) {
    uint16_t virtualKey = event.virtualKey;
    if ((event.flags & platform::KeyScanCode) != 0) {
        virtualKey = keyOfScanCode(event.scanCode);
    }
    if (virtualKey == 0 || virtualKey > 0xFF) {
        return;
    }
    if ((event.flags & platform::KeyRelease) != 0) {
        releaseKey(physicalKey(virtualKey));
    } else {
        pressKey(physicalKey(virtualKey));
    }
}

void repeatKeys() {
    const uint16_t key = keyboard().repeatingKey;
    if (key != 0 && !down(key)) {
        pressKey(key);
    }
}

void repeatHeldKey(uint16_t virtualKey) { keyboard().repeatingKey = physicalKey(virtualKey & 0xFF); }

void useLayout(Layout layout) { keyboard().layout = layout; }
void setCapsLock(bool on) { keyboard().capsLock = on; }
bool capsLockOn() { return keyboard().capsLock; }

void holdKey(uint16_t virtualKey, bool isDown) {
    const uint16_t key = physicalKey(virtualKey & 0xFF);
    if (isDown && !down(key) && isMenuKey(key)) {
        keyboard().menuKeyAlone = true;
    }
    keyboard().keyDown[key] = isDown;
}

bool isKeyDown(uint16_t virtualKey) {
    switch (virtualKey) {
    case VkShift:
        return down(VkLeftShift) || down(VkRightShift);
    case VkControl:
        return down(VkLeftControl) || down(VkRightControl);
    case VkMenu:
        return altDown();
    default:
        return down(virtualKey & 0xFF);
    }
}

std::vector<uint16_t> keysDown() {
    std::vector<uint16_t> keys;
    for (uint16_t key = 0; key < 256; ++key) {
        if (down(key)) {
            keys.push_back(key);
        }
    }
    return keys;
}

uint32_t menuOpenings() { return keyboard().menuOpenings; }

}  // namespace wedge::simulated
