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
    if (platform::setForegroundWindow(targetWindow())) {
        return true;
    }
    return catalogue::relocateTarget() && platform::setForegroundWindow(targetWindow());
}

void restoreIfMinimised() {
    uint32_t style = 0;
    // A window whose information cannot be read is taken as not minimised.
    if (platform::getWindowStyle(targetWindow(), &style) && (style & platform::StyleMinimised) != 0) {
        platform::openIcon(targetWindow());
    }
}

// Every key event of the desktop's Caps Lock toggle goes in all or nothing.
// *toggled says whether Caps Lock flipped, whatever the result.
bool tapCapsLock(bool* toggled) { return platform::toggleCapsLock(injectAll, toggled); }

enum class Typed { All, ByteFailed, ForegroundLost };

Typed typeBytes(const TextSource& text, platform::KeyboardLayout layout) {
    const int32_t count = text.length(text.context);
    for (int32_t i = 0; i < count; ++i) {
        uint8_t value = 0;
        if (!text.readByte(text.context, i, &value)) {
            platform::setLastError(platform::ErrorInvalidParameter);
            return Typed::ByteFailed;
        }
        // Asserted before every byte, the first too: another window may have
        // taken the foreground during a pause, and it would get the keys.
        if (!platform::setForegroundWindow(targetWindow())) {
            return Typed::ForegroundLost;
        }
        if (!typeByte(value, layout)) {
            return Typed::ByteFailed;
        }
        platform::sleepMs(BetweenBytesMs);
    }
    return Typed::All;
}

// Everything sendText does while it holds the scan lock.
bool typeIntoTarget(const TextSource& text) {
    if (!bringTargetToFront()) {
        recordMessage(WindowUnavailableMessage);
        return false;
    }
    // An elevated target would drop every key without a word.
    if (!platform::canSendInputTo(targetWindow())) {
        recordSystemError();
        return false;
    }
    restoreIfMinimised();
    platform::sleepMs(SettleMs);
    // The target's own layout turns the keys into characters, not ours.
    const platform::KeyboardLayout layout = platform::keyboardLayoutOf(targetWindow());

    bool capsSwitchedOff = false;
    if (platform::capsLockOn() && !tapCapsLock(&capsSwitchedOff)) {
        recordSystemError();
        bool switchedBack = false;
        if (capsSwitchedOff) {
            tapCapsLock(&switchedBack);
        }
        return false;
    }

    const Typed outcome = typeBytes(text, layout);
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

}  // namespace

bool sendText(const TextSource* text) {
    clearErrorText();
    if (targetWindow() == nullptr) {
        // Without a desktop no target could be chosen: say why.
        if (!platform::desktopReachable()) {
            recordSystemError();
        } else {
            recordMessage(TargetNotSetMessage);
        }
        return false;
    }
    if (text == nullptr) {
        platform::setLastError(platform::ErrorInvalidParameter);
        recordSystemError();
        return false;
    }
    // One scan at a time on the desktop: keys of two scans would interleave.
    if (!platform::acquireScanLock()) {
        recordSystemError();
        return false;
    }
    const bool typed = typeIntoTarget(*text);
    platform::releaseScanLock();
    return typed;
}

}  // namespace wedge::keystrokes
