#include "countingheap.h"

#include <atomic>
#include <cerrno>
#include <malloc.h>

// glibc's own allocator under its exported internal names: these wrappers only count.
extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *pointer, size_t size);
void *__libc_memalign(size_t alignment, size_t size);
void __libc_free(void *pointer);
}

namespace {

std::atomic<std::size_t> used{0}, highest{0};

void *counted(void *pointer)
{
    if (pointer) {
        const std::size_t now = used += malloc_usable_size(pointer);
        std::size_t seen = highest.load(std::memory_order_relaxed);
        while (now > seen && !highest.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
        }
    }
    return pointer;
}

void uncount(void *pointer)
{
    if (pointer)
        used -= malloc_usable_size(pointer);
}

} // namespace

extern "C" {

void *malloc(size_t size)
{
    return counted(__libc_malloc(size));
}

void *calloc(size_t count, size_t size)
{
    return counted(__libc_calloc(count, size));
}

void *realloc(void *pointer, size_t size)
{
    uncount(pointer);
    return counted(__libc_realloc(pointer, size));
}

void *memalign(size_t alignment, size_t size)
{
    return counted(__libc_memalign(alignment, size));
}

void *aligned_alloc(size_t alignment, size_t size)
{
    return counted(__libc_memalign(alignment, size));
}

int posix_memalign(void **pointer, size_t alignment, size_t size)
{
    *pointer = counted(__libc_memalign(alignment, size));
    return *pointer || size == 0 ? 0 : ENOMEM;
}

void free(void *pointer)
{
    uncount(pointer);
    __libc_free(pointer);
}

} // extern "C"

namespace countingheap {

std::size_t inUse()
{
    return used;
}

std::size_t peak()
{
    return highest;
}

void resetPeak()
{
    highest = used.load();
}

} // namespace countingheap
