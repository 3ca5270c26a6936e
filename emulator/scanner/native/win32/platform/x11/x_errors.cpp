#include "platform/x11/x_errors.h"

namespace wedge::x11 {
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

void setErrorCode(uint32_t code) { failWith(code, ""); }

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

}  // namespace wedge::x11
