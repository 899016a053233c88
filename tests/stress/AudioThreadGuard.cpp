// The audio-thread guard: a replaced global operator new and wrapped pthread
// mutex calls, each counting when the calling thread is marked.
#include "tests/stress/AudioThreadGuard.h"

#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
thread_local bool t_audioThread = false;
std::atomic<uint64_t> g_locks{0};
std::atomic<uint64_t> g_allocations{0};

void* allocate(std::size_t size) {
    if (t_audioThread) g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
}  // namespace

namespace audio_guard {
void markAudioThread(bool on) { t_audioThread = on; }
uint64_t locksTaken() { return g_locks.load(); }
uint64_t allocations() { return g_allocations.load(); }
}  // namespace audio_guard

// The linker's --wrap option sends every call of pthread_mutex_lock in our
// objects here and makes the original reachable as __real_pthread_mutex_lock;
// the reserved-looking names are the linker's convention, not ours.
extern "C" int __real_pthread_mutex_lock(pthread_mutex_t* mutex);
extern "C" int __real_pthread_mutex_trylock(pthread_mutex_t* mutex);

extern "C" int __wrap_pthread_mutex_lock(pthread_mutex_t* mutex) {
    if (t_audioThread) g_locks.fetch_add(1, std::memory_order_relaxed);
    return __real_pthread_mutex_lock(mutex);
}

extern "C" int __wrap_pthread_mutex_trylock(pthread_mutex_t* mutex) {
    if (t_audioThread) g_locks.fetch_add(1, std::memory_order_relaxed);
    return __real_pthread_mutex_trylock(mutex);
}

void* operator new(std::size_t size) {
    void* p = allocate(size);
    if (!p) std::abort();
    return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
