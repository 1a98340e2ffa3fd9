#include "heapCounter.h"

#include <cstdlib>
#include <malloc.h>
#include <new>

namespace {

// The benchmarks run on one thread; plain counters keep the hook cheap.
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

void *allocate(std::size_t size) {
    void *p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        throw std::bad_alloc();
    liveBytes += malloc_usable_size(p);
    if (liveBytes > peakBytes)
        peakBytes = liveBytes;
    return p;
}

void *allocateAligned(std::size_t size, std::size_t alignment) {
    void *p = nullptr;
    if (posix_memalign(&p, alignment < sizeof(void *) ? sizeof(void *) : alignment,
                       size == 0 ? 1 : size) != 0)
        throw std::bad_alloc();
    liveBytes += malloc_usable_size(p);
    if (liveBytes > peakBytes)
        peakBytes = liveBytes;
    return p;
}

void release(void *p) noexcept {
    if (!p)
        return;
    liveBytes -= malloc_usable_size(p);
    std::free(p);
}

} // namespace

namespace zqar::bench {

std::size_t HeapCounter::live() { return liveBytes; }

void HeapCounter::resetPeak() { peakBytes = liveBytes; }

std::size_t HeapCounter::peak() { return peakBytes; }

} // namespace zqar::bench

void *operator new(std::size_t size) { return allocate(size); }
void *operator new[](std::size_t size) { return allocate(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void *operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, static_cast<std::size_t>(alignment));
}
void *operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, static_cast<std::size_t>(alignment));
}
void operator delete(void *p) noexcept { release(p); }
void operator delete[](void *p) noexcept { release(p); }
void operator delete(void *p, std::size_t) noexcept { release(p); }
void operator delete[](void *p, std::size_t) noexcept { release(p); }
void operator delete(void *p, std::align_val_t) noexcept { release(p); }
void operator delete[](void *p, std::align_val_t) noexcept { release(p); }
void operator delete(void *p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete[](void *p, std::size_t, std::align_val_t) noexcept { release(p); }
