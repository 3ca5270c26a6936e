// Accounts for the library's non-throwing allocations, which are exactly
// its window list entries: how many are alive, and which are refused as
// if the process had run out of memory.
#pragma once

#include <cstdint>

namespace fuzz {

// Watches deallocations from now on; called once before the first input.
void startLedger();

// Each of the next `allocations` non-throwing allocations fails when its
// bit of `pattern` (lowest first) is set; later ones succeed.
void refuseAllocations(uint32_t pattern, uint32_t allocations);

// Whether the next non-throwing allocation will be refused; the plan is
// consumed as the allocations happen, this only looks ahead.
struct RefusalPlan {
    uint32_t pattern = 0;
    uint32_t allocations = 0;
    bool takeNext();
};
RefusalPlan refusalPlan();

// Entries allocated and not yet released.
int32_t liveEntries();
// Non-throwing allocations attempted since the start of the program.
uint64_t allocationAttempts();

}  // namespace fuzz
