// The desktop operations the library drives: window enumeration and
// inspection, activation, keyboard state and layout, input injection,
// waiting, and the thread's last error code with its system text.
//
// Two implementations stand behind this header: win32/ calls user32 and
// kernel32 directly; simulated/ is the test double the host build uses.
// Nothing outside platform/ knows which one it runs on.
#pragma once

#include <cstdint>

namespace wedge::platform {

// A top-level window; null names no window.
using WindowHandle = void*;

// One keyboard event as the library hands it to sendInput. A press or
// release is addressed either by virtual key (virtualKey set, scanCode 0)
// or by scan code (virtualKey 0, scanCode set, KeyScanCode in flags).
struct KeyboardEvent {
    uint16_t virtualKey;
    uint16_t scanCode;
    uint32_t flags;
};

inline constexpr uint32_t KeyPress = 0x0000;
inline constexpr uint32_t KeyRelease = 0x0002;   // KEYEVENTF_KEYUP
inline constexpr uint32_t KeyScanCode = 0x0008;  // KEYEVENTF_SCANCODE

inline constexpr uint16_t VkTab = 0x09;
inline constexpr uint16_t VkShift = 0x10;
inline constexpr uint16_t VkControl = 0x11;
inline constexpr uint16_t VkMenu = 0x12;
inline constexpr uint16_t VkCapital = 0x14;
inline constexpr uint16_t VkNumpad0 = 0x60;

inline constexpr uint32_t StyleVisible = 0x10000000;    // WS_VISIBLE
inline constexpr uint32_t StyleMinimised = 0x20000000;  // WS_MINIMIZE

inline constexpr uint32_t ErrorInvalidData = 13;       // ERROR_INVALID_DATA
inline constexpr uint32_t ErrorInvalidParameter = 87;  // ERROR_INVALID_PARAMETER

// Called once per top-level window, in the system's order, for as long as
// it returns true.
using WindowVisitor = bool (*)(WindowHandle window, intptr_t value);

bool enumWindows(WindowVisitor visit, intptr_t value);

// The window's style bits (GetWindowInfo's dwStyle); false when the
// window's information cannot be read.
bool getWindowStyle(WindowHandle window, uint32_t* style);

int32_t getWindowTextLength(WindowHandle window);

// Copies at most capacity - 1 units of the title and a terminator.
int32_t getWindowText(WindowHandle window, char16_t* buffer, int32_t capacity);

bool isWindow(WindowHandle window);
bool setForegroundWindow(WindowHandle window);
bool openIcon(WindowHandle window);

int16_t getKeyState(int32_t virtualKey);

// Virtual key in the low byte, shift state in the high byte, for the
// calling thread's keyboard layout; -1 when no key produces the character.
int16_t vkKeyScan(char16_t character);

// MapVirtualKeyW(key, MAPVK_VK_TO_VSC).
uint32_t scanCodeOf(uint32_t virtualKey);

// A chord is at most 8 events and an Alt code 10.
inline constexpr uint32_t MaxEventsPerInjection = 16;

// Injects the events in order, at most MaxEventsPerInjection in one call;
// answers how many were inserted, 0 on failure with the last error set
// (ERROR_INVALID_PARAMETER for too many events).
uint32_t sendInput(const KeyboardEvent* events, uint32_t count);

void sleepMs(uint32_t milliseconds);

// One typing request runs between these two. beginScan readies the
// desktop for typing (false, with the last error set, when it cannot);
// endScan undoes whatever that needed, whichever way typing ended.
bool beginScan();
void endScan();

uint32_t getLastError();
void setLastError(uint32_t code);

// The system's text for an error code, copied into text (at most
// capacity - 1 units and a terminator); the system's own buffer is
// released before this returns. Answers the units copied, 0 when the
// system has no text for the code.
int32_t systemMessage(uint32_t code, char16_t* text, int32_t capacity);

}  // namespace wedge::platform
