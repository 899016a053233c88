// ReverbEngine: hostile control values, sample rates and input, missing
// memory, and allocation-free audio processing.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "AllocationHook.h"
#include "EngineDriver.h"

namespace ZEPHRA2F9C41D07 {
namespace {

const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

bool allFinite(const Stereo& s) {
    for (size_t n = 0; n < s.frames(); ++n) {
        if (!std::isfinite(s.left[n]) || !std::isfinite(s.right[n])) return false;
    }
    return true;
}

TEST(ReverbEngine, HostileControlValuesNeverGiveNonFiniteOrGrowingOutput) {
    using Setter = void (ReverbEngine::*)(float);
    const Setter setters[] = {&ReverbEngine::setRT60,     &ReverbEngine::setDamping,
                              &ReverbEngine::setMix,      &ReverbEngine::setWidth,
                              &ReverbEngine::setPreDelay, &ReverbEngine::setInTrim,
                              &ReverbEngine::setOutTrim};
    const float values[] = {kNaN, kInf, -kInf, FLT_MAX, -FLT_MAX, 12.0f, -0.5f};
    const Stereo loud = stereoNoise(4800, 16);
    const size_t tailFrames = 28800;
    for (Setter set : setters) {
        for (float value : values) {
            for (bool atPrepare : {true, false}) {
                ReverbEngine engine;
                Settings s;
                s.rt60Seconds = 3.0f;
                s.mixPercent = 100.0f;
                apply(engine, s);
                (engine.*set)(value);
                if (atPrepare) engine.prepare(48000.0f);
                const Stereo hot = render(engine, loud);
                const Stereo tail = render(engine, silence(tailFrames));
                ASSERT_TRUE(allFinite(hot) && allFinite(tail)) << value;
                EXPECT_LT(peak(hot.left), 1e4f) << value;
                // Loop gains stay below 1 whatever was asked: the tail never grows.
                EXPECT_LE(peak(tail.left, tailFrames * 3 / 4),
                          peak(tail.left, tailFrames / 4, tailFrames / 2))
                    << value;
                const ReverbEngine::Controls& c = engine.current();
                EXPECT_TRUE(std::isfinite(c.rt60Seconds + c.damping + c.mixPercent +
                                          c.widthPercent + c.preDelayMs + c.inTrimDb +
                                          c.outTrimDb));
            }
        }
    }
}

TEST(ReverbEngine, NaNControlValuesAreIgnoredAndOthersLimited) {
    ReverbEngine engine;
    Settings s;
    s.mixPercent = 40.0f;
    prepareWith(engine, s, 48000.0f);
    engine.setMix(kNaN);
    engine.setRT60(-kInf);
    engine.setDamping(1e9f);
    engine.prepare(48000.0f);
    EXPECT_EQ(engine.current().mixPercent, 40.0f);
    EXPECT_EQ(engine.current().rt60Seconds, 0.0f);
    EXPECT_GT(engine.dampingCoefficient(), 0.0f);
    EXPECT_LT(engine.dampingCoefficient(), 1.0f);
    EXPECT_TRUE(std::isnan(engine.pendingMix())) << "setters store what they are given";
}

TEST(ReverbEngine, UnusableSampleRatesFallBackToSafeOnes) {
    const struct {
        float asked;
        float used;
    } cases[] = {{0.0f, 48000.0f}, {-44100.0f, 48000.0f}, {kNaN, 48000.0f},    {kInf, 48000.0f},
                 {1.0f, 1000.0f},  {1e12f, 768000.0f},    {FLT_MAX, 768000.0f}};
    for (const auto& c : cases) {
        ReverbEngine engine;
        Settings s;
        s.preDelayMs = 250.0f;
        prepareWith(engine, s, c.asked);
        EXPECT_EQ(engine.sampleRate(), c.used) << c.asked;
        const int32_t r = std::max(1, static_cast<int32_t>(c.used / 44100.0f + 0.5f));
        EXPECT_EQ(engine.preDelayLength(), r * 48000) << c.asked;
        const Stereo out = render(engine, stereoNoise(20000, 17));
        EXPECT_TRUE(allFinite(out)) << c.asked;
        EXPECT_GT(peak(out.left), 0.0f);
    }
}

TEST(ReverbEngine, NonFiniteInputDoesNotPoisonTheReverb) {
    Settings s;
    s.rt60Seconds = 3.0f;
    s.mixPercent = 100.0f;
    for (bool wetOnly : {false, true}) {
        s.wetOnly = wetOnly;
        ReverbEngine engine;
        prepareWith(engine, s, 48000.0f);
        Stereo bad = stereoNoise(3000, 18);
        for (size_t n = 1000; n < 1100; ++n) {
            bad.left[n] = (n % 3 == 0) ? kNaN : (n % 3 == 1 ? kInf : -kInf);
            bad.right[n] = (n % 2 == 0) ? -kInf : kNaN;
        }
        render(engine, bad);
        const Stereo after = render(engine, stereoNoise(48000, 19));
        EXPECT_TRUE(allFinite(after)) << wetOnly;
        EXPECT_GT(peak(after.left), 0.0f);
    }
}

TEST(ReverbEngine, WithoutDelayMemoryAudioPassesUnchangedUntilMemoryReturns) {
    // The engine obtains 25 delay memories per prepare: fail the first, one in
    // the middle and the last.
    for (int64_t failing : {0, 11, 24}) {
        ReverbEngine engine;
        Settings s;
        s.wetOnly = true;
        apply(engine, s);
        const int64_t before = nothrowAllocationCount();
        failNothrowAllocationsFrom(failing);
        engine.prepare(96000.0f);
        failNothrowAllocationsFrom(-1);
        EXPECT_EQ(nothrowAllocationCount() - before, failing + 1);
        EXPECT_FALSE(engine.hasDelayMemory());
        EXPECT_EQ(engine.combLength(0, 0) + engine.allpassLength(1, 3) + engine.preDelayLength(),
                  0);
        const Stereo in = stereoNoise(5000, 20);
        Stereo out = render(engine, in);
        EXPECT_EQ(out.left, in.left);
        EXPECT_EQ(out.right, in.right);

        engine.prepare(96000.0f);
        EXPECT_TRUE(engine.hasDelayMemory());
        EXPECT_EQ(engine.combLength(1, 7), 2 * 1640);
        out = render(engine, in);
        EXPECT_NE(out.left, in.left);
    }
    failNothrowAllocationsFrom(0);
    ReverbEngine starved;
    failNothrowAllocationsFrom(-1);
    EXPECT_FALSE(starved.hasDelayMemory());
    const Stereo in = stereoNoise(100, 21);
    EXPECT_EQ(render(starved, in).left, in.left);
}

TEST(ReverbEngine, ProcessingAndControlChangesNeverAllocate) {
    ReverbEngine engine;
    Settings s;
    prepareWith(engine, s, 48000.0f);
    const Stereo in = stereoNoise(48000, 22);
    Stereo out = silence(in.frames());
    const int64_t before = allocationCount();
    for (size_t n = 0, block = 0; n < in.frames(); ++block) {
        if (block % 50 == 0) {  // every control and switch moves now and then
            const float x = static_cast<float>(block % 7);
            engine.setRT60(x * 0.4f);
            engine.setDamping(x);
            engine.setMix(x * 14.0f);
            engine.setWidth(100.0f - x * 10.0f);
            engine.setPreDelay(x * 30.0f);
            engine.setInTrim(x - 3.0f);
            engine.setOutTrim(3.0f - x);
            engine.setMute(block % 300 == 150 ? 1.0f : 0.0f);
            engine.setWetOnly(block % 200 == 100 ? 1.0f : 0.0f);
            engine.setEffectOn(block % 400 == 200 ? 0.0f : 1.0f);
        }
        if (block % 500 == 499) engine.clear();
        const int32_t frames = static_cast<int32_t>(std::min<size_t>(37, in.frames() - n));
        engine.updateControls(frames);
        for (int32_t k = 0; k < frames; ++k, ++n) {
            engine.processSample(in.left[n], in.right[n], out.left[n], out.right[n]);
        }
        engine.takeOverload();
    }
    EXPECT_EQ(allocationCount(), before);
    EXPECT_TRUE(allFinite(out));
}

TEST(ReverbEngine, SubBlockLengthsOutsideTheRangeAreLimited) {
    for (int32_t frames : {0, -5, 1000}) {
        ReverbEngine engine;
        Settings s;
        s.mixPercent = 0.0f;
        prepareWith(engine, s, 48000.0f);
        engine.setOutTrim(6.0f);
        engine.updateControls(frames);
        float l = 0.0f;
        float r = 0.0f;
        for (int n = 0; n < 65; ++n) engine.processSample(0.5f, 0.5f, l, r);
        EXPECT_TRUE(std::isfinite(l) && std::isfinite(r)) << frames;
        // A ramp of at most 64 frames, read before it advances: done by frame 65.
        const double dry = 4.0 * (1.0 - 1e-6) / (2.0 - 1e-6);
        EXPECT_NEAR(l, 0.25 * dry * std::pow(10.0, 0.6 / 20.0), 1e-6) << frames;
    }
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
