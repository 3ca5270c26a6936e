// What this process holds in memory, as Windows reports it.
#pragma once

#include <cstdint>

namespace wedge_bench {

// PROCESS_MEMORY_COUNTERS_EX.PrivateUsage; 0 when it cannot be read.
// Wine 8 leaves it at 0, and its other counters do not follow the heap.
uint64_t privateBytes();

// The committed private pages of the address space, summed region by
// region with VirtualQuery: what Windows counts as private bytes, and
// what Wine keeps up to date.
uint64_t committedPrivateBytes();

// Bytes in busy blocks across all of the process's heaps, walked with
// HeapWalk; the C runtime's malloc, and so operator new, allocates there.
uint64_t heapBytesInUse();

}  // namespace wedge_bench
