// The one line that explains the last failed typing request. Empty (first
// unit 0) means there is nothing to report.
#pragma once

#include <cstdint>

namespace wedge::keystrokes {

// 299 units of text and a terminator.
inline constexpr int32_t ErrorTextCapacity = 300;

inline constexpr char16_t TargetNotSetMessage[] = u"Target application is not set";
inline constexpr char16_t WindowUnavailableMessage[] = u"Selected window is no longer available";

// The text, always terminated within its capacity.
const char16_t* lastErrorText();

void clearErrorText();

// Writes a fixed message in place of the text.
void recordMessage(const char16_t* message);

// Writes "Wedge error: <code> with message: <system text>" for the
// thread's last error code, cut to fit the text when it is longer. A code
// the system has no text for gets an empty message part.
void recordSystemError();

// Units before the terminator.
int32_t errorTextLength();

}  // namespace wedge::keystrokes
