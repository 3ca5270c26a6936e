// Keyboard state, layouts and input injection through user32.
#include "platform/win32/windows_keys.h"
#include "platform/win32/handles.h"

namespace wedge::platform {
namespace {

// Scan code set 1 of the PC keyboard, for the keys the library sends by
// scan code. Some systems (Wine among them) answer 0 for the keypad keys,
// and a scan code of 0 would type nothing anywhere.
struct StandardScanCode {
    uint16_t virtualKey;
    uint16_t scanCode;
};

constexpr StandardScanCode StandardScanCodes[] = {
    {VkTab, 0x0F},         {VkMenu, 0x38},        {VkNumpad0, 0x52},     {VkNumpad0 + 1, 0x4F},
    {VkNumpad0 + 2, 0x50}, {VkNumpad0 + 3, 0x51}, {VkNumpad0 + 4, 0x4B}, {VkNumpad0 + 5, 0x4C},
    {VkNumpad0 + 6, 0x4D}, {VkNumpad0 + 7, 0x47}, {VkNumpad0 + 8, 0x48}, {VkNumpad0 + 9, 0x49},
};

bool isExtendedKey(uint16_t virtualKey) {
    return virtualKey == VkRightControl || virtualKey == VkRightMenu || virtualKey == VkLeftWindows ||
           virtualKey == VkRightWindows;
}

bool keyDownNow(uint16_t key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

}  // namespace

int16_t getKeyState(int32_t virtualKey) { return GetKeyState(virtualKey); }

Keyboard keyboardLayoutOf(WindowHandle window) {
    const DWORD thread = GetWindowThreadProcessId(asHwnd(window), nullptr);
    HKL layout = thread != 0 ? GetKeyboardLayout(thread) : nullptr;
    if (layout == nullptr) {
        layout = GetKeyboardLayout(0);
    }
    return layout;
}

int16_t vkKeyScan(char16_t character, Keyboard layout) {
    return VkKeyScanExW(static_cast<WCHAR>(character), static_cast<HKL>(layout));
}

uint32_t scanCodeOf(uint32_t virtualKey) {
    const UINT code = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    if (code != 0) {
        return code;
    }
    for (const StandardScanCode& standard : StandardScanCodes) {
        if (standard.virtualKey == virtualKey) {
            return standard.scanCode;
        }
    }
    return 0;
}

// Asked before every byte, and each question can cost a trip to the
// system: the sides of Shift, Ctrl and Alt are asked only when the key
// that stands for both is down, which it almost never is.
uint32_t heldModifierKeys(uint16_t* keys) {
    constexpr struct {
        uint16_t either;
        uint16_t sides[2];
    } Groups[] = {
        {VkShift, {VkLeftShift, VkRightShift}},
        {VkControl, {VkLeftControl, VkRightControl}},
        {VkMenu, {VkLeftMenu, VkRightMenu}},
        {VkLeftWindows, {VkLeftWindows, 0}},
        {VkRightWindows, {VkRightWindows, 0}},
    };
    uint32_t count = 0;
    for (const auto& group : Groups) {
        if (!keyDownNow(group.either)) {
            continue;
        }
        for (const uint16_t side : group.sides) {
            if (side == group.either || (side != 0 && keyDownNow(side))) {
                keys[count++] = side;
            }
        }
    }
    return count;
}

uint32_t sendInput(const KeyboardEvent* events, uint32_t count) {
    if (count > MaxEventsPerInjection) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    INPUT inputs[MaxEventsPerInjection] = {};
    for (uint32_t i = 0; i < count; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = events[i].virtualKey;
        inputs[i].ki.wScan = events[i].scanCode;
        inputs[i].ki.dwFlags = events[i].flags | (isExtendedKey(events[i].virtualKey) ? KEYEVENTF_EXTENDEDKEY : 0);
    }
    return SendInput(count, inputs, sizeof(INPUT));
}

}  // namespace wedge::platform
