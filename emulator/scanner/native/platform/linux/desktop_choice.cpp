// The Linux library carries every Linux desktop and runs on the first one
// that the session offers, chosen when the desktop is first needed. Until
// one can be reached every use tries again, so a library loaded before
// the session was up still finds it; once chosen, the choice stays.
#include "platform/desktop.h"
#include "platform/linux/desktops.h"
#include "platform/linux/errors.h"
#include "platform/linux/pause.h"

namespace wedge::platform {
namespace {

using Candidate = const Desktop& (*)();

// In the order they are tried.
constexpr Candidate Candidates[] = {
    x11Desktop,
};

constexpr int32_t TextCapacity = 300;

const Desktop* chosen_ = nullptr;

void appendText(char* text, int32_t* length, const char* part) {
    for (; *part != 0 && *length < TextCapacity - 1; ++part) {
        text[(*length)++] = *part;
    }
    text[*length] = 0;
}

// Tries each desktop in turn; when none serves, the error says what each
// one answered, with the code of the last one, the one tried when all
// else failed.
bool choose() {
    if (chosen_ != nullptr) {
        return true;
    }
    char reasons[TextCapacity] = "No desktop can be reached";
    int32_t length = 0;
    while (reasons[length] != 0) {
        ++length;
    }
    const char* separator = ": ";
    uint32_t code = ErrorNoDesktop;
    for (const Candidate candidate : Candidates) {
        const Desktop& tried = candidate();
        if (tried.reachable()) {
            chosen_ = &tried;
            return true;
        }
        appendText(reasons, &length, separator);
        appendText(reasons, &length, tried.name);
        appendText(reasons, &length, ": ");
        code = linux_desktop::errorCode();
        appendText(reasons, &length, linux_desktop::errorTextFor(code));
        separator = "; ";
    }
    linux_desktop::failWith(code, reasons);
    return false;
}

bool reachable() { return choose(); }

bool listWindows(WindowVisitor visit, intptr_t value) { return choose() && chosen_->listWindows(visit, value); }

bool windowExists(WindowHandle window) { return choose() && chosen_->windowExists(window); }

bool notReached(WindowHandle /*window*/) { return false; }

void nothing(WindowHandle /*window*/) {}

bool noKeyboard(WindowHandle /*window*/, Keyboard* /*keyboard*/) { return false; }

void noKeyboardToClose(Keyboard /*keyboard*/) {}

bool noChord(Keyboard /*keyboard*/, char16_t /*character*/, KeyChord* /*chord*/) { return false; }

bool noHighByteChord(Keyboard /*keyboard*/, uint8_t /*value*/, KeyChord* /*chord*/) { return false; }

Key noKey(Keyboard /*keyboard*/) { return 0; }

bool capsLockOff() { return false; }

bool noToggle(Injector /*inject*/, bool* toggled) {
    *toggled = false;
    return false;
}

uint32_t noneHeld(Key* /*keys*/) { return 0; }

Key noMask(Key /*key*/) { return 0; }

uint32_t nothingSent(const KeyEvent* /*events*/, uint32_t /*count*/) { return 0; }

bool noLock() { return false; }

void noUnlock() {}

// Stands in until a desktop is chosen: reaching and listing try to choose
// one. The rest is never asked before a listing chose, since nothing can
// be typed without a target from a listing; it refuses all the same.
const Desktop Unchosen = {
    "none",
    reachable,
    listWindows,
    windowExists,
    notReached,
    notReached,
    nothing,
    notReached,
    noKeyboard,
    noKeyboardToClose,
    noChord,
    noHighByteChord,
    noKey,
    capsLockOff,
    noToggle,
    noneHeld,
    noMask,
    nothingSent,
    noLock,
    noUnlock,
    linux_desktop::sleepMs,
    linux_desktop::errorCode,
    linux_desktop::setErrorCode,
    linux_desktop::systemMessage,
};

}  // namespace

const Desktop& desktop() { return chosen_ != nullptr ? *chosen_ : Unchosen; }

}  // namespace wedge::platform
