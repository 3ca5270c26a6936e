#include "edit_control.h"

#include "bench_target_protocol.h"

#include <vector>

namespace wedge_bench {
namespace {

// WM_GETTEXT and WM_SETTEXT are marshalled across processes; the timeout
// keeps a hung target from hanging the benchmark.
constexpr UINT MessageTimeoutMs = 2000;
constexpr size_t EditCapacity = 4096;

}  // namespace

std::wstring editText(HWND frame) {
    const HWND edit = GetDlgItem(frame, wedge_bench_target::EditId);
    std::vector<wchar_t> text(EditCapacity, L'\0');
    DWORD_PTR copied = 0;
    if (edit == nullptr || !SendMessageTimeoutW(edit, WM_GETTEXT, EditCapacity, reinterpret_cast<LPARAM>(text.data()),
                                                SMTO_ABORTIFHUNG, MessageTimeoutMs, &copied)) {
        return L"";
    }
    return std::wstring(text.data(), copied);
}

void clearEdit(HWND frame) {
    const HWND edit = GetDlgItem(frame, wedge_bench_target::EditId);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, MessageTimeoutMs,
                        &result);
}

bool waitForEditText(HWND frame, const std::wstring& expected, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (editText(frame) == expected) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(20);
    }
}

}  // namespace wedge_bench
