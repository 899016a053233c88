// ReverbEngine's controls and its life: delay lengths and cooked values
// against their formulas at every rate, the smoothing rule, switches,
// prepare and clear, hostile values and rates, and missing delay memory.
// (The plug-in's audio-loop test watches the engine for allocations and
// locks under moving controls.)
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "EngineDriver.h"
#include "tests/unit/support/RealtimeGuard.h"

namespace ZEPHRA2F9C41D07 {
namespace {

const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

bool allFinite(const Stereo& s) {
    for (size_t n = 0; n < s.frames(); ++n)
        if (!std::isfinite(s.left[n]) || !std::isfinite(s.right[n])) return false;
    return true;
}

TEST(ReverbEngine, DelayLengthsAndCookedValuesFollowTheirFormulasAtEveryRate) {
    // Left lengths at 44.1 kHz; the right ones are 23 longer.
    const int32_t combs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const int32_t allpasses[4] = {556, 441, 341, 225};
    ReverbEngine engine;
    int step = 0;
    for (float rate : {8000.0f, 22050.0f, 44100.0f, 48000.0f, 66149.0f, 66150.0f, 96000.0f,
                       110250.0f, 192000.0f}) {
        const int32_t r = std::max(1, static_cast<int32_t>(rate / 44100.0f + 0.5f));
        for (int k = 0; k < 6; ++k, ++step) {
            Settings s;
            s.rt60Seconds = 0.6f * static_cast<float>(k);
            s.damping = 2.0f * static_cast<float>((k + step) % 6);
            s.mixPercent = 20.0f * static_cast<float>(step % 6);
            s.widthPercent = 20.0f * static_cast<float>(k);
            s.preDelayMs = k == 5 ? 2000.0f : 50.0f * static_cast<float>(k);
            prepareWith(engine, s, rate);
            SCOPED_TRACE(testing::Message() << rate << " Hz, case " << k);
            ASSERT_EQ(engine.sampleRate(), rate);
            for (int i = 0; i < 8; ++i) {
                EXPECT_EQ(engine.combLength(0, i), r * combs[i]);
                EXPECT_EQ(engine.combLength(1, i), r * (combs[i] + 23));
            }
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(engine.allpassLength(0, i), r * allpasses[i]);
                EXPECT_EQ(engine.allpassLength(1, i), r * (allpasses[i] + 23));
            }
            EXPECT_EQ(engine.preDelayLength(), r * 48000);
            const double loop = static_cast<float>(rate / 44100.0f * 1617.0f) / rate;
            const double feedback =
                std::pow(10.0, -(3.0 / (s.rt60Seconds + 0.01)) * loop) * 0.28 + 0.7;
            EXPECT_NEAR(engine.combFeedback(), feedback, 1e-6);
            const double fc = (1.0 - s.damping * 0.1) * 9000.0 + 1000.0;
            EXPECT_NEAR(engine.dampingCoefficient(), std::exp(-fc * 6.2831855 / rate), 1e-6);
            const double m = s.mixPercent == 0.0f ? 1e-6 : s.mixPercent * 0.005;
            EXPECT_NEAR(engine.wetGain(), 6.0 * m / (1.0 + m), 1e-6);
            EXPECT_NEAR(engine.dryGain(), 4.0 * (1.0 - m) / (2.0 - m), 1e-6);
            EXPECT_FLOAT_EQ(engine.widthFraction(), s.widthPercent / 100.0f);
            // One sample more than the time, and at most the line's last sample.
            const double delay =
                std::min(r * 48000.0 - 1.0, double(s.preDelayMs / 1000.0f) * rate + 1.0);
            EXPECT_EQ(engine.preDelaySamples(), static_cast<float>(delay));
        }
    }
    EXPECT_EQ(engine.combLength(2, 0), 0);
    EXPECT_EQ(engine.allpassLength(0, 4), 0);
}

TEST(ReverbEngine, SmoothingTakesATenthOfTheWayPerUpdateUntilTheStepIsTiny) {
    using Field = float ReverbEngine::Controls::*;
    using Setter = void (ReverbEngine::*)(float);
    const struct {
        Field field;
        Setter set;
        float from, to;
    } cases[] = {
        {&ReverbEngine::Controls::rt60Seconds, &ReverbEngine::setRT60, 0.0f, 3.0f},
        {&ReverbEngine::Controls::damping, &ReverbEngine::setDamping, 10.0f, 0.0f},
        {&ReverbEngine::Controls::inTrimDb, &ReverbEngine::setInTrim, -6.0f, 6.0f},
        {&ReverbEngine::Controls::outTrimDb, &ReverbEngine::setOutTrim, 6.0f, -6.0f},
        {&ReverbEngine::Controls::mixPercent, &ReverbEngine::setMix, 0.0f, 100.0f},
        {&ReverbEngine::Controls::mixPercent, &ReverbEngine::setMix, 50.0f, 51.0f},
        {&ReverbEngine::Controls::widthPercent, &ReverbEngine::setWidth, 100.0f, 0.0f},
        {&ReverbEngine::Controls::preDelayMs, &ReverbEngine::setPreDelay, 0.0f, 250.0f},
    };
    for (const auto& c : cases) {
        ReverbEngine engine;
        (engine.*c.set)(c.from);
        engine.prepare(44100.0f);
        (engine.*c.set)(c.to);
        float expected = c.from;
        int updates = 0;
        while (expected != c.to) {
            const float step = (c.to - expected) * 0.1f;
            expected = std::fabs(double(step)) < 0.001 ? c.to : expected + step;
            engine.updateControls(64);
            ASSERT_EQ(engine.current().*c.field, expected) << c.from << " to " << c.to;
            ++updates;
        }
        EXPECT_GT(updates, 40);
    }
}

TEST(ReverbEngine, SwitchesAreOnOnlyAboveOneHalf) {
    ReverbEngine engine;
    for (float v : {0.5f, 0.0f, -1.0f, kNaN, 0.5000001f, 1.0f, 7.0f}) {
        engine.setEffectOn(v);
        engine.setMute(v);
        engine.setWetOnly(v);
        const bool on = v > 0.5f;
        EXPECT_EQ(engine.effectPending(), on) << v;
        EXPECT_EQ(engine.mutePending(), on) << v;
        EXPECT_EQ(engine.wetOnlyPending(), on) << v;
    }
}

TEST(ReverbEngine, PrepareAppliesPendingValuesAtOnceAndDiscardsTheTail) {
    ReverbEngine engine;
    // Constructed: ready at 48 kHz with the effect out, so the input passes.
    EXPECT_EQ(engine.sampleRate(), 48000.0f);
    const Stereo noiseIn = stereoNoise(2000, 1);
    EXPECT_EQ(render(engine, noiseIn).left, noiseIn.left);
    Settings s;
    s.mixPercent = 100.0f;
    s.inTrimDb = 6.0f;
    s.outTrimDb = -3.0f;
    s.widthPercent = 100.0f;  // each side hears only its own combs
    prepareWith(engine, s, 44100.0f);
    // The first frame already carries the full trims and dry gain: no fade in.
    const Stereo out = render(engine, impulse(64));
    EXPECT_NEAR(out.left[0],
                0.5 * std::pow(10.0, 6.0 / 20) * (4.0 / 3.0) * std::pow(10.0, -3.0 / 20), 1e-6);
    // Clear empties the loops: only zeros until the shortest comb comes round.
    s.wetOnly = true;
    prepareWith(engine, s, 48000.0f);
    render(engine, stereoNoise(10000, 2));
    engine.clear();
    Stereo tail = render(engine, silence(4000));
    EXPECT_EQ(firstNonZero(tail.left), 1116u);
    EXPECT_EQ(firstNonZero(tail.right), 1139u);
    // Prepare also resets the filter states: silence from then on. At the
    // same length it reuses the delay memory.
    render(engine, stereoNoise(10000, 3));
    const int64_t allocations = realtime_guard::nothrowAllocations();
    engine.prepare(44100.0f);
    EXPECT_EQ(realtime_guard::nothrowAllocations(), allocations);
    tail = render(engine, silence(20000));
    EXPECT_EQ(peak(tail.left) + peak(tail.right), 0.0f);
    EXPECT_FALSE(engine.takeOverload());
    engine.prepare(96000.0f);
    EXPECT_EQ(realtime_guard::nothrowAllocations(), allocations + 25);
}

TEST(ReverbEngine, HostileControlValuesNeverGiveNonFiniteOrGrowingOutput) {
    using Setter = void (ReverbEngine::*)(float);
    const Stereo loud = stereoNoise(4800, 16);
    const size_t tailFrames = 28800;
    for (Setter set : {&ReverbEngine::setRT60, &ReverbEngine::setDamping, &ReverbEngine::setMix,
                       &ReverbEngine::setWidth, &ReverbEngine::setPreDelay,
                       &ReverbEngine::setInTrim, &ReverbEngine::setOutTrim}) {
        for (float value : {kNaN, kInf, -kInf, FLT_MAX, -FLT_MAX, 12.0f, -0.5f}) {
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
                          peak(tail.left, tailFrames / 4, tailFrames / 2));
                const ReverbEngine::Controls& c = engine.current();  // a NaN is ignored
                EXPECT_TRUE(std::isfinite(c.rt60Seconds + c.damping + c.mixPercent +
                                          c.widthPercent + c.preDelayMs + c.inTrimDb +
                                          c.outTrimDb));
            }
        }
    }
}

