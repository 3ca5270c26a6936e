#include "keystrokes/text_typing.h"

#include "catalogue/target.h"
#include "catalogue/window_catalogue.h"
#include "keystrokes/byte_translation.h"
#include "keystrokes/error_text.h"
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

bool capsLockOn() { return (platform::getKeyState(platform::VkCapital) & 1) != 0; }

// Caps Lock toggles only when its key goes from up to down, so a full
// press and release, in one injection, flips it and leaves no key held.
// A key someone is holding down is let up first: pressed again while
// down it would not toggle, and Caps Lock would end up inverted.
bool tapCapsLock() {
    const platform::KeyboardEvent tap[] = {
        {platform::VkCapital, 0, platform::KeyRelease},
        {platform::VkCapital, 0, platform::KeyPress},
        {platform::VkCapital, 0, platform::KeyRelease},
    };
    const bool held = (platform::getKeyState(platform::VkCapital) & 0x8000) != 0;
    const uint32_t first = held ? 0 : 1;
    return platform::sendInput(tap + first, 3 - first) > 0;
}

enum class Typed { All, ByteFailed, ForegroundLost };

Typed typeBytes(const TextSource& text) {
    const int32_t count = text.length(text.context);
    for (int32_t i = 0; i < count; ++i) {
        uint8_t value = 0;
        if (!text.readByte(text.context, i, &value)) {
            platform::setLastError(platform::ErrorInvalidParameter);
            return Typed::ByteFailed;
        }
        if (!typeByte(value)) {
            return Typed::ByteFailed;
        }
        // Nothing more is typed once the target has lost the foreground:
        // it would go to whatever window is in front now.
        if (i < count - 1 && !platform::setForegroundWindow(targetWindow())) {
            return Typed::ForegroundLost;
        }
        platform::sleepMs(BetweenBytesMs);
    }
    return Typed::All;
}

bool typeScan(const TextSource* text) {
    if (targetWindow() == nullptr) {
        recordMessage(TargetNotSetMessage);
        return false;
    }
    if (text == nullptr) {
        platform::setLastError(platform::ErrorInvalidParameter);
        recordSystemError();
        return false;
    }
    if (!bringTargetToFront()) {
        recordMessage(WindowUnavailableMessage);
        return false;
    }
    restoreIfMinimised();
    platform::sleepMs(SettleMs);

    const bool capsPressed = capsLockOn();
    if (capsPressed && !tapCapsLock()) {
        recordSystemError();
        return false;
    }

    const Typed outcome = typeBytes(*text);
    if (outcome == Typed::ByteFailed) {
        recordSystemError();
    } else if (outcome == Typed::ForegroundLost) {
        recordMessage(WindowUnavailableMessage);
    }

    // Caps Lock goes back on whichever way typing ended; a failure to do so
    // is reported unless an earlier failure already is.
    if (capsPressed && !tapCapsLock() && outcome == Typed::All) {
        recordSystemError();
        return false;
    }
    return outcome == Typed::All;
}

}  // namespace

bool sendText(const TextSource* text) {
    clearErrorText();
    if (!platform::beginScan()) {
        recordSystemError();
        return false;
    }
    const bool sent = typeScan(text);
    platform::endScan();
    return sent;
}

}  // namespace wedge::keystrokes
