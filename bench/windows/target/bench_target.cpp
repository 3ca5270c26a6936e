// The separate process the Windows benchmarks work against. It opens
// windows and runs until it is terminated.
//
//   bench_target.exe editor <title>         one frame with a multiline edit
//                                           that keeps the keyboard focus
//   bench_target.exe windows <count> <title> count plain visible windows
//                                           titled "<title> <n>"
#include "bench_target_protocol.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

using wedge_bench_target::EditId;

HINSTANCE instance = nullptr;

HWND editOf(HWND frame) { return GetDlgItem(frame, EditId); }

LRESULT CALLBACK editorProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const auto style = static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN |
                                              ES_AUTOVSCROLL);
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, 0, 0, 460, 280, frame,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(EditId)), instance, nullptr);
        return 0;
    }
    // Keys must land in the edit however the frame is activated.
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
            SetFocus(editOf(frame));
            return 0;
        }
        break;
    case WM_SETFOCUS:
        SetFocus(editOf(frame));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

bool registerClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0;
}

bool openEditor(const wchar_t* title) {
    // Shown only once its edit exists, so that the edit gets the focus.
    HWND frame = CreateWindowExW(0, wedge_bench_target::EditorClass, title, WS_OVERLAPPEDWINDOW, 100, 100, 480,
                                 320, nullptr, nullptr, instance, nullptr);
    if (frame == nullptr) {
        return false;
    }
    ShowWindow(frame, SW_SHOWNORMAL);
    UpdateWindow(frame);
    SetForegroundWindow(frame);
    return true;
}

bool openWindows(long count, const wchar_t* title) {
    for (long i = 1; i <= count; ++i) {
        const std::wstring name = std::wstring(title) + L" " + std::to_wstring(i);
        // Small and staggered: many windows, each really shown.
        const int offset = static_cast<int>(i % 64) * 8;
        HWND window = CreateWindowExW(0, wedge_bench_target::WindowClass, name.c_str(), WS_OVERLAPPEDWINDOW,
                                      offset, offset, 160, 90, nullptr, nullptr, instance, nullptr);
        if (window == nullptr) {
            return false;
        }
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    return true;
}

bool openRequested(int count, LPWSTR* arguments) {
    if (count == 3 && std::wcscmp(arguments[1], L"editor") == 0) {
        return openEditor(arguments[2]);
    }
    if (count == 4 && std::wcscmp(arguments[1], L"windows") == 0) {
        return openWindows(std::wcstol(arguments[2], nullptr, 10), arguments[3]);
    }
    return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE self, HINSTANCE /*previous*/, LPWSTR /*commandLine*/, int /*show*/) {
    instance = self;
    if (!registerClass(wedge_bench_target::EditorClass, editorProcedure) ||
        !registerClass(wedge_bench_target::WindowClass, DefWindowProcW)) {
        return 2;
    }
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) {
        return 2;
    }
    const bool opened = openRequested(count, arguments);
    LocalFree(arguments);
    if (!opened) {
        return 3;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
