// What the tests and the target application agree on: the window classes,
// the frame's edit control, and the message that makes a frame reopen.
#pragma once

#include <windows.h>

namespace wedge_target {

inline constexpr wchar_t FrameClass[] = L"WedgeTargetFrame";
// The plain windows of a windows= request: no edit, no behaviour of their own.
inline constexpr wchar_t WindowClass[] = L"WedgeTargetWindow";
inline constexpr int EditId = 1;
// Posted to a frame: it is destroyed and a new frame with the same title
// takes its place.
inline constexpr UINT ReopenMessage = WM_APP + 1;

}  // namespace wedge_target
