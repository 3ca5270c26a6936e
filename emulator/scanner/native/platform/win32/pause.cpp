// The pauses pace the target, so they last what they say. Sleep alone
// may end early on Windows (by up to a timer tick) and ends late under
// Wine (by a fraction of a millisecond each time, which adds up over a
// scan of many bytes): the last millisecond is waited out against the
// performance counter.
#include "platform/win32/windows_api.h"
#include "platform/win32/handles.h"

namespace wedge::platform {
namespace {

LONGLONG counterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}  // namespace

void sleepMs(uint32_t milliseconds) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const LONGLONG deadline = counterNow() + frequency.QuadPart * milliseconds / 1000;
    if (milliseconds > 1) {
        Sleep(milliseconds - 1);
    }
    while (counterNow() < deadline) {
        SwitchToThread();
    }
}

}  // namespace wedge::platform
