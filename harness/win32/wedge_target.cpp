// The application the Windows tests type into: a process of its own that
// opens the top-level windows named on its command line and runs until it
// is terminated.
//
//   wedge_target.exe <window>...
//   <window>: frame=<title>      visible frame with a multiline edit
//             minimised=<title>  the same frame, shown minimised
//             hidden=<title>     a frame that is never shown
//             untitled           a visible frame with an empty title
//             windows=<count>:<title>
//                                count small plain visible windows titled
//                                "<title> 1" to "<title> <count>", for
//                                listing many windows at once
//
// A frame that receives ReopenMessage is replaced by a new frame of the
// same title, as an application does that closes and reopens its window.
#include "target_protocol.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

using wedge_target::EditId;
using wedge_target::FrameClass;
using wedge_target::ReopenMessage;
using wedge_target::WindowClass;

HINSTANCE instance = nullptr;

HWND editOf(HWND frame) { return GetDlgItem(frame, EditId); }

HWND openFrame(const std::wstring& title, int show) {
    // Created hidden and shown only once its edit exists: a frame shown
    // first keeps the focus itself, and typed keys reach no edit.
    HWND frame = CreateWindowExW(0, FrameClass, title.c_str(), WS_OVERLAPPEDWINDOW, 100, 100, 480, 320, nullptr,
                                 nullptr, instance, nullptr);
    if (frame == nullptr) {
        return nullptr;
    }
    if (show != SW_HIDE) {
        ShowWindow(frame, show);
        UpdateWindow(frame);
        if (show == SW_SHOWNORMAL) {
            SetForegroundWindow(frame);
        }
    }
    return frame;
}

void reopen(HWND frame) {
    const int length = GetWindowTextLengthW(frame);
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(frame, title.data(), length + 1);
    title.resize(static_cast<size_t>(length));
    DestroyWindow(frame);
    openFrame(title, SW_SHOWNORMAL);
}

LRESULT CALLBACK frameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const auto style = static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN |
                                              ES_AUTOVSCROLL);
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", style, 0, 0, 460, 280, frame,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(EditId)), instance, nullptr);
        return 0;
    }
    // Whatever activates the frame, keys must land in the edit.
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
            SetFocus(editOf(frame));
            return 0;
        }
        break;
    case WM_SETFOCUS:
        SetFocus(editOf(frame));
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED && GetActiveWindow() == frame) {
            SetFocus(editOf(frame));
        }
        break;
    case ReopenMessage:
        reopen(frame);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(frame, message, wParam, lParam);
}

bool openWindows(const std::wstring& countAndTitle) {
    const size_t colon = countAndTitle.find(L':');
    if (colon == std::wstring::npos) {
        return false;
    }
    const long count = std::wcstol(countAndTitle.c_str(), nullptr, 10);
    const std::wstring title = countAndTitle.substr(colon + 1);
    for (long i = 1; i <= count; ++i) {
        const std::wstring name = title + L" " + std::to_wstring(i);
        // Small and staggered: many windows, each really shown, none
        // taking the foreground.
        const int offset = static_cast<int>(i % 64) * 8;
        HWND window = CreateWindowExW(0, WindowClass, name.c_str(), WS_OVERLAPPEDWINDOW, offset, offset, 160, 90,
                                      nullptr, nullptr, instance, nullptr);
        if (window == nullptr) {
            return false;
        }
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    return true;
}

bool openRequested(const std::wstring& request) {
    const size_t equals = request.find(L'=');
    const std::wstring kind = request.substr(0, equals);
    const std::wstring title = equals == std::wstring::npos ? std::wstring() : request.substr(equals + 1);
    if (kind == L"frame") {
        return openFrame(title, SW_SHOWNORMAL) != nullptr;
    }
    if (kind == L"minimised") {
        return openFrame(title, SW_SHOWMINNOACTIVE) != nullptr;
    }
    if (kind == L"hidden") {
        return openFrame(title, SW_HIDE) != nullptr;
    }
    if (kind == L"untitled") {
        return openFrame(L"", SW_SHOWNORMAL) != nullptr;
    }
    if (kind == L"windows") {
        return openWindows(title);
    }
    return false;
}

bool registerClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE self, HINSTANCE /*previous*/, LPWSTR /*commandLine*/, int /*show*/) {
    instance = self;
    if (!registerClass(FrameClass, frameProcedure) || !registerClass(WindowClass, DefWindowProcW)) {
        return 2;
    }

    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr) {
        return 2;
    }
    for (int i = 1; i < count; ++i) {
        if (!openRequested(arguments[i])) {
            LocalFree(arguments);
            return 3;
        }
    }
    LocalFree(arguments);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
