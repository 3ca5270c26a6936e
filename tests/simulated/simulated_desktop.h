// Control of the simulated desktop that stands in for user32 and kernel32
// in the host build: tests lay out windows, keyboard state and faults here,
// run the library, and read back what it injected and when.
//
// Time is virtual: sleepMs advances the clock and never blocks.
#pragma once

#include "platform/win32/windows_keys.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace wedge::simulated {

using platform::KeyboardEvent;
using platform::WindowHandle;

enum class Layout {
    UnitedStates,
    // US keys, but @ { } [ ] \ are typed with Ctrl+Alt (AltGr), and the
    // dead keys ` ^ ~ type nothing on their own: no key produces them.
    AltGraph,
};

struct WindowSetup {
    std::u16string title;
    bool visible = true;
    bool minimised = false;
    bool acceptsActivation = true;
    // Its process runs at a higher integrity level than the library's.
    bool elevated = false;
    // The layout of the thread that owns it; none: the desktop's layout,
    // whatever useLayout makes that.
    std::optional<Layout> layout = std::nullopt;
};

struct InjectedEvent {
    KeyboardEvent event;
    uint64_t atMs;            // virtual clock when it was injected
    uint32_t injection;       // which sendInput call carried it, from 1
    WindowHandle foreground;  // the window in front when it arrived
    bool underScanLock;       // the library held the scan lock
};

struct Activation {
    WindowHandle window;
    uint64_t atMs;
    bool succeeded;
    bool underScanLock;
};

// Empties the desktop: no windows, US layout, every key up and Caps Lock
// off, clock and logs at zero, last error 0, the scan lock free, no faults.
void reset();

// Adds a top-level window at the end of the enumeration order.
WindowHandle openWindow(const WindowSetup& setup);
void closeWindow(WindowHandle window);
void setTitle(WindowHandle window, const std::u16string& title);
void setVisible(WindowHandle window, bool visible);
void setMinimised(WindowHandle window, bool minimised);
void setAcceptsActivation(WindowHandle window, bool accepts);
// The window accepts this many more activations, then refuses them.
void refuseActivationAfter(WindowHandle window, uint32_t activations);
void setForeground(WindowHandle window);

bool isMinimised(WindowHandle window);
WindowHandle foregroundWindow();
// The characters that typed keys delivered to the window while it was in
// front: Enter arrives as '\r', Tab as '\t', Alt + keypad 0nnn codes as
// their Windows-1252 character.
std::u16string receivedText(WindowHandle window);

// The calling thread's layout, and that of every window without its own.
void useLayout(Layout layout);
void setCapsLock(bool on);
bool capsLockOn();
// Holds a key down (or lets it up) without toggling anything, as a person
// holding it would before the library runs. Shift, Control and Alt stand
// for their left key, as they do in injected events.
void holdKey(uint16_t virtualKey, bool down);
// The person keeps holding the key down, and the keyboard repeats it: let
// up by an injection, it is down again after the next pause.
void repeatHeldKey(uint16_t virtualKey);
// Shift, Control and Alt are down when their left or right key is.
bool isKeyDown(uint16_t virtualKey);
// Modifiers by their left or right key.
std::vector<uint16_t> keysDown();
// How often Alt or Windows went up with no other key pressed while it was
// down: each time, the window in front would open its menu bar (or Windows
// its Start menu).
uint32_t menuOpenings();

uint64_t nowMs();
const std::vector<InjectedEvent>& injectedEvents();
// Keeps at most this many events in the log (0: all); later events still
// take effect and are counted. For scans too large to log whole.
void limitEventLog(uint32_t events);
// Every event injected since the reset, logged or not.
uint64_t injectedEventTotal();
uint32_t injectionCount();
const std::vector<Activation>& activations();
const std::vector<WindowHandle>& restorations();

// After `after` more calls that go through, the next `times` sendInput
// calls insert nothing and leave errorCode as the last error; times < 0
// means every call until cleared with code 0.
void failSendInput(uint32_t errorCode, int32_t times = -1, uint32_t after = 0);
// Every sendInput call inserts at most this many events (0: no limit).
void limitSendInput(uint32_t events);
// The window's information cannot be read.
void failWindowInfo(WindowHandle window, bool fail);
// The window reports this title length, whatever its title holds.
void reportTitleLength(WindowHandle window, int32_t length);
// The first length query sees the current title; the title then changes
// to `title` before the second query.
void changeTitleAfterFirstLengthQuery(WindowHandle window, const std::u16string& title);
// The system's text for a code; an empty text removes it.
void setSystemMessage(uint32_t code, const std::u16string& text);

// The scan lock cannot be had; each attempt leaves this last error (0:
// it can again).
void failScanLock(uint32_t errorCode);
bool scanLockHeld();
uint32_t scanLockAcquisitions();

// A code for which the system has no text.
inline constexpr uint32_t CodeWithoutText = 0x3DEAD;

}  // namespace wedge::simulated
