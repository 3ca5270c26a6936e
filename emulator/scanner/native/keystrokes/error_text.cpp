#include "keystrokes/error_text.h"

#include "platform/decimal_text.h"
#include "platform/desktop.h"

#include <cstddef>

namespace wedge::keystrokes {
namespace {

char16_t text_[ErrorTextCapacity] = {};

// The system's text is copied here before it is formatted into the line.
char16_t systemText[ErrorTextCapacity];

// Appends to the text at *length, never past its last unit, which
// stays for the terminator.
void append(int32_t* length, const char16_t* text) {
    for (; *text != 0 && *length < ErrorTextCapacity - 1; ++text) {
        text_[(*length)++] = *text;
    }
    text_[*length] = 0;
}

void appendDecimal(int32_t* length, int32_t value) {
    const platform::Decimal number = platform::decimal(value);
    char16_t text[sizeof number.digits + 1] = {};
    for (size_t i = 0; i < sizeof number.digits && number.digits[i] != 0; ++i) {
        text[i] = static_cast<char16_t>(number.digits[i]);
    }
    append(length, text);
}

}  // namespace

const char16_t* lastErrorText() { return text_; }

void clearErrorText() {
    for (char16_t& unit : text_) {
        unit = 0;
    }
}

void recordMessage(const char16_t* message) {
    clearErrorText();
    int32_t length = 0;
    append(&length, message);
}

void recordSystemError() {
    const platform::Desktop& desktop = platform::desktop();
    const uint32_t code = desktop.lastError();
    desktop.systemMessage(code, systemText, ErrorTextCapacity);
    clearErrorText();
    int32_t length = 0;
    append(&length, u"Wedge error: ");
    appendDecimal(&length, static_cast<int32_t>(code));
    append(&length, u" with message: ");
    append(&length, systemText);
}

int32_t errorTextLength() {
    int32_t length = 0;
    while (length < ErrorTextCapacity && text_[length] != 0) {
        ++length;
    }
    return length;
}

}  // namespace wedge::keystrokes
