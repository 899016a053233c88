// The realtime guard: a replaced global operator new and wrapped mutex calls,
// each counting on the watched thread.
#include "tests/unit/support/RealtimeGuard.h"

#include <pthread.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {
thread_local bool t_watched = false;
thread_local realtime_guard::Counts t_counts;
std::atomic<int64_t> g_nothrowAllocations{0};
std::atomic<int64_t> g_failFrom{-1};

void* allocate(std::size_t size) {
    if (t_watched) ++t_counts.allocations;
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrFail(std::size_t size) {
    const int64_t index = g_nothrowAllocations++;
    const int64_t failFrom = g_failFrom.load();
    return failFrom >= 0 && index >= failFrom ? nullptr : allocate(size);
}

void* allocateOrThrow(std::size_t size) {
    void* p = allocate(size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}
}  // namespace

namespace realtime_guard {
void watchThisThread() {
    // Called directly: a new-expression may be optimised away.
    static const bool seesEverything = [] {
        t_watched = true;
        ::operator delete(::operator new(16));
        pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
        pthread_mutex_lock(&mutex);
        pthread_mutex_unlock(&mutex);
        t_watched = false;
        return t_counts.allocations == 1 && t_counts.locks == 1;
    }();
    if (!seesEverything) {
        std::fputs("realtime guard: allocations or locks pass unseen\n", stderr);
        std::abort();
    }
    t_counts = Counts{};
    t_watched = true;
}
Counts stopWatching() {
    t_watched = false;
    return t_counts;
}
int64_t nothrowAllocations() { return g_nothrowAllocations.load(); }
void failNothrowAllocationsFrom(int64_t index) {
    g_failFrom.store(index < 0 ? -1 : g_nothrowAllocations.load() + index);
}
}  // namespace realtime_guard

// The linker's --wrap sends every call of the wrapped function in the
// program's objects here and makes the original reachable as __real_...;
// the reserved names are the linker's convention, not ours.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" int __real_pthread_mutex_lock(pthread_mutex_t* mutex);
extern "C" int __real_pthread_mutex_trylock(pthread_mutex_t* mutex);
extern "C" int __wrap_pthread_mutex_lock(pthread_mutex_t* mutex) {
    if (t_watched) ++t_counts.locks;
    return __real_pthread_mutex_lock(mutex);
}
extern "C" int __wrap_pthread_mutex_trylock(pthread_mutex_t* mutex) {
    if (t_watched) ++t_counts.locks;
    return __real_pthread_mutex_trylock(mutex);
}
// NOLINTEND(bugprone-reserved-identifier)

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