TEST(ReverbEngine, UnusableSampleRatesAndNonFiniteInputLeaveAWorkingReverb) {
    const struct {
        float asked, used;
    } cases[] = {{0.0f, 48000.0f}, {-44100.0f, 48000.0f}, {kNaN, 48000.0f},    {kInf, 48000.0f},
                 {1.0f, 1000.0f},  {1e12f, 768000.0f},    {FLT_MAX, 768000.0f}};
    for (const auto& c : cases) {
        ReverbEngine engine;
        Settings s;
        s.rt60Seconds = 3.0f;
        s.mixPercent = 100.0f;
        prepareWith(engine, s, c.asked);
        EXPECT_EQ(engine.sampleRate(), c.used) << c.asked;
        Stereo bad = stereoNoise(3000, 18);
        for (size_t n = 1000; n < 1100; ++n) {
            bad.left[n] = (n % 3 == 0) ? kNaN : (n % 3 == 1 ? kInf : -kInf);
            bad.right[n] = (n % 2 == 0) ? -kInf : kNaN;
        }
        render(engine, bad);
        const Stereo after = render(engine, stereoNoise(20000, 19));
        EXPECT_TRUE(allFinite(after)) << c.asked;
        EXPECT_GT(peak(after.left), 0.0f) << c.asked;
    }
}

TEST(ReverbEngine, WithoutDelayMemoryAudioPassesUnchangedUntilMemoryReturns) {
    // The engine obtains 25 delay memories per prepare: fail the first, one in
    // the middle and the last; then one made without any.
    const Stereo in = stereoNoise(5000, 20);
    for (int64_t failing : {0, 11, 24, -1}) {
        if (failing < 0) realtime_guard::failNothrowAllocationsFrom(0);
        ReverbEngine engine;
        if (failing >= 0) {
            realtime_guard::failNothrowAllocationsFrom(failing);
            engine.prepare(96000.0f);
        }
        realtime_guard::failNothrowAllocationsFrom(-1);
        EXPECT_FALSE(engine.hasDelayMemory());
        EXPECT_EQ(engine.combLength(0, 0) + engine.allpassLength(1, 3) + engine.preDelayLength(),
                  0);
        EXPECT_EQ(render(engine, in).left, in.left) << failing;
        engine.prepare(96000.0f);
        EXPECT_TRUE(engine.hasDelayMemory());
        EXPECT_EQ(engine.combLength(1, 7), 2 * 1640);
    }
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
