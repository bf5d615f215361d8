#pragma once

// Makes the program's allocations fail on request, to reach the out-of-memory branches.

/// While alive, every operator new after the first `allowed` throws std::bad_alloc. Keep the
/// scope to the calls under test: assertions allocate too.
class CFailingAllocation
{
public:
    explicit CFailingAllocation(int allowed = 0);
    ~CFailingAllocation();
    CFailingAllocation(const CFailingAllocation&) = delete;
    CFailingAllocation& operator=(const CFailingAllocation&) = delete;
};
