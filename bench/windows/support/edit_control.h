// The target editor's edit control, read and emptied from another process.
#pragma once

#include <windows.h>

#include <string>

namespace wedge_bench {

std::wstring editText(HWND frame);
void clearEdit(HWND frame);

// Polls until the edit holds `expected` or timeoutMs passes; answers
// whether it did.
bool waitForEditText(HWND frame, const std::wstring& expected, DWORD timeoutMs);

}  // namespace wedge_bench
