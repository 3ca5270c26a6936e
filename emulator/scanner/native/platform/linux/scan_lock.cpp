#include "platform/linux/scan_lock.h"

#include "platform/linux/errors.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace wedge::linux_desktop {
namespace {

constexpr uint32_t ErrorLockViolation = 33;  // ERROR_LOCK_VIOLATION
constexpr int32_t PathCapacity = 512;

int lockFile_ = -1;

void append(char* path, int32_t* length, const char* text, bool asName) {
    for (; *text != 0 && *length < PathCapacity - 1; ++text) {
        const char unit = *text;
        const bool plain = (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z') ||
                           (unit >= '0' && unit <= '9') || unit == '.';
        path[(*length)++] = asName && !plain ? '_' : unit;
    }
    path[*length] = 0;
}

// $XDG_RUNTIME_DIR/kavo-wedge-scan-<display>.lock, or under /tmp with the
// user's id when there is no runtime directory.
void lockPath(const char* displayName, char* path) {
    int32_t length = 0;
    path[0] = 0;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        append(path, &length, runtime, false);
        append(path, &length, "/kavo-wedge-scan-", false);
    } else {
        append(path, &length, "/tmp/kavo-wedge-scan-", false);
        append(path, &length, decimal(static_cast<int32_t>(getuid())).digits, false);
        append(path, &length, "-", false);
    }
    append(path, &length, displayName, true);
    append(path, &length, ".lock", false);
}

}  // namespace

bool lockScan(const char* displayName) {
    char path[PathCapacity];
    lockPath(displayName, path);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): open takes its mode as one
    const int file = open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0) {
        const char* const parts[] = {"Cannot open the scan lock ", path, ": ", std::strerror(errno), nullptr};
        failWithParts(ErrorLockViolation, parts);
        return false;
    }
    while (flock(file, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const char* const parts[] = {"Cannot take the scan lock ", path, ": ", std::strerror(errno), nullptr};
            failWithParts(ErrorLockViolation, parts);
            close(file);
            return false;
        }
    }
    lockFile_ = file;
    return true;
}

void unlockScan() {
    if (lockFile_ >= 0) {
        // Closing the file drops its lock.
        close(lockFile_);
        lockFile_ = -1;
    }
}

}  // namespace wedge::linux_desktop
