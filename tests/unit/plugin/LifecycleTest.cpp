// An instance's life as hosts drive it: suspend and resume around the
// reverb tail, sample-rate changes, and the audio loop's sub-blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "plugin/CPlug.h"
#include "tests/unit/support/FakeHost.h"
#include "tests/unit/support/RecordingEditor.h"

using namespace ZEPHRA2F9C41D07;

namespace {

struct Stereo {
    std::vector<float> l, r;
    explicit Stereo(size_t n, float value = 0.0f) : l(n, value), r(n, value) {}
};

// Runs frames of input through the plug-in in host blocks of `block` frames.
Stereo run(CPlug& plug, const Stereo& in, int block) {
    Stereo out(in.l.size());
    for (size_t at = 0; at < in.l.size(); at += block) {
        const int n = static_cast<int>(std::min<size_t>(block, in.l.size() - at));
        float* ins[2] = {const_cast<float*>(in.l.data() + at),
                         const_cast<float*>(in.r.data() + at)};
        float* outs[2] = {out.l.data() + at, out.r.data() + at};
        plug.processReplacing(ins, outs, n);
    }
    return out;
}

double energy(const Stereo& s, size_t from = 0) {
    double e = 0.0;
    for (size_t i = from; i < s.l.size(); ++i)
        e += double(s.l[i]) * s.l[i] + double(s.r[i]) * s.r[i];
    return e;
}

// A three-second tail at full mix, applied at once by the sample rate.
void setLongDecay(CPlug& plug) {
    plug.setParameter(kRT60, 1.0f);
    plug.setParameter(kMix, 1.0f);
    plug.setSampleRate(48000.0f);
}

struct LifecycleFixture : ::testing::Test {
    FakeHost host;
    CPlug plug{FakeHost::callback, 10, 10};
    CPlug other{FakeHost::callback, 10, 10};  // a twin, for comparisons

    void SetUp() override {
        setLongDecay(plug);
        setLongDecay(other);
    }
    // A burst, then a block of silence that holds only the tail.
    Stereo excite() {
        Stereo burst(4800);
        for (size_t i = 0; i < 480; ++i) burst.l[i] = burst.r[i] = (i % 2 ? 0.5f : -0.5f);
        return run(plug, burst, 512);
    }
};

TEST_F(LifecycleFixture, SuspendDiscardsTheTailAndResumeKeepsIt) {
    excite();
    plug.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);  // resume: nothing changes
    Stereo kept = run(plug, Stereo(4800), 512);
    EXPECT_GT(energy(kept), 1e-3);

    excite();
    plug.dispatcher(effMainsChanged, 0, 0, nullptr, 0.0f);  // suspend: memory zeroed
    plug.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    Stereo cleared = run(plug, Stereo(4800), 512);
    // Only the combs' filter states remain and fade out within a few
    // milliseconds; the tail itself is gone.
    EXPECT_LT(energy(cleared, 480), energy(kept, 480) * 1e-3);
}

TEST_F(LifecycleFixture, BlockSizeDoesNotChangeTheSoundOnceSettled) {
    Stereo in(9000);
    for (size_t i = 0; i < in.l.size(); ++i) in.l[i] = std::sin(0.01f * float(i)) * 0.3f;
    Stereo a = run(plug, in, 64);
    Stereo b = run(other, in, 64 * 7);  // whole multiples of the 64-frame sub-block
    EXPECT_EQ(a.l, b.l);
    EXPECT_EQ(a.r, b.r);
}

TEST_F(LifecycleFixture, InPlaceBuffersGiveTheSameResult) {
    Stereo in(3000);
    for (size_t i = 0; i < in.l.size(); ++i) {
        in.l[i] = std::sin(0.02f * float(i)) * 0.4f;
        in.r[i] = std::cos(0.03f * float(i)) * 0.4f;
    }
    Stereo separate = run(plug, in, 100);
    Stereo shared = in;
    for (size_t at = 0; at < shared.l.size(); at += 100) {
        float* io[2] = {shared.l.data() + at, shared.r.data() + at};
        other.processReplacing(io, io, 100);
    }
    EXPECT_EQ(separate.l, shared.l);
    EXPECT_EQ(separate.r, shared.r);
}

TEST_F(LifecycleFixture, OverloadLightsTheLampUntilABlockWithoutOne) {
    auto* editor = new RecordingEditor(&plug);
    plug.replaceEditor(editor);
    plug.setParameter(kRT60, 0.0f);
    plug.setSampleRate(48000.0f);
    // One absurd sample drives the clippers far past their overload point;
    // with the shortest decay the tail is gone well within a second.
    Stereo hit(64, 0.0f), quiet(48000, 0.0f);
    hit.l[10] = hit.r[10] = 1000.0f;
    run(plug, hit, 64);
    ASSERT_FALSE(editor->parameters.empty());
    EXPECT_EQ(editor->parameters.back(), std::make_pair(VstInt32(kOverload), 1.0f));
    run(plug, quiet, 256);
    EXPECT_EQ(editor->parameters.back(), std::make_pair(VstInt32(kOverload), 0.0f));
    // A block of no frames still reports.
    const size_t before = editor->parameters.size();
    plug.processReplacing(nullptr, nullptr, 0);
    EXPECT_EQ(editor->parameters.size(), before + 1);
}

TEST_F(LifecycleFixture, EffectOutAfterTheCrossfadeIsTheInputExactly) {
    plug.setParameter(kEffect, 0.0f);
    run(plug, Stereo(4800, 0.1f), 512);  // let the 20 ms crossfade finish
    Stereo in(2048);
    for (size_t i = 0; i < in.l.size(); ++i) {
        in.l[i] = std::sin(0.05f * float(i));
        in.r[i] = -0.5f * in.l[i];
    }
    Stereo out = run(plug, in, 300);
    EXPECT_EQ(out.l, in.l);
    EXPECT_EQ(out.r, in.r);
}

}  // namespace
