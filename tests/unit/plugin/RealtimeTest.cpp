// The audio path's promise: processReplacing never allocates and never takes
// a lock, whatever the host's block size and whatever the parameters do.
// The whole test program counts heap allocations through its own operator
// new and malloc hooks, and mutex acquisitions through pthread interposition.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "plugin/CPlug.h"
#include "tests/unit/support/FakeHost.h"

namespace {
std::atomic<bool> g_watching{false};
std::atomic<long> g_allocations{0};
std::atomic<long> g_locks{0};

void noteAllocation() {
    if (g_watching.load(std::memory_order_relaxed)) g_allocations.fetch_add(1);
}
}  // namespace

void* operator new(std::size_t size) {
    noteAllocation();
    if (void* p = std::malloc(size ? size : 1)) return p;
    std::abort();
}
void* operator new[](std::size_t size) {
    noteAllocation();
    if (void* p = std::malloc(size ? size : 1)) return p;
    std::abort();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    noteAllocation();
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    noteAllocation();
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

// Any mutex taken on the audio thread, by our code or by a library it calls.
extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
    using LockFn = int (*)(pthread_mutex_t*);
    static LockFn real = reinterpret_cast<LockFn>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    if (g_watching.load(std::memory_order_relaxed)) g_locks.fetch_add(1);
    return real(mutex);
}

using namespace ZEPHRA2F9C41D07;

namespace {

struct Watch {
    Watch() {
        g_allocations = 0;
        g_locks = 0;
        g_watching = true;
    }
    ~Watch() { g_watching = false; }
};

TEST(RealtimeAudioPath, ProcessesWithoutAllocatingOrLocking) {
    FakeHost host;
    CPlug plug(FakeHost::callback, 10, 10);
    plug.setSampleRate(48000.0f);
    std::vector<float> inL(4096, 0.25f), inR(4096, -0.25f), outL(4096), outR(4096);
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    inL[0] = 1.0f;
    {
        // The hooks see the heap: prove they work before trusting a zero.
        Watch watch;
        // (Called directly: a new-expression may be optimised away.)
        ::operator delete(::operator new(16));
        pthread_mutex_t m = PTHREAD_MUTEX_INITIALIZER;
        pthread_mutex_lock(&m);
        pthread_mutex_unlock(&m);
        const long allocations = g_allocations.load(), locks = g_locks.load();
        g_watching = false;
        EXPECT_EQ(allocations, 1);
        EXPECT_EQ(locks, 1);
    }
    Watch watch;
    int step = 0;
    for (int block : {1, 7, 64, 65, 100, 512, 4096, 0}) {
        for (int repeat = 0; repeat < 20; ++repeat, ++step) {
            // Parameters move while audio runs, as automation does.
            plug.setParameter(step % 10, static_cast<float>(step % 7) / 6.0f);
            plug.setParameter(kEffect, repeat % 5 == 0 ? 0.0f : 1.0f);
            plug.setBypass(repeat == 9);
            plug.processReplacing(ins, outs, block);
        }
    }
    g_watching = false;
    EXPECT_EQ(g_allocations.load(), 0) << "heap allocations on the audio path";
    EXPECT_EQ(g_locks.load(), 0) << "mutex locks on the audio path";
}

}  // namespace
