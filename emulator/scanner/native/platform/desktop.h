// What the library needs from a desktop, in its own terms: the titled
// top-level windows, bringing one to the front and keeping it there, the
// keys that type a character in the target's keyboard, injecting them,
// the keys someone else holds, Caps Lock, one scan at a time, pauses, and
// the last error with its text.
//
// Each desktop (platform/win32, platform/x11, ...) fills in one table of
// these operations and translates at its own edge: windows, keys and error
// codes reach the core only as the opaque values below. desktop() answers
// the table the library runs on; on Linux it is chosen at first use.
#pragma once

#include <cstdint>

namespace wedge::platform {

// A top-level window as the desktop names it; null names no window.
using WindowHandle = void*;

// Error codes: the Windows codes, on every desktop, so that a code means
// the same wherever it is reported.
inline constexpr uint32_t ErrorAccessDenied = 5;       // the target would drop our input; a lock refused
inline constexpr uint32_t ErrorInvalidData = 13;       // no key types the character
inline constexpr uint32_t ErrorWriteFault = 29;        // an injection went in only in part
inline constexpr uint32_t ErrorInvalidParameter = 87;  // bad input
inline constexpr uint32_t ErrorNoDesktop = 1167;       // no desktop could be reached

// Titles: 99 units of text and a terminator.
inline constexpr int32_t TitleCapacity = 100;

// One top-level window as a listing finds it.
struct WindowInfo {
    WindowHandle window;
    bool visible;
    bool minimised;
    // It had a title when it was listed. A window that is not visible has
    // its title left unread.
    bool titled;
    // At most TitleCapacity - 1 units, terminated; a title that changed
    // while it was read may come out shorter, even empty.
    int32_t titleLength;
    char16_t title[TitleCapacity];
};

// Called once per top-level window, in the desktop's order, for as long as
// it returns true.
using WindowVisitor = bool (*)(const WindowInfo& window, intptr_t value);

// A key as the desktop names it: only the desktop that answered it reads
// it. Two keys are the same key when their values are equal.
using Key = uint32_t;

struct KeyEvent {
    Key key;
    bool release;
};

// What types one character: modifier keys held down, in order, over keys
// tapped in turn.
inline constexpr uint32_t MaxChordModifiers = 3;
inline constexpr uint32_t MaxChordKeys = 4;
struct KeyChord {
    Key modifiers[MaxChordModifiers];
    uint32_t modifierCount;
    Key keys[MaxChordKeys];
    uint32_t keyCount;
};

// The most modifier keys someone else can hold that the library lets up.
inline constexpr uint32_t MaxModifierKeys = 8;

// Releases of every held modifier key, a mask tap, and a chord: its
// modifiers down and up around its keys' taps.
inline constexpr uint32_t MaxEventsPerInjection =
    MaxModifierKeys + 2 + 2 * MaxChordModifiers + 2 * MaxChordKeys;

// The keyboard that turns the target's keys into characters, for one scan.
using Keyboard = void*;

// Injects events all or nothing, as the typing core does: true when every
// event went in; *inserted says how many did.
using Injector = bool (*)(const KeyEvent* events, uint32_t count, uint32_t* inserted);

struct Desktop {
    // Named in error texts: "Windows", "X11", ...
    const char* name;

    // False, with the last error set, when the desktop cannot be reached at
    // all; then no window can have been listed, and that is the reason.
    bool (*reachable)();

    // Visits the top-level windows, topmost or first-created first as the
    // desktop orders them.
    bool (*listWindows)(WindowVisitor visit, intptr_t value);
    bool (*windowExists)(WindowHandle window);

    // Brings the window to the front and answers true only once it is
    // there and has the keyboard.
    bool (*bringToFront)(WindowHandle window);
    // False, with the last error set, when the input the library injects
    // would not reach the window: Windows drops it for a window of a higher
    // integrity level (ErrorAccessDenied); on X another client may hold
    // the keyboard.
    bool (*acceptsInput)(WindowHandle window);
    void (*restoreIfMinimised)(WindowHandle window);
    // Asked before every byte: whether the window still has the keyboard.
    // A desktop that always lets an application take the foreground back
    // takes it back here; one where that would take the keyboard from
    // where the person went only looks.
    bool (*stillInFront)(WindowHandle window);

    // The target's keyboard for the scan about to be typed; false, with the
    // last error set, when it cannot be read. closeKeyboard undoes what
    // opening it changed on the desktop (keys bound for the scan).
    bool (*openKeyboard)(WindowHandle window, Keyboard* keyboard);
    void (*closeKeyboard)(Keyboard keyboard);

    // The chord that types a character (13, or 32 to 126); false, with last
    // error ErrorInvalidData, when no key can type it.
    bool (*chordForCharacter)(Keyboard keyboard, char16_t character, KeyChord* chord);
    // The chord that types a byte from 128 to 255 as this desktop types
    // them; a chord without keys types nothing: the byte is dropped.
    bool (*chordForHighByte)(Keyboard keyboard, uint8_t value, KeyChord* chord);
    Key (*tabKey)(Keyboard keyboard);

    bool (*capsLockOn)();
    // Flips Caps Lock, through inject where the desktop does it with keys.
    // *toggled says whether it flipped, whatever the result.
    bool (*toggleCapsLock)(Injector inject, bool* toggled);

    // Writes the modifier keys that someone else holds down now, as the
    // keys to release; answers how many, at most MaxModifierKeys.
    uint32_t (*heldModifierKeys)(Key* keys);
    // A key that does nothing, tapped before the release of the key when
    // that release alone would do something (open a menu); 0 for none.
    Key (*maskKeyBeforeRelease)(Key key);

    // Injects the events in order, at most MaxEventsPerInjection, as one
    // batch that no other input interleaves with; answers how many went
    // in, 0 on failure with the last error set.
    uint32_t (*sendInput)(const KeyEvent* events, uint32_t count);

    // One scan at a time on this desktop, among every process that loads
    // the library: waits while another scan holds the lock, and takes over
    // a lock whose holder died. False, with the last error set, when the
    // lock cannot be had.
    bool (*acquireScanLock)();
    void (*releaseScanLock)();

    void (*sleepMs)(uint32_t milliseconds);

    uint32_t (*lastError)();
    void (*setLastError)(uint32_t code);
    // The text for an error code, copied into text (at most capacity - 1
    // units and a terminator); answers the units copied, 0 when there is
    // no text for the code.
    int32_t (*systemMessage)(uint32_t code, char16_t* text, int32_t capacity);
};

// The desktop the library runs on.
const Desktop& desktop();

}  // namespace wedge::platform
