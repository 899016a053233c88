// AllocationHook: every global allocation and release of the test program goes
// through malloc and free here, counted; the non-throwing forms can be made to fail.
#include "AllocationHook.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<int64_t> gAllocations{0};
std::atomic<int64_t> gNothrowAllocations{0};
std::atomic<int64_t> gFailFrom{-1};

void* allocate(std::size_t size) {
    ++gAllocations;
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrFail(std::size_t size) {
    const int64_t index = gNothrowAllocations++;
    const int64_t failFrom = gFailFrom.load();
    if (failFrom >= 0 && index >= failFrom) return nullptr;
    return allocate(size);
}

void* allocateOrThrow(std::size_t size) {
    void* p = allocate(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
}  // namespace

namespace ZEPHRA2F9C41D07 {
int64_t allocationCount() { return gAllocations.load(); }
int64_t nothrowAllocationCount() { return gNothrowAllocations.load(); }
void failNothrowAllocationsFrom(int64_t index) {
    gFailFrom.store(index < 0 ? -1 : gNothrowAllocations.load() + index);
}
}  // namespace ZEPHRA2F9C41D07

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrFail(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrFail(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
