// Waiting for the X server and the programs beside the benchmark.
#pragma once

#include <chrono>
#include <thread>

namespace wedge_bench {

// Polls every 20 ms until the condition holds or the time is up; whether
// it held.
template <typename Condition>
bool waitUntil(int timeoutMs, Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace wedge_bench
