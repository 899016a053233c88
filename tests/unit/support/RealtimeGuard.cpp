#include "tests/unit/support/RealtimeGuard.h"

#include <pthread.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {
#ifdef KORVEX_GUARD_COUNTS_LOCKS
constexpr uint64_t kCountsLocks = 1;
#else
constexpr uint64_t kCountsLocks = 0;
#endif
thread_local bool t_watched = false;
thread_local realtime_guard::Counts t_counts;
std::atomic<int64_t> g_nothrowAllocations{0};
std::atomic<int64_t> g_failFrom{-1};

void* allocate(std::size_t size, bool nothrow) {
    const int64_t failFrom = g_failFrom.load();
    if (nothrow && g_nothrowAllocations++ >= failFrom && failFrom >= 0) return nullptr;
    t_counts.allocations += t_watched ? 1 : 0;
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr && !nothrow) throw std::bad_alloc();
    return p;
}
}  // namespace

namespace realtime_guard {
void watchThisThread() {
    static const bool seesEverything = [] {
        t_watched = true;
        ::operator delete(::operator new(16));  // a new-expression may be optimised away
        pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
        pthread_mutex_lock(&mutex);
        pthread_mutex_unlock(&mutex);
        t_watched = false;
        return t_counts.allocations == 1 && t_counts.locks == kCountsLocks;
    }();
    if (!seesEverything) {
        std::fputs("realtime guard: allocations or locks pass unseen\n", stderr);
        std::abort();
    }
    t_counts = Counts{};
    t_watched = true;
}
Counts stopWatching() { return t_watched = false, t_counts; }
void failNothrowAllocationsFrom(int64_t index) {
    g_failFrom.store(index < 0 ? -1 : g_nothrowAllocations.load() + index);
}
}  // namespace realtime_guard

#ifdef KORVEX_GUARD_COUNTS_LOCKS
// The reserved names are the linker's --wrap convention, not ours.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" int __real_pthread_mutex_lock(pthread_mutex_t* mutex);
extern "C" int __wrap_pthread_mutex_lock(pthread_mutex_t* mutex) {
    t_counts.locks += t_watched ? 1 : 0;
    return __real_pthread_mutex_lock(mutex);
}
// NOLINTEND(bugprone-reserved-identifier)
#endif

void* operator new(std::size_t n) { return allocate(n, false); }
void* operator new[](std::size_t n) { return allocate(n, false); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocate(n, true); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocate(n, true); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
