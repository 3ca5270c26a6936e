#include "catalogue/window_catalogue.h"

#include "catalogue/target.h"
#include "platform/desktop.h"

namespace wedge::catalogue {
namespace {

// Non-null while a list is current; every WindowList shares one state, so
// this only marks whether that state belongs to the latest enumeration.
WindowList* windowList = nullptr;
WindowList listState;

// Scratch for one window's title during an enumeration.
char16_t titleScratch[TitleCapacity];

void releaseList() {
    if (windowList != nullptr) {
        windowList->clear();
        windowList = nullptr;
    }
}

bool sameTitle(const char16_t* left, const char16_t* right) {
    for (int32_t i = 0; i < TitleCapacity; ++i) {
        if (left[i] != right[i]) {
            return false;
        }
        if (left[i] == 0) {
            return true;
        }
    }
    return true;
}

}  // namespace

bool collectWindow(WindowHandle window, intptr_t /*value*/) {
    uint32_t style = 0;
    // A window whose information cannot be read counts as not visible.
    if (!platform::getWindowStyle(window, &style) || (style & platform::StyleVisible) == 0) {
        return true;
    }
    if (platform::getWindowTextLength(window) <= 0) {
        return true;
    }
    // Asked again: the title may have changed since the first query.
    int32_t length = platform::getWindowTextLength(window);
    if (length >= TitleLimit) {
        length = TitleLimit;
    }
    if (length < 0) {
        length = 0;
    }
    for (char16_t& unit : titleScratch) {
        unit = 0;
    }
    platform::getWindowText(window, titleScratch, length + 1);
    listState.addWindow(length, titleScratch, window);
    return true;
}

WindowList& listWindows() {
    releaseList();
    windowList = &listState;
    platform::enumWindows(collectWindow, 0);
    return *windowList;
}

WindowList* currentWindowList() { return windowList; }

bool setWindow(int32_t index) {
    if (windowList == nullptr) {
        return false;
    }
    bool selected = false;
    if (index >= 0 && index < windowList->count()) {
        windowList->rewind();
        for (int32_t i = 0; i < index; ++i) {
            windowList->advance();
        }
        const WindowHandle window = windowList->currentWindow();
        if (platform::isWindow(window)) {
            chooseTarget(window, windowList->currentTitle());
            selected = true;
        }
    }
    releaseList();
    return selected;
}

void destroy() { releaseList(); }

bool relocateTarget() {
    WindowList& list = listWindows();
    list.rewind();
    if (list.count() > 0) {
        do {
            if (sameTitle(list.currentTitle(), targetTitle())) {
                moveTarget(list.currentWindow());
                return true;
            }
        } while (list.advance());
    }
    releaseList();
    return false;
}

}  // namespace wedge::catalogue
