// The library's five operations over its process-wide state (the window
// list, the target, the last error): the one entry into the core, for the
// JNI bridge and the command-line wedge alike.
#pragma once

#include "keystrokes/text_typing.h"

#include <cstdint>

namespace wedge {

using keystrokes::TextSource;

// Whether the desktop can be reached at all; when not, lastErrorText
// says why, as a sendText would (the text is replaced either way).
bool desktopReachable();

// Lists the desktop's visible, titled top-level windows anew and answers
// how many there are; the list stays current for chooseWindow.
int32_t listWindows();

// Visits the current list's titles in list order, each cut to 99 units,
// for as long as visit answers true.
using TitleVisitor = bool (*)(const char16_t* title, int32_t length, intptr_t value);
void forEachListedTitle(TitleVisitor visit, intptr_t value);

// Makes the index-th listed window the target if it still exists; the
// list is used up either way.
bool chooseWindow(int32_t index);

// Types the text into the target; on false, lastErrorText says why.
bool sendText(const TextSource* text);

// Why the latest sendText failed; empty when it did not.
const char16_t* lastErrorText();
int32_t lastErrorLength();

// Releases the current list; the target stays.
void releaseWindowList();

}  // namespace wedge
