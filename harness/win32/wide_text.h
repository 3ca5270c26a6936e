// UTF-16 text as the library (char16_t) and Win32 (wchar_t) spell it.
#pragma once

#include <string>

namespace wedge_test {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is wchar_t on Windows");

inline std::u16string toU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

inline std::wstring toWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace wedge_test
