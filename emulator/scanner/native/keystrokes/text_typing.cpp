#include "keystrokes/text_typing.h"

#include "catalogue/target.h"
#include "catalogue/window_catalogue.h"
#include "keystrokes/byte_translation.h"
#include "keystrokes/error_text.h"
#include "keystrokes/key_injection.h"
#include "platform/desktop.h"

namespace wedge::keystrokes {
namespace {

using catalogue::targetWindow;

bool bringTargetToFront() {
    if (platform::desktop().bringToFront(targetWindow())) {
        return true;
    }
    return catalogue::relocateTarget() && platform::desktop().bringToFront(targetWindow());
}

// Every key event of the desktop's Caps Lock toggle goes in all or nothing.
// *toggled says whether Caps Lock flipped, whatever the result.
bool tapCapsLock(bool* toggled) {
    return platform::desktop().toggleCapsLock(injectAll, toggled);
}

enum class Typed { All, ByteFailed, ForegroundLost };

Typed typeBytes(const TextSource& text, platform::Keyboard keyboard) {
    const platform::Desktop& desktop = platform::desktop();
    const int32_t count = text.length(text.context);
    for (int32_t i = 0; i < count; ++i) {
        uint8_t value = 0;
        if (!text.readByte(text.context, i, &value)) {
            desktop.setLastError(platform::ErrorInvalidParameter);
            return Typed::ByteFailed;
        }
        // Checked before every byte, the first too: another window may have
        // taken the foreground during a pause, and it would get the keys.
        if (!desktop.stillInFront(targetWindow())) {
            return Typed::ForegroundLost;
        }
        if (!typeByte(value, keyboard)) {
            return Typed::ByteFailed;
        }
        desktop.sleepMs(BetweenBytesMs);
    }
    return Typed::All;
}

// Everything sendText does while it holds the scan lock.
// Typing with the target's keyboard open.
bool typeWithKeyboard(const TextSource& text, platform::Keyboard keyboard) {
    bool capsSwitchedOff = false;
    if (platform::desktop().capsLockOn() && !tapCapsLock(&capsSwitchedOff)) {
        recordSystemError();
        bool switchedBack = false;
        if (capsSwitchedOff) {
            tapCapsLock(&switchedBack);
        }
        return false;
    }

    const Typed outcome = typeBytes(text, keyboard);
    if (outcome == Typed::ByteFailed) {
        recordSystemError();
    } else if (outcome == Typed::ForegroundLost) {
        recordMessage(WindowUnavailableMessage);
    }

    // Caps Lock goes back on whichever way typing ended; a failure to do so
    // is reported unless an earlier failure already is.
    bool switchedBack = false;
    if (capsSwitchedOff && !tapCapsLock(&switchedBack) && outcome == Typed::All) {
        recordSystemError();
        return false;
    }
    return outcome == Typed::All;
}

bool typeIntoTarget(const TextSource& text) {
    const platform::Desktop& desktop = platform::desktop();
    if (!bringTargetToFront()) {
        recordMessage(WindowUnavailableMessage);
        return false;
    }
    // A target that would drop every key without a word.
    if (!desktop.acceptsInput(targetWindow())) {
        recordSystemError();
        return false;
    }
    desktop.restoreIfMinimised(targetWindow());
    desktop.sleepMs(SettleMs);
    // The target's own keyboard turns the keys into characters, not ours.
    platform::Keyboard keyboard = nullptr;
    if (!desktop.openKeyboard(targetWindow(), &keyboard)) {
        recordSystemError();
        return false;
    }
    const bool typed = typeWithKeyboard(text, keyboard);
    desktop.closeKeyboard(keyboard);
    return typed;
}

}  // namespace

bool sendText(const TextSource* text) {
    const platform::Desktop& desktop = platform::desktop();
    clearErrorText();
    if (targetWindow() == nullptr) {
        // Without a desktop no target could be chosen: say why.
        if (!desktop.reachable()) {
            recordSystemError();
        } else {
            recordMessage(TargetNotSetMessage);
        }
        return false;
    }
    if (text == nullptr) {
        desktop.setLastError(platform::ErrorInvalidParameter);
        recordSystemError();
        return false;
    }
    // One scan at a time on the desktop: keys of two scans would interleave.
    if (!desktop.acquireScanLock()) {
        recordSystemError();
        return false;
    }
    const bool typed = typeIntoTarget(*text);
    desktop.releaseScanLock();
    return typed;
}

}  // namespace wedge::keystrokes
