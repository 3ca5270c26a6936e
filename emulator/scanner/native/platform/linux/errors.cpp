#include "platform/linux/errors.h"

#include "platform/linux/utf8_text.h"

namespace wedge::linux_desktop {
namespace {

constexpr int32_t TextCapacity = 300;

uint32_t code_ = 0;
char text_[TextCapacity] = {};

struct StandardText {
    uint32_t code;
    const char* text;
};

// The texts Windows gives these codes, for the codes the core sets itself.
constexpr StandardText StandardTexts[] = {
    {0, "The operation completed successfully."},
    {13, "The data is invalid."},
    {29, "The system cannot write to the specified device."},
    {50, "The request is not supported."},
    {87, "The parameter is incorrect."},
    {126, "The specified module could not be found."},
    {170, "The requested resource is in use."},
    {1167, "The device is not connected."},
};

}  // namespace

void failWith(uint32_t code, const char* utf8Text) {
    code_ = code;
    int32_t length = 0;
    for (; length < TextCapacity - 1 && utf8Text[length] != 0; ++length) {
        text_[length] = utf8Text[length];
    }
    text_[length] = 0;
}

void failWithParts(uint32_t code, const char* const* parts) {
    code_ = code;
    int32_t length = 0;
    for (; *parts != nullptr; ++parts) {
        for (const char* part = *parts; *part != 0 && length < TextCapacity - 1; ++part) {
            text_[length++] = *part;
        }
    }
    text_[length] = 0;
}

void setErrorCode(uint32_t code) {
    // Putting back the code already set keeps its text.
    if (code != code_) {
        text_[0] = 0;
    }
    code_ = code;
}

uint32_t errorCode() { return code_; }

const char* errorTextFor(uint32_t code) {
    if (code == code_ && text_[0] != 0) {
        return text_;
    }
    for (const StandardText& standard : StandardTexts) {
        if (standard.code == code) {
            return standard.text;
        }
    }
    return "";
}

int32_t systemMessage(uint32_t code, char16_t* text, int32_t capacity) {
    if (capacity <= 0) {
        return 0;
    }
    const char* utf8 = errorTextFor(code);
    size_t bytes = 0;
    while (utf8[bytes] != 0) {
        ++bytes;
    }
    int32_t units = utf8ToUtf16(reinterpret_cast<const unsigned char*>(utf8), bytes, text, capacity - 1);
    if (units > capacity - 1) {
        units = capacity - 1;
    }
    text[units] = 0;
    return units;
}

}  // namespace wedge::linux_desktop
