// Faults the tests inject into the simulated desktop.
#include "simulated/simulated_state.h"

namespace wedge::simulated {

void failSendInput(uint32_t errorCode, int32_t times, uint32_t after) {
    Faults& faults = state().faults;
    faults.sendInputError = errorCode;
    faults.sendInputFailures = errorCode == 0 ? 0 : times;
    faults.sendInputsBeforeFailure = after;
}

void limitSendInput(uint32_t events) { state().faults.sendInputLimit = events; }
void failWindowInfo(WindowHandle window, bool fail) { require(window).infoFails = fail; }
void reportTitleLength(WindowHandle window, int32_t length) { require(window).reportedLength = length; }

void changeTitleAfterFirstLengthQuery(WindowHandle window, const std::u16string& title) {
    Window& target = require(window);
    target.titleChangePending = true;
    target.nextTitle = title;
}

void setSystemMessage(uint32_t code, const std::u16string& text) {
    if (text.empty()) {
        state().messages.erase(code);
    } else {
        state().messages[code] = text;
    }
}

void failScanLock(uint32_t errorCode) { state().scanLock.error = errorCode; }

}  // namespace wedge::simulated
