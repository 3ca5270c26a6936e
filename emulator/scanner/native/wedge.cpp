#include "wedge.h"

#include "catalogue/window_catalogue.h"
#include "keystrokes/error_text.h"
#include "platform/desktop.h"

namespace wedge {

bool desktopReachable() {
    keystrokes::clearErrorText();
    if (platform::desktop().reachable()) {
        return true;
    }
    keystrokes::recordSystemError();
    return false;
}

int32_t listWindows() { return catalogue::listWindows().count(); }

void forEachListedTitle(TitleVisitor visit, intptr_t value) {
    catalogue::WindowList list;
    list.rewind();
    for (int32_t i = 0; i < list.count(); ++i) {
        if (!visit(list.currentTitle(), list.currentTitleLength(), value)) {
            return;
        }
        list.advance();
    }
}

bool chooseWindow(int32_t index) { return catalogue::setWindow(index); }

bool sendText(const TextSource* text) { return keystrokes::sendText(text); }

const char16_t* lastErrorText() { return keystrokes::lastErrorText(); }

int32_t lastErrorLength() { return keystrokes::errorTextLength(); }

void releaseWindowList() { catalogue::destroy(); }

}  // namespace wedge
