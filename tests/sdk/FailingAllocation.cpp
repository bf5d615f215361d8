#include "FailingAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_failAllocations{false};
std::atomic<int> g_allowedAllocations{0};

} // namespace

CFailingAllocation::CFailingAllocation(int allowed)
{
    g_allowedAllocations = allowed;
    g_failAllocations = true;
}

CFailingAllocation::~CFailingAllocation()
{
    g_failAllocations = false;
}

// The replacements keep new and delete paired on malloc and free, so the sanitizer build
// sees no mismatch.
void* operator new(std::size_t size)
{
    if (g_failAllocations && g_allowedAllocations.fetch_sub(1) <= 0)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}
