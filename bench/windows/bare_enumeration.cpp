#include "bare_enumeration.h"

namespace wedge_bench {
namespace {

struct Walk {
    BareEnumeration counts;
    wchar_t title[100];
};

BOOL CALLBACK visit(HWND window, LPARAM context) {
    auto* walk = reinterpret_cast<Walk*>(context);
    ++walk->counts.visited;
    WINDOWINFO info{};
    info.cbSize = sizeof(info);
    if (!GetWindowInfo(window, &info) || (info.dwStyle & WS_VISIBLE) == 0) {
        return TRUE;
    }
    if (GetWindowTextLengthW(window) <= 0) {
        return TRUE;
    }
    GetWindowTextW(window, walk->title, 100);
    ++walk->counts.titled;
    return TRUE;
}

}  // namespace

BareEnumeration enumerateBare() {
    Walk walk{};
    EnumWindows(visit, reinterpret_cast<LPARAM>(&walk));
    return walk.counts;
}

}  // namespace wedge_bench
