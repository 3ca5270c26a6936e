// The desktop operations the library drives: window enumeration and
// inspection, activation, keyboard state and layouts, input injection, the
// desktop-wide scan lock, waiting, and the thread's last error code with
// its system text.
//
// Three implementations stand behind this header: win32/ calls user32 and
// kernel32 directly; x11/ calls Xlib, XTest and XKB; simulated/ is the
// test double the host build uses. Nothing outside platform/ knows which
// one it runs on. Keys are named in the desktop's own terms (Windows
// virtual keys and scan codes, X keycodes), and only the desktop reads
// those names: the typing core asks it which keys type a character and
// builds the injections from the answer.
#pragma once

#include <cstdint>

namespace wedge::platform {

// A top-level window; null names no window.
using WindowHandle = void*;

// One keyboard event as the library hands it to sendInput. A press or
// release names its key as the desktop does: on Windows either by virtual
// key (virtualKey set, scanCode 0) or by scan code (virtualKey 0, scanCode
// set, KeyScanCode in flags); on X by keycode (virtualKey).
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

inline constexpr uint32_t ErrorAccessDenied = 5;       // ERROR_ACCESS_DENIED
inline constexpr uint32_t ErrorInvalidData = 13;       // ERROR_INVALID_DATA
inline constexpr uint32_t ErrorWriteFault = 29;        // ERROR_WRITE_FAULT
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

// False, with last error 5 (ERROR_ACCESS_DENIED), when the window belongs
// to a process that runs at a higher integrity level than this one: the
// system would silently drop input injected for it.
bool canSendInputTo(WindowHandle window);

// False, with the last error set, when the desktop cannot be reached at
// all (on X: no display, or no X libraries); then no window can have been
// listed, and that is the reason to give.
bool desktopReachable();

// A keyboard layout (an HKL on Windows, where each thread has its own);
// null on X, which has one keymap for all windows.
using KeyboardLayout = void*;

// The layout of the thread that owns the window, which is the one that
// turns keys into characters for it; the calling thread's layout when the
// window's cannot be read.
KeyboardLayout keyboardLayoutOf(WindowHandle window);

// What types one character: modifier keys held down, in order, over keys
// tapped in turn. Only presses are listed; a release is its press with
// KeyRelease added.
inline constexpr uint32_t MaxChordModifiers = 3;
inline constexpr uint32_t MaxChordKeys = 4;
struct KeyChord {
    KeyboardEvent modifiers[MaxChordModifiers];
    uint32_t modifierCount;
    KeyboardEvent keys[MaxChordKeys];
    uint32_t keyCount;
};

// The chord that types a character (13, or 32 to 126) in the layout: the
// key and the Shift, AltGr (or Control and Alt) it needs. False, with last
// error 13 (ERROR_INVALID_DATA), when no key produces it.
bool chordForCharacter(char16_t character, KeyboardLayout layout, KeyChord* chord);

// The chord that types a byte from 128 to 255, as this desktop types them:
// Windows, Alt + keypad 0 and the three digits (the ANSI code page's
// character); X, the key of the Windows-1252 character. A chord without
// keys types nothing: the byte is dropped.
bool chordForHighByte(uint8_t value, KeyboardLayout layout, KeyChord* chord);

// The press of the Tab key.
KeyboardEvent tabKeyPress();

bool capsLockOn();

// Injects events all or nothing, as the typing core does: true when every
// event went in; *inserted says how many did.
using Injector = bool (*)(const KeyboardEvent* events, uint32_t count, uint32_t* inserted);

// Flips Caps Lock: on Windows by a tap of its key through inject, on X by
// locking or unlocking it through XKB. *toggled says whether it flipped,
// whatever the result.
bool toggleCapsLock(Injector inject, bool* toggled);

// The system's ANSI code page, the one that Alt + keypad 0nnn codes type
// in (1252 on Western systems).
uint32_t ansiCodePage();

// The character's single byte in the ANSI code page; false when the code
// page has none for it (or needs more than one byte).
bool toAnsiByte(char16_t character, uint8_t* byte);

// The most modifier keys that the library lets up at once: on Windows
// left and right Shift, Control, Alt and Windows.
inline constexpr uint32_t MaxModifierKeys = 8;

// Writes the modifier keys that are down now, pressed by the person or
// another program, as the keys to release (left or right); answers how
// many, at most MaxModifierKeys.
uint32_t heldModifierKeys(uint16_t* keys);

// A key that does nothing, tapped before the release of the key when that
// release alone would do something (Alt opens the menu bar, Windows opens
// Start; on X, Alt and Super); 0 when the release needs none.
uint16_t maskKeyBeforeRelease(uint16_t key);

// Releases of every modifier key, a mask tap, and a chord: its modifiers
// down and up around its keys' taps.
inline constexpr uint32_t MaxEventsPerInjection =
    MaxModifierKeys + 2 + 2 * MaxChordModifiers + 2 * MaxChordKeys;

// Injects the events in order, at most MaxEventsPerInjection in one call,
// as one injection that no other input interleaves with; answers how many
// were inserted, 0 on failure with the last error set
// (ERROR_INVALID_PARAMETER for too many events). The right-hand Control
// and Alt and the Windows keys go as the extended keys they are.
uint32_t sendInput(const KeyboardEvent* events, uint32_t count);

// One scan at a time on this desktop (the session): the lock is shared by
// every process that loads the library and by wedge.exe. Acquiring waits
// while another scan holds it, and takes over a lock whose holder died.
// False, with the last error set, when the lock cannot be had.
bool acquireScanLock();
void releaseScanLock();

void sleepMs(uint32_t milliseconds);

uint32_t getLastError();
void setLastError(uint32_t code);

// The system's text for an error code, copied into text (at most
// capacity - 1 units and a terminator); the system's own buffer is
// released before this returns. Answers the units copied, 0 when the
// system has no text for the code.
int32_t systemMessage(uint32_t code, char16_t* text, int32_t capacity);

}  // namespace wedge::platform
