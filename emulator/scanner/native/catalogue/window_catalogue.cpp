#include "catalogue/window_catalogue.h"

#include "catalogue/target.h"
#include "platform/desktop.h"

namespace wedge::catalogue {
namespace {

// Non-null while a list is current; every WindowList shares one state, so
// this only marks whether that state belongs to the latest enumeration.
WindowList* windowList = nullptr;
WindowList listState;

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

// Adds a visible, titled window to the list being built. Always true: the
// listing is never stopped early.
bool collectWindow(const platform::WindowInfo& window, intptr_t /*value*/) {
    if (window.visible && window.titled) {
        listState.addWindow(window.titleLength, window.title, window.window);
    }
    return true;
}

}  // namespace

WindowList& listWindows() {
    releaseList();
    windowList = &listState;
    platform::desktop().listWindows(collectWindow, 0);
    return *windowList;
}

// Declared for the tests alone, which check when a list is released.
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
        if (platform::desktop().windowExists(window)) {
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
