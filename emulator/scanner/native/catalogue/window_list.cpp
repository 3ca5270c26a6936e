#include "catalogue/window_list.h"

#include <new>

namespace wedge::catalogue {

struct WindowList::WindowEntry {
    WindowHandle window;
    char16_t title[TitleCapacity];
    int32_t titleLength;
    WindowEntry* next;
};

WindowList::WindowEntry* WindowList::head = nullptr;
WindowList::WindowEntry* WindowList::position = nullptr;
int32_t WindowList::entries = 0;

void WindowList::addWindow(int32_t titleLength, const char16_t* title, WindowHandle window) {
    auto* entry = new (std::nothrow) WindowEntry();
    if (entry == nullptr) {
        return;
    }
    // Callers pass at most TitleLimit; the bound keeps a wrong length from
    // writing past the entry.
    const int32_t units = titleLength < 0 ? 0 : (titleLength > TitleLimit ? TitleLimit : titleLength);
    for (int32_t i = 0; i <= units; ++i) {
        entry->title[i] = title[i];
        if (title[i] == 0) {
            break;
        }
    }
    entry->title[units] = 0;
    entry->titleLength = units;
    entry->window = window;
    entry->next = nullptr;
    if (position != nullptr) {
        position->next = entry;
    } else {
        head = entry;
    }
    position = entry;
    ++entries;
}

void WindowList::rewind() { position = head; }

bool WindowList::advance() {
    if (position == nullptr || position->next == nullptr) {
        return false;
    }
    position = position->next;
    return true;
}

const char16_t* WindowList::currentTitle() const { return position != nullptr ? position->title : nullptr; }

int32_t WindowList::currentTitleLength() const { return position != nullptr ? position->titleLength : -1; }

WindowHandle WindowList::currentWindow() const { return position != nullptr ? position->window : nullptr; }

int32_t WindowList::count() const { return entries; }

void WindowList::clear() {
    if (head == nullptr) {
        return;
    }
    while (head != nullptr) {
        WindowEntry* next = head->next;
        delete head;
        head = next;
    }
    position = nullptr;
    entries = 0;
}

}  // namespace wedge::catalogue
