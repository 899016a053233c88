// The audio path's promise: processReplacing never allocates and never takes
// a lock, whatever the host's block size and whatever the parameters do.
// The test program counts heap allocations through the shared allocation
// hook and mutex acquisitions through pthread interposition.
#include <gtest/gtest.h>

#include <pthread.h>

#include <new>
#include <vector>

#include "plugin/CPlug.h"
#include "tests/unit/dsp/AllocationHook.h"
#include "tests/unit/support/FakeHost.h"
#include "tests/unit/support/LockCounter.h"

using namespace ZEPHRA2F9C41D07;

namespace {

TEST(RealtimeAudioPath, ProcessesWithoutAllocatingOrLocking) {
    FakeHost host;
    CPlug plug(FakeHost::callback, 10, 10);
    plug.setSampleRate(48000.0f);
    std::vector<float> inL(4096, 0.25f), inR(4096, -0.25f), outL(4096), outR(4096);
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    inL[0] = 1.0f;
    {
        // The hooks see the heap and the locks: prove it before trusting a zero.
        const int64_t before = allocationCount();
        lock_counter::start();
        // (Called directly: a new-expression may be optimised away.)
        ::operator delete(::operator new(16));
        pthread_mutex_t m = PTHREAD_MUTEX_INITIALIZER;
        pthread_mutex_lock(&m);
        pthread_mutex_unlock(&m);
        EXPECT_EQ(lock_counter::stop(), 1);
        EXPECT_EQ(allocationCount(), before + 1);
    }
    const int64_t before = allocationCount();
    lock_counter::start();
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
    const long locks = lock_counter::stop();
    EXPECT_EQ(allocationCount() - before, 0) << "heap allocations on the audio path";
    EXPECT_EQ(locks, 0) << "mutex locks on the audio path";
}

}  // namespace
