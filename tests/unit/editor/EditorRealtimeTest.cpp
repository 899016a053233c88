// What the audio thread pays for the open editor: after every block the
// plug-in reports the overload indicator, and automation may arrive on that
// thread too. With the editor's window open neither may allocate or take a
// lock. The program counts operator new through the shared allocation hook
// and mutex acquisitions through pthread interposition.
#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <thread>

#include "EditorFixture.h"
#include "tests/unit/dsp/AllocationHook.h"

namespace {
std::atomic<bool> g_watchingLocks{false};
std::atomic<long> g_locks{0};
}  // namespace

extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex) {
    using LockFn = int (*)(pthread_mutex_t*);
    static LockFn real = reinterpret_cast<LockFn>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    if (g_watchingLocks.load(std::memory_order_relaxed)) g_locks.fetch_add(1);
    return real(mutex);
}

using namespace ZEPHRA2F9C41D07;

namespace {

TEST_F(EditorFixture, NotificationsOnTheAudioThreadNeitherAllocateNorLock) {
    openEditor();
    tick();
    // The hooks see what they should: prove it before trusting a zero.
    {
        const int64_t before = allocationCount();
        ::operator delete(::operator new(16));
        EXPECT_EQ(allocationCount(), before + 1);
        g_locks = 0;
        g_watchingLocks = true;
        pthread_mutex_t m = PTHREAD_MUTEX_INITIALIZER;
        pthread_mutex_lock(&m);
        pthread_mutex_unlock(&m);
        g_watchingLocks = false;
        EXPECT_EQ(g_locks.load(), 1);
    }
    int64_t allocations = -1;
    long locks = -1;
    std::thread audio([&] {
        g_locks = 0;
        const int64_t before = allocationCount();
        g_watchingLocks = true;
        for (int block = 0; block < 2000; ++block) {
            plug->setParameter(kOverload, (block / 7) % 2 ? 1.0f : 0.0f);  // after every block
            plug->setParameter(block % 10, static_cast<float>(block % 11) / 10.0f);
            plug->setBypass(block % 50 == 0);
        }
        g_watchingLocks = false;
        allocations = allocationCount() - before;
        locks = g_locks.load();
    });
    audio.join();
    EXPECT_EQ(allocations, 0) << "heap allocations on the audio thread";
    EXPECT_EQ(locks, 0) << "mutex locks on the audio thread";
    // And the window thread picks it all up on its next tick.
    tick();
    EXPECT_FLOAT_EQ(editor->knobValue(kInTrim), plug->getParameter(kInTrim) * 100.0f);
}

}  // namespace
