// The Windows desktop in its own terms: the user32, kernel32 and advapi32
// operations the Windows table (desktop.cpp) is built from. This folder
// calls the real system; the host build's simulated desktop (under tests/)
// provides the same operations over a desktop held in memory.
#pragma once

#include "platform/desktop.h"

#include <cstdint>

namespace wedge::platform {

// One KEYBDINPUT as SendInput takes it: a key by virtual key (scanCode 0)
// or by scan code (virtualKey 0, KeyScanCode in flags).
struct KeyboardEvent {
    uint16_t virtualKey;
    uint16_t scanCode;
    uint32_t flags;
};

inline constexpr uint32_t KeyPress = 0x0000;
inline constexpr uint32_t KeyRelease = 0x0002;   // KEYEVENTF_KEYUP
inline constexpr uint32_t KeyScanCode = 0x0008;  // KEYEVENTF_SCANCODE

inline constexpr uint32_t StyleVisible = 0x10000000;    // WS_VISIBLE
inline constexpr uint32_t StyleMinimised = 0x20000000;  // WS_MINIMIZE

// Called once per top-level window, in the system's order, for as long as
// it returns true.
using HandleVisitor = bool (*)(WindowHandle window, intptr_t value);

bool enumWindows(HandleVisitor visit, intptr_t value);

// GetWindowInfo's dwStyle; false when the window's information cannot be read.
bool getWindowStyle(WindowHandle window, uint32_t* style);

int32_t getWindowTextLength(WindowHandle window);

// Copies at most capacity - 1 units of the title and a terminator.
int32_t getWindowText(WindowHandle window, char16_t* buffer, int32_t capacity);

bool isWindow(WindowHandle window);
// A window already in front is left as it is.
bool setForegroundWindow(WindowHandle window);
bool openIcon(WindowHandle window);

// False, with last error 5, when the window belongs to a process that runs
// at a higher integrity level than this one: the system would silently
// drop input injected for it.
bool canSendInputTo(WindowHandle window);

// The layout (an HKL) of the thread that owns the window, which is the one
// that turns keys into characters for it; the calling thread's layout when
// the window's cannot be read.
Keyboard keyboardLayoutOf(WindowHandle window);

int16_t getKeyState(int32_t virtualKey);

// Virtual key in the low byte, shift state in the high byte, for the
// character in the layout; -1 when no key produces the character.
int16_t vkKeyScan(char16_t character, Keyboard layout);

// The key's scan code on a PC keyboard: the system's answer
// (MapVirtualKeyW), or the standard one where the system answers 0.
uint32_t scanCodeOf(uint32_t virtualKey);

// The left and right Shift, Control, Alt and Windows keys down now; at
// most MaxModifierKeys.
uint32_t heldModifierKeys(uint16_t* keys);

// Injects the events as one SendInput; answers how many were inserted, 0
// on failure with the last error set (ERROR_INVALID_PARAMETER for more
// than MaxEventsPerInjection). The right-hand Control and Alt and the
// Windows keys go as the extended keys they are.
uint32_t sendInput(const KeyboardEvent* events, uint32_t count);

// A named mutex shared by the session.
bool acquireScanLock();
void releaseScanLock();

void sleepMs(uint32_t milliseconds);

uint32_t getLastError();
void setLastError(uint32_t code);

// FormatMessageW's text for the code; the system's buffer is released
// before this returns.
int32_t systemMessage(uint32_t code, char16_t* text, int32_t capacity);

}  // namespace wedge::platform
