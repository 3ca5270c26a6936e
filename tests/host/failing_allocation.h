// While one of these lives, every non-throwing allocation fails, as it
// would when the process has run out of memory.
#pragma once

namespace wedge::testing {

class FailingAllocation {
public:
    FailingAllocation();
    ~FailingAllocation();
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;
};

}  // namespace wedge::testing
