#include "platform/linux/scan_lock.h"

#include "platform/linux/errors.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wedge::linux_desktop {
namespace {

constexpr uint32_t ErrorAccessDenied = 5;    // ERROR_ACCESS_DENIED: a folder or file that is not the user's
constexpr uint32_t ErrorLockViolation = 33;  // ERROR_LOCK_VIOLATION
constexpr int32_t PathCapacity = 512;

int lockFile_ = -1;

struct Path {
    char text[PathCapacity];
    int32_t length;
};

void append(Path* path, const char* text) {
    for (; *text != 0 && path->length < PathCapacity - 1; ++text) {
        path->text[path->length++] = *text;
    }
    path->text[path->length] = 0;
}

// A file name's units other than letters, digits, '.' and '-' become '_'.
void appendName(Path* path, const char* text) {
    for (; *text != 0 && path->length < PathCapacity - 1; ++text) {
        const char unit = *text;
        const bool plain = (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z') ||
                           (unit >= '0' && unit <= '9') || unit == '.' || unit == '-';
        path->text[path->length++] = plain ? unit : '_';
    }
    path->text[path->length] = 0;
}

void fail(uint32_t code, const char* what, const char* path, const char* reason) {
    const char* const parts[] = {what, path, ": ", reason, nullptr};
    failWithParts(code, parts);
}

// The folder open, when it is a folder (not a link to one) of the user's
// that no one else may write to; -1 otherwise, with the error set when
// report is true.
int openOwnFolder(const char* path, bool report) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): open takes its mode as one
    const int folder = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) {
        if (report) {
            fail(ErrorAccessDenied, "Cannot open the scan lock folder ", path, std::strerror(errno));
        }
        return -1;
    }
    struct stat status = {};
    if (fstat(folder, &status) != 0 || status.st_uid != getuid() || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        if (report) {
            fail(ErrorAccessDenied, "Cannot use the scan lock folder ", path,
                 "it belongs to another user or others may write to it");
        }
        close(folder);
        return -1;
    }
    return folder;
}

// The runtime folder the session names, else the one systemd keeps for
// the user, else an owner-only folder of the user's under /tmp.
int openLockFolder(Path* path) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        *path = {};
        append(path, runtime);
        const int folder = openOwnFolder(path->text, false);
        if (folder >= 0) {
            return folder;
        }
    }
    const Decimal uid = decimal(static_cast<int32_t>(getuid()));
    *path = {};
    append(path, "/run/user/");
    append(path, uid.digits);
    const int folder = openOwnFolder(path->text, false);
    if (folder >= 0) {
        return folder;
    }
    *path = {};
    append(path, "/tmp/kavo-wedge-");
    append(path, uid.digits);
    // Made owner-only; one that already exists is checked as it is.
    if (mkdir(path->text, 0700) != 0 && errno != EEXIST) {
        fail(ErrorAccessDenied, "Cannot create the scan lock folder ", path->text, std::strerror(errno));
        return -1;
    }
    return openOwnFolder(path->text, true);
}

}  // namespace

bool lockScan(const char* key) {
    Path path = {};
    const int folder = openLockFolder(&path);
    if (folder < 0) {
        return false;
    }
    Path name = {};
    append(&name, "kavo-wedge-scan-");
    appendName(&name, key);
    append(&name, ".lock");
    append(&path, "/");
    append(&path, name.text);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): openat takes its mode as one
    const int file = openat(folder, name.text, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    close(folder);
    if (file < 0) {
        fail(ErrorLockViolation, "Cannot open the scan lock ", path.text, std::strerror(errno));
        return false;
    }
    struct stat status = {};
    if (fstat(file, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != getuid()) {
        fail(ErrorAccessDenied, "Cannot use the scan lock ", path.text,
             "it is not a regular file of the user's");
        close(file);
        return false;
    }
    while (flock(file, LOCK_EX) != 0) {
        if (errno != EINTR) {
            fail(ErrorLockViolation, "Cannot take the scan lock ", path.text, std::strerror(errno));
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
