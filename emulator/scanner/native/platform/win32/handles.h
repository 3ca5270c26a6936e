// The desktop's handles as the Windows API types them.
#pragma once

#include "platform/desktop.h"

#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is wchar_t on Windows");

namespace wedge::platform {

inline HWND asHwnd(WindowHandle window) { return static_cast<HWND>(window); }

}  // namespace wedge::platform
