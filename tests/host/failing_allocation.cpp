#include "failing_allocation.h"

#include <new>

namespace {
bool allocationsFail = false;
}

namespace wedge::testing {
FailingAllocation::FailingAllocation() { allocationsFail = true; }
FailingAllocation::~FailingAllocation() { allocationsFail = false; }
}  // namespace wedge::testing

// The library allocates with new (std::nothrow); these replace the
// program's own, so tests can make them fail.
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    if (allocationsFail) {
        return nullptr;
    }
    // The ordinary new, so that the ordinary delete releases it.
    return ::operator new(size);
}
