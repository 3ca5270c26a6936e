// The DLL's own entry routine: every notification succeeds and does no
// work, since all state starts zeroed from the library's data.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD /*reason*/, LPVOID /*reserved*/) {
    return TRUE;
}
