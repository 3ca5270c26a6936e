// The desktop-wide scan lock: a named mutex in the session's namespace,
// so that every process of the session that types scans shares it.
#include "platform/win32/windows_api.h"

#include <windows.h>

namespace wedge::platform {
namespace {

constexpr wchar_t ScanLockName[] = L"Local\\kavo_emulator_scanner.scan";

// The mutex while this thread holds it, else null.
HANDLE& heldScanLock() {
    static HANDLE mutex = nullptr;
    return mutex;
}

}  // namespace

bool acquireScanLock() {
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, ScanLockName);
    if (mutex == nullptr) {
        return false;
    }
    // WAIT_ABANDONED: the holder ended without letting go (a process killed
    // mid-scan); the lock is ours now all the same.
    const DWORD waited = WaitForSingleObject(mutex, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        const DWORD error = waited == WAIT_FAILED ? GetLastError() : ERROR_INVALID_HANDLE;
        CloseHandle(mutex);
        SetLastError(error);
        return false;
    }
    heldScanLock() = mutex;
    return true;
}

void releaseScanLock() {
    HANDLE& mutex = heldScanLock();
    if (mutex != nullptr) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        mutex = nullptr;
    }
}

}  // namespace wedge::platform
