// The pauses pace the target, so they last what they say. A sleep wakes
// up late by a fraction of a millisecond each time, which adds up over a
// scan of many bytes: the last millisecond is waited out against the
// clock.
#include "platform/linux/pause.h"

#include <cerrno>
#include <ctime>

#include <sched.h>

namespace wedge::linux_desktop {
namespace {

constexpr long NanosecondsPerSecond = 1000000000L;
constexpr long NanosecondsPerMs = 1000000L;

timespec monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}

timespec later(timespec time, uint32_t milliseconds) {
    time.tv_sec += static_cast<time_t>(milliseconds / 1000);
    time.tv_nsec += static_cast<long>(milliseconds % 1000) * NanosecondsPerMs;
    if (time.tv_nsec >= NanosecondsPerSecond) {
        time.tv_sec += 1;
        time.tv_nsec -= NanosecondsPerSecond;
    }
    return time;
}

bool before(const timespec& left, const timespec& right) {
    return left.tv_sec < right.tv_sec || (left.tv_sec == right.tv_sec && left.tv_nsec < right.tv_nsec);
}

}  // namespace

void sleepMs(uint32_t milliseconds) {
    const timespec start = monotonicNow();
    if (milliseconds > 1) {
        const timespec wake = later(start, milliseconds - 1);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
        }
    }
    const timespec deadline = later(start, milliseconds);
    while (before(monotonicNow(), deadline)) {
        sched_yield();
    }
}

}  // namespace wedge::linux_desktop
