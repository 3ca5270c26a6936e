// What the tests and the target application agree on: the frame's window
// class, its edit control, and the message that makes it reopen.
#pragma once

#include <windows.h>

namespace wedge_target {

inline constexpr wchar_t FrameClass[] = L"WedgeTargetFrame";
inline constexpr int EditId = 1;
// Posted to a frame: it is destroyed and a new frame with the same title
// takes its place.
inline constexpr UINT ReopenMessage = WM_APP + 1;

}  // namespace wedge_target
