// What the audio thread pays for the open editor: after every block the
// plug-in reports the overload indicator, and automation may arrive on that
// thread too. With the editor's window open neither may allocate or take a
// lock. The program counts operator new through the shared allocation hook
// and mutex acquisitions through pthread interposition.
#include <pthread.h>

#include <thread>

#include "EditorFixture.h"
#include "tests/unit/dsp/AllocationHook.h"
#include "tests/unit/support/LockCounter.h"

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
        lock_counter::start();
        pthread_mutex_t m = PTHREAD_MUTEX_INITIALIZER;
        pthread_mutex_lock(&m);
        pthread_mutex_unlock(&m);
        EXPECT_EQ(lock_counter::stop(), 1);
    }
    int64_t allocations = -1;
    long locks = -1;
    std::thread audio([&] {
        const int64_t before = allocationCount();
        lock_counter::start();
        for (int block = 0; block < 2000; ++block) {
            plug->setParameter(kOverload, (block / 7) % 2 ? 1.0f : 0.0f);  // after every block
            plug->setParameter(block % 10, static_cast<float>(block % 11) / 10.0f);
            plug->setBypass(block % 50 == 0);
        }
        locks = lock_counter::stop();
        allocations = allocationCount() - before;
    });
    audio.join();
    EXPECT_EQ(allocations, 0) << "heap allocations on the audio thread";
    EXPECT_EQ(locks, 0) << "mutex locks on the audio thread";
    // And the window thread picks it all up on its next tick.
    tick();
    EXPECT_FLOAT_EQ(editor->knobValue(kInTrim), plug->getParameter(kInTrim) * 100.0f);
}

}  // namespace
