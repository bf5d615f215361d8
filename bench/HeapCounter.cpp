#include "HeapCounter.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <malloc.h>
#include <unistd.h>

// glibc's own allocator under its internal names; the replacements count what it hands out by
// the usable size of each block, which is also what they take off when a block is freed.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<long long> heldBytes{0};
std::atomic<long long> peakBytes{0};

void Count(void* block)
{
    if (block == nullptr)
        return;
    const long long held = heldBytes.fetch_add(static_cast<long long>(malloc_usable_size(block))) +
                           static_cast<long long>(malloc_usable_size(block));
    long long peak = peakBytes.load(std::memory_order_relaxed);
    while (held > peak && !peakBytes.compare_exchange_weak(peak, held))
        ;
}

void Uncount(void* block)
{
    if (block != nullptr)
        heldBytes.fetch_sub(static_cast<long long>(malloc_usable_size(block)));
}

} // namespace

namespace HeapCounter {

long long Current()
{
    return heldBytes.load();
}

void ResetPeak()
{
    peakBytes.store(heldBytes.load());
}

long long Peak()
{
    return peakBytes.load();
}

} // namespace HeapCounter

extern "C" {

void* malloc(size_t size)
{
    void* block = __libc_malloc(size);
    Count(block);
    return block;
}

void* calloc(size_t count, size_t size)
{
    void* block = __libc_calloc(count, size);
    Count(block);
    return block;
}

void* realloc(void* block, size_t size)
{
    Uncount(block);
    void* moved = __libc_realloc(block, size);
    // A failed reallocation leaves the old block as it was; a size of 0 frees it.
    Count(moved != nullptr || size == 0 ? moved : block);
    return moved;
}

void free(void* block)
{
    Uncount(block);
    __libc_free(block);
}

void* memalign(size_t alignment, size_t size)
{
    void* block = __libc_memalign(alignment, size);
    Count(block);
    return block;
}

void* aligned_alloc(size_t alignment, size_t size)
{
    return memalign(alignment, size);
}

int posix_memalign(void** result, size_t alignment, size_t size)
{
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* block = memalign(alignment, size);
    if (block == nullptr)
        return ENOMEM;
    *result = block;
    return 0;
}

void* valloc(size_t size)
{
    return memalign(static_cast<size_t>(sysconf(_SC_PAGESIZE)), size);
}

void* pvalloc(size_t size)
{
    const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    return memalign(page, (size + page - 1) / page * page);
}

} // extern "C"
