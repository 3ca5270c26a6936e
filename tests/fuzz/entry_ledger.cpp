#include "entry_ledger.h"

#include <sanitizer/allocator_interface.h>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace fuzz {
namespace {

// Far more than any desktop in an input can list; reaching it means
// entries are not being released.
constexpr int32_t LedgerCapacity = 4096;

const volatile void* liveEntryAddresses[LedgerCapacity];
int32_t liveEntryCount = 0;
RefusalPlan plan;
uint64_t attempts = 0;

void recordEntry(const void* address) {
    if (liveEntryCount == LedgerCapacity) {
        std::fprintf(stderr, "more than %d window list entries alive: the list leaks\n", LedgerCapacity);
        std::abort();
    }
    liveEntryAddresses[liveEntryCount++] = address;
}

// Called by the sanitizer's allocator for every release, whoever makes it.
void forgetEntry(const volatile void* address) {
    for (int32_t i = 0; i < liveEntryCount; ++i) {
        if (liveEntryAddresses[i] == address) {
            liveEntryAddresses[i] = liveEntryAddresses[--liveEntryCount];
            return;
        }
    }
}

// The sanitizer installs the two hooks only as a pair.
void ignoreAllocation(const volatile void* /*address*/, size_t /*size*/) {}

}  // namespace

bool RefusalPlan::takeNext() {
    if (allocations == 0) {
        return false;
    }
    const bool refused = (pattern & 1U) != 0;
    pattern >>= 1U;
    --allocations;
    return refused;
}

void startLedger() {
    if (__sanitizer_install_malloc_and_free_hooks(ignoreAllocation, forgetEntry) == 0) {
        std::fputs("cannot watch deallocations: the entry ledger needs AddressSanitizer\n", stderr);
        std::abort();
    }
}

void refuseAllocations(uint32_t pattern, uint32_t allocations) { plan = RefusalPlan{pattern, allocations}; }

RefusalPlan refusalPlan() { return plan; }

int32_t liveEntries() { return liveEntryCount; }

uint64_t allocationAttempts() { return attempts; }

}  // namespace fuzz

// The library allocates its entries with new (std::nothrow) and releases
// them with delete; the ordinary new keeps the sanitizer's checks on both.
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    ++fuzz::attempts;
    if (fuzz::plan.takeNext()) {
        return nullptr;
    }
    void* entry = ::operator new(size);
    fuzz::recordEntry(entry);
    return entry;
}
