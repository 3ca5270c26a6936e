// The desktop operations on X11. The typing core still speaks in Windows
// terms (virtual keys, scan codes, Alt + keypad codes); this file reads
// each injection for what it types and types that through XTest.
// The keysym groups that hold Windows-1252's typographic characters.
#define XK_PUBLISHING
#define XK_TECHNICAL
#include "platform/desktop.h"

#include "platform/windows1252.h"
#include "platform/x11/utf8_text.h"
#include "platform/x11/x_errors.h"
#include "platform/x11/x_keyboard.h"
#include "platform/x11/x_scan_lock.h"
#include "platform/x11/x_windows.h"

#include <X11/keysym.h>

#include <ctime>

namespace wedge::platform {
namespace {

using x11::Connection;

constexpr int32_t TitleUnits = 100;
constexpr uint16_t TokenBase = 0x100;  // scan codes: 0x100 + the virtual key
constexpr uint16_t ChordKey = 0xFF;    // no Windows key has it

// Set when a window manager answered at the latest listing or scan start.
bool managed_ = false;
// A scan may bring its target to the front until it has typed a key;
// after that the target losing the keyboard ends the scan.
bool mayActivate_ = true;

// The key that the latest vkKeyScan found, for the chord that follows.
x11::KeyStroke pendingStroke_ = {};

struct TitleCache {
    WindowHandle window;
    char16_t units[TitleUnits];
    int32_t length;
};
TitleCache title_ = {};

Window asWindow(WindowHandle window) { return static_cast<Window>(reinterpret_cast<uintptr_t>(window)); }
WindowHandle asHandle(Window window) { return reinterpret_cast<WindowHandle>(static_cast<uintptr_t>(window)); }

struct Visit {
    WindowVisitor visit;
    intptr_t value;
};
Visit visit_ = {};
// The window a listing is visiting: the listing has found it shown, and
// its title, once read, is read for this visit only.
WindowHandle visiting_ = nullptr;

bool forwardWindow(Window window, intptr_t /*value*/) {
    visiting_ = asHandle(window);
    title_.window = nullptr;
    const bool more = visit_.visit(visiting_, visit_.value);
    visiting_ = nullptr;
    return more;
}

// Windows-1252's characters above Latin-1 that have keysyms of their own.
struct LegacyKeysym {
    char16_t character;
    KeySym keysym;
};
constexpr LegacyKeysym LegacyKeysyms[] = {
    {0x20AC, XK_EuroSign},          {0x201A, XK_singlelowquotemark}, {0x0192, XK_function},
    {0x201E, XK_doublelowquotemark}, {0x2026, XK_ellipsis},          {0x2020, XK_dagger},
    {0x2021, XK_doubledagger},       {0x2030, XK_permille},          {0x0160, XK_Scaron},
    {0x0152, XK_OE},                 {0x017D, XK_Zcaron},            {0x2018, XK_leftsinglequotemark},
    {0x2019, XK_rightsinglequotemark}, {0x201C, XK_leftdoublequotemark}, {0x201D, XK_rightdoublequotemark},
    {0x2022, XK_enfilledcircbullet}, {0x2013, XK_endash},            {0x2014, XK_emdash},
    {0x2122, XK_trademark},          {0x0161, XK_scaron},            {0x0153, XK_oe},
    {0x017E, XK_zcaron},             {0x0178, XK_Ydiaeresis},
};

KeySym keysymFor(char16_t character) {
    if (character == u'\r') {
        return XK_Return;
    }
    if ((character >= 0x20 && character <= 0x7E) || (character >= 0xA0 && character <= 0xFF)) {
        return character;
    }
    for (const LegacyKeysym& legacy : LegacyKeysyms) {
        if (legacy.character == character) {
            return legacy.keysym;
        }
    }
    return 0x01000000 | character;
}

// Some one else's modifier keys let up (Alt and Super after a tap of the
// mask key), the stroke's modifiers down, the key tapped, the modifiers up.
bool typeStroke(const Connection& c, const x11::KeyStroke& stroke, bool tap, bool down) {
    constexpr int32_t Capacity = 48;
    x11::KeyAction actions[Capacity] = {};
    int32_t count = 0;
    KeyCode held[8] = {};
    const int32_t heldCount = x11::heldModifierKeys(c, held, 8);
    bool masked = false;
    for (int32_t i = 0; i < heldCount; ++i) {
        const KeyCode mask = x11::maskKeyBeforeRelease(held[i]);
        if (mask != 0 && !masked) {
            actions[count++] = {mask, true};
            actions[count++] = {mask, false};
            masked = true;
        }
        actions[count++] = {held[i], false};
    }
    KeyCode modifiers[8] = {};
    const int32_t modifierCount = x11::modifierKeys(stroke.modifiers, modifiers);
    for (int32_t i = 0; i < modifierCount; ++i) {
        actions[count++] = {modifiers[i], true};
    }
    if (tap || down) {
        actions[count++] = {stroke.key, true};
    }
    if (tap || !down) {
        actions[count++] = {stroke.key, false};
    }
    for (int32_t i = 0; i < modifierCount; ++i) {
        actions[count++] = {modifiers[i], false};
    }
    return x11::injectKeys(c, actions, count);
}

bool typeCharacter(const Connection& c, char16_t character) {
    x11::KeyStroke stroke = {};
    mayActivate_ = false;
    return x11::findKey(c, keysymFor(character), &stroke) && typeStroke(c, stroke, true, true);
}

// Ten scan-code events: Alt down, keypad 0 and three digits, Alt up.
bool isAltCode(const KeyboardEvent* events, uint32_t count) {
    return count == 10 && (events[0].flags & KeyScanCode) != 0 && events[0].scanCode == TokenBase + VkMenu;
}

uint8_t altCodeValue(const KeyboardEvent* events) {
    auto digit = [&](int index) { return (events[index].scanCode - TokenBase - VkNumpad0) % 10; };
    return static_cast<uint8_t>(digit(3) * 100 + digit(5) * 10 + digit(7));
}

}  // namespace

bool enumWindows(WindowVisitor visit, intptr_t value) {
    const Connection* c = x11::connection();
    if (c == nullptr) {
        return false;
    }
    managed_ = x11::windowManagerRunning(*c);
    title_.window = nullptr;
    const Visit outer = visit_;
    visit_ = {visit, value};
    const bool listed = x11::forEachTopLevel(*c, forwardWindow, 0);
    visit_ = outer;
    x11::discardEvents(*c);
    return listed;
}

bool getWindowStyle(WindowHandle window, uint32_t* style) {
    if (window != nullptr && window == visiting_) {
        // Listing needs only what the listing itself established.
        *style = StyleVisible;
        return true;
    }
    const Connection* c = x11::connection();
    if (c == nullptr || !x11::windowExists(*c, asWindow(window))) {
        return false;
    }
    *style = 0;
    if (x11::isShown(*c, asWindow(window), managed_)) {
        *style |= StyleVisible;
    }
    if (managed_ && x11::isMinimised(*c, asWindow(window))) {
        *style |= StyleMinimised;
    }
    return true;
}

int32_t getWindowTextLength(WindowHandle window) {
    if (window != nullptr && window == visiting_ && title_.window == window) {
        return title_.length;
    }
    const Connection* c = x11::connection();
    if (c == nullptr) {
        return 0;
    }
    title_.window = window;
    title_.length = x11::readTitle(*c, asWindow(window), title_.units, TitleUnits);
    return title_.length;
}

int32_t getWindowText(WindowHandle window, char16_t* buffer, int32_t capacity) {
    if (capacity <= 0) {
        return 0;
    }
    if (title_.window != window) {
        getWindowTextLength(window);
    }
    int32_t copied = 0;
    for (; copied < capacity - 1 && copied < title_.length && copied < TitleUnits; ++copied) {
        buffer[copied] = title_.units[copied];
    }
    buffer[copied] = 0;
    return copied;
}

bool isWindow(WindowHandle window) {
    const Connection* c = x11::connection();
    return c != nullptr && window != nullptr && x11::windowExists(*c, asWindow(window));
}

bool setForegroundWindow(WindowHandle window) {
    const Connection* c = x11::connection();
    if (c == nullptr || window == nullptr) {
        return false;
    }
    if (x11::hasKeyboard(*c, asWindow(window), managed_)) {
        return true;
    }
    // Mid-scan, the keyboard went elsewhere: taking it back would type the
    // rest of the scan into a window the user has just moved away from.
    return mayActivate_ && x11::activate(*c, asWindow(window), managed_);
}

bool openIcon(WindowHandle window) {
    const Connection* c = x11::connection();
    return c != nullptr && x11::restore(*c, asWindow(window));
}

int16_t getKeyState(int32_t virtualKey) {
    const Connection* c = x11::connection();
    bool locked = false;
    if (c == nullptr || virtualKey != VkCapital || !x11::capsLocked(*c, &locked)) {
        return 0;
    }
    const int held = x11::capsKeyHeld(*c) ? 0x8000 : 0;
    return static_cast<int16_t>(held | (locked ? 1 : 0));
}

int16_t vkKeyScan(char16_t character) {
    const Connection* c = x11::connection();
    if (c == nullptr || !x11::findKey(*c, keysymFor(character), &pendingStroke_)) {
        return -1;
    }
    // The key travels in pendingStroke_, in X's terms, with its modifiers;
    // the chord names it by a virtual key no other event uses.
    return ChordKey;
}

uint32_t scanCodeOf(uint32_t virtualKey) { return TokenBase + virtualKey; }

uint32_t sendInput(const KeyboardEvent* events, uint32_t count) {
    const Connection* c = x11::connection();
    if (c == nullptr) {
        return 0;
    }
    if (count == 0 || count > MaxEventsPerInjection) {
        x11::setErrorCode(ErrorInvalidParameter);
        return 0;
    }
    bool typed = false;
    if ((events[0].flags & KeyScanCode) == 0 && events[0].virtualKey == VkCapital) {
        // Caps Lock taps: XKB flips the lock itself, no key goes down.
        bool locked = false;
        typed = x11::capsLocked(*c, &locked) && x11::lockCaps(*c, !locked);
    } else if (isAltCode(events, count)) {
        const char16_t character = fromWindows1252(altCodeValue(events));
        // The five bytes Windows-1252 leaves undefined stand for C1
        // control characters, which no key types: dropped, as C0 ones are.
        typed = (character >= 0x80 && character < 0xA0) || typeCharacter(*c, character);
    } else if ((events[0].flags & KeyScanCode) != 0 && events[0].scanCode == TokenBase + VkTab) {
        x11::KeyStroke tab = {};
        mayActivate_ = false;
        typed = x11::findKey(*c, XK_Tab, &tab) && typeStroke(*c, tab, false, (events[0].flags & KeyRelease) == 0);
    } else if (count == 2 && events[0].virtualKey == ChordKey) {
        mayActivate_ = false;
        typed = typeStroke(*c, pendingStroke_, true, true);
    } else {
        x11::setErrorCode(ErrorInvalidParameter);
    }
    return typed ? count : 0;
}

void sleepMs(uint32_t milliseconds) {
    timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0) {
    }
}

