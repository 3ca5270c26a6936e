#include "catalogue/target.h"

namespace wedge::catalogue {
namespace {

WindowHandle window_ = nullptr;
char16_t title_[TitleCapacity] = {};

}  // namespace

WindowHandle targetWindow() { return window_; }

const char16_t* targetTitle() { return title_; }

void chooseTarget(WindowHandle window, const char16_t* title) {
    window_ = window;
    int32_t length = 0;
    for (; length < TitleLimit && title[length] != 0; ++length) {
        title_[length] = title[length];
    }
    for (int32_t i = length; i < TitleCapacity; ++i) {
        title_[i] = 0;
    }
}

void moveTarget(WindowHandle window) { window_ = window; }

}  // namespace wedge::catalogue
