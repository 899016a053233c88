// The audio path's promise: processReplacing never allocates and never takes
// a lock, whatever the host's block size and whatever the parameters do.
#include <gtest/gtest.h>

#include "plugin/CPlug.h"
#include "tests/unit/dsp/TestSignals.h"
#include "tests/unit/support/FakeHost.h"
#include "tests/unit/support/RealtimeGuard.h"

using namespace ZEPHRA2F9C41D07;

namespace {

TEST(RealtimeAudioPath, ProcessesWithoutAllocatingOrLocking) {
    FakeHost host;
    CPlug plug(FakeHost::callback, 10, 10);
    plug.setSampleRate(48000.0f);
    Stereo in = stereoNoise(4096, 3), out = silence(4096);
    float* ins[2] = {in.left.data(), in.right.data()};
    float* outs[2] = {out.left.data(), out.right.data()};
    realtime_guard::watchThisThread();
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
    const realtime_guard::Counts counts = realtime_guard::stopWatching();
    EXPECT_EQ(counts.allocations, 0u) << "heap allocations on the audio path";
    EXPECT_EQ(counts.locks, 0u) << "mutex locks on the audio path";
}

}  // namespace
