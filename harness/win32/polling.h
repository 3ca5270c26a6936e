// Waiting for something another process or thread does, without fixed
// sleeps: the condition is polled until it holds or the time is up.
#pragma once

#include <windows.h>

#include <cstdint>

namespace wedge_test {

inline constexpr DWORD DefaultWaitMs = 5000;

template <typename Condition>
bool waitUntil(Condition condition, DWORD timeoutMs = DefaultWaitMs) {
    const uint64_t deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(20);
    }
}

}  // namespace wedge_test
