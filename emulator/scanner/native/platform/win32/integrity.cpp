// Whether injected input can reach a window: Windows drops input sent to a
// process of a higher integrity level (an elevated one, say) without
// saying so.
#include "platform/win32/windows_api.h"
#include "platform/win32/handles.h"

namespace wedge::platform {
namespace {

// PROCESS_QUERY_LIMITED_INFORMATION: granted for elevated processes of the
// same user too.
constexpr DWORD QueryLimitedInformation = 0x1000;

// The mandatory label's level (0x2000 medium, 0x3000 high, ...); false with
// the last error set when the token cannot be read.
bool integrityLevelOf(HANDLE process, DWORD* level) {
    HANDLE token = nullptr;
    if (OpenProcessToken(process, TOKEN_QUERY, &token) == FALSE) {
        return false;
    }
    // A label and its SID: a SID has at most 15 sub-authorities.
    alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[sizeof(TOKEN_MANDATORY_LABEL) + SECURITY_MAX_SID_SIZE] = {};
    DWORD size = 0;
    const BOOL read = GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof buffer, &size);
    const DWORD error = GetLastError();
    CloseHandle(token);
    if (read == FALSE) {
        SetLastError(error);
        return false;
    }
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
    const UCHAR subAuthorities = *GetSidSubAuthorityCount(sid);
    if (subAuthorities == 0) {
        return false;
    }
    *level = *GetSidSubAuthority(sid, subAuthorities - 1U);
    return true;
}

}  // namespace

bool canSendInputTo(WindowHandle window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(asHwnd(window), &processId);
    DWORD own = 0;
    if (processId == 0 || !integrityLevelOf(GetCurrentProcess(), &own)) {
        // Nothing to compare: typing goes ahead and finds out.
        return true;
    }
    const HANDLE process = OpenProcess(QueryLimitedInformation, FALSE, processId);
    DWORD target = 0;
    const bool read = process != nullptr && integrityLevelOf(process, &target);
    const DWORD error = GetLastError();
    if (process != nullptr) {
        CloseHandle(process);
    }
    // A process or token that refuses even to be read belongs to a higher
    // level than ours.
    if ((read && target > own) || (!read && error == ERROR_ACCESS_DENIED)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

}  // namespace wedge::platform
