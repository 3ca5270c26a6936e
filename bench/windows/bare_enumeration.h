// The yardstick for the catalogue: EnumWindows with GetWindowInfo,
// GetWindowTextLengthW and GetWindowTextW on each window, keeping nothing.
#pragma once

#include <windows.h>

namespace wedge_bench {

struct BareEnumeration {
    int visited = 0;  // top-level windows EnumWindows handed over
    int titled = 0;   // of those, visible and titled
};

BareEnumeration enumerateBare();

}  // namespace wedge_bench
