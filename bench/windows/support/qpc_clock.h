// Wall time from QueryPerformanceCounter.
#pragma once

#include <windows.h>

namespace wedge_bench {

class QpcClock {
public:
    QpcClock() { QueryPerformanceFrequency(&frequency_); }

    LONGLONG now() const {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        return counter.QuadPart;
    }

    double msBetween(LONGLONG start, LONGLONG end) const {
        return static_cast<double>(end - start) * 1000.0 / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{};
};

}  // namespace wedge_bench
