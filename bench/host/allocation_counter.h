// Counts the heap allocations the whole program makes, through a
// replacement of the global operator new (every form). Linked only into
// the program that reports allocation counts.
#pragma once

#include <cstdint>

namespace wedge_bench {

// Allocations made through operator new since the program started.
uint64_t allocationsSoFar();

}  // namespace wedge_bench
