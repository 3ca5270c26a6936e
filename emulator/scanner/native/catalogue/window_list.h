// The windows found by one enumeration of the desktop, in enumeration
// order: a singly linked list walked by one shared position.
//
// The list's state belongs to the type, not to an instance: every
// WindowList object sees the same entries. A list is built completely by
// addWindow before its first rewind, since the one position serves both as
// the append point and as the walking cursor.
#pragma once

#include "platform/desktop.h"

#include <cstdint>

namespace wedge::catalogue {

using platform::WindowHandle;

// Titles hold 99 units of text and a terminator.
using platform::TitleCapacity;
inline constexpr int32_t TitleLimit = TitleCapacity - 1;

class WindowList {
public:
    // Appends an entry holding titleLength (the length handed to Java) and
    // at most titleLength + 1 units of title. An entry that cannot be
    // allocated is left out: the list stays as it was.
    void addWindow(int32_t titleLength, const char16_t* title, WindowHandle window);

    void rewind();
    // Moves to the next entry; false, staying put, at the end or when empty.
    bool advance();

    // The current entry's fields; null, -1 and null when there is none.
    const char16_t* currentTitle() const;
    int32_t currentTitleLength() const;
    WindowHandle currentWindow() const;

    // Entries appended since the last clear.
    int32_t count() const;

    // Releases every entry.
    void clear();

private:
    struct WindowEntry;
    static WindowEntry* head;
    static WindowEntry* position;
    static int32_t entries;
};

}  // namespace wedge::catalogue