bool beginScan() {
    const Connection* c = x11::connection();
    if (c == nullptr || !x11::lockScan(c->x->displayString(c->display))) {
        return false;
    }
    managed_ = x11::windowManagerRunning(*c);
    mayActivate_ = true;
    if (!x11::startTyping(*c)) {
        x11::unlockScan();
        return false;
    }
    return true;
}

void endScan() {
    const Connection* c = x11::connection();
    if (c != nullptr) {
        x11::finishTyping(*c);
        x11::discardEvents(*c);
    }
    x11::unlockScan();
    mayActivate_ = true;
}

uint32_t getLastError() { return x11::errorCode(); }

void setLastError(uint32_t code) { x11::setErrorCode(code); }

int32_t systemMessage(uint32_t code, char16_t* text, int32_t capacity) {
    if (capacity <= 0) {
        return 0;
    }
    const char* utf8 = x11::errorTextFor(code);
    size_t bytes = 0;
    while (utf8[bytes] != 0) {
        ++bytes;
    }
    int32_t units = x11::utf8ToUtf16(reinterpret_cast<const unsigned char*>(utf8), bytes, text, capacity - 1);
    if (units > capacity - 1) {
        units = capacity - 1;
    }
    text[units] = 0;
    return units;
}

}  // namespace wedge::platform
