// ReverbEngine's controls and its life, and the building blocks both of its
// paths share (so comparing the paths cannot see their faults).
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "EngineDriver.h"
#include "dsp/GainRamp.h"
#include "dsp/PreDelayLine.h"
#include "dsp/SoftClipper.h"
#include "dsp/SwitchFader.h"
#include "tests/unit/support/RealtimeGuard.h"

namespace ZEPHRA2F9C41D07 {
namespace {

const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

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
            for (int i = 0; i < 16; ++i)
                EXPECT_EQ(engine.combLength(i % 2, i / 2), r * (combs[i / 2] + 23 * (i % 2)));
            for (int i = 0; i < 8; ++i)
                EXPECT_EQ(engine.allpassLength(i % 2, i / 2),
                          r * (allpasses[i / 2] + 23 * (i % 2)));
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
            const double delay =  // one sample more than the time, at most the last
                std::min(r * 48000.0 - 1.0, double(s.preDelayMs / 1000.0f) * rate + 1.0);
            EXPECT_EQ(engine.preDelaySamples(), static_cast<float>(delay));
        }
    }
}

TEST(ReverbEngine, SmoothingTakesATenthOfTheWayPerUpdateUntilTheStepIsTiny) {
    using C = ReverbEngine::Controls;
    using E = ReverbEngine;
    const struct {
        float C::*field;
        void (E::*set)(float);
        float from, to;
    } cases[] = {{&C::rt60Seconds, &E::setRT60, 0.0f, 3.0f},
                 {&C::damping, &E::setDamping, 10.0f, 0.0f},
                 {&C::inTrimDb, &E::setInTrim, -6.0f, 6.0f},
                 {&C::outTrimDb, &E::setOutTrim, 6.0f, -6.0f},
                 {&C::mixPercent, &E::setMix, 50.0f, 51.0f},
                 {&C::widthPercent, &E::setWidth, 100.0f, 0.0f},
                 {&C::preDelayMs, &E::setPreDelay, 0.0f, 250.0f}};
    for (const auto& c : cases) {
        ReverbEngine engine;
        (engine.*c.set)(c.from);
        engine.prepare(44100.0f);
        (engine.*c.set)(c.to);
        for (float expected = c.from; expected != c.to;) {
            const float step = (c.to - expected) * 0.1f;
            expected = std::fabs(double(step)) < 0.001 ? c.to : expected + step;
            engine.updateControls(64);
            ASSERT_EQ(engine.current().*c.field, expected) << c.from << " to " << c.to;
        }
    }
}

TEST(ReverbEngine, PrepareAppliesPendingValuesAtOnceAndDiscardsTheTail) {
    ReverbEngine engine;
    Settings s;
    s.mixPercent = 100.0f;
    s.inTrimDb = 6.0f;
    s.outTrimDb = -3.0f;
    s.widthPercent = 100.0f;
    prepareWith(engine, s, 44100.0f);
    // The first frame already carries the full trims and dry gain: no fade in.
    EXPECT_NEAR(render(engine, impulse(64)).left[0],
                0.5 * std::pow(10.0, 6.0 / 20) * (4.0 / 3.0) * std::pow(10.0, -3.0 / 20), 1e-6);
    // Prepare empties the loops and the filter states: only silence follows.
    render(engine, stereoNoise(10000, 3));
    engine.prepare(44100.0f);
    const Stereo tail = render(engine, silence(20000));
    EXPECT_EQ(peak(tail.left) + peak(tail.right), 0.0f);
}

TEST(ReverbEngine, HostileValuesRatesAndInputLeaveAFiniteNonGrowingWorkingReverb) {
    const auto finite = [](const Stereo& s) {
        const auto ok = [](float x) { return std::isfinite(x); };
        return std::all_of(s.left.begin(), s.left.end(), ok) &&
               std::all_of(s.right.begin(), s.right.end(), ok);
    };
    const Stereo loud = stereoNoise(4800, 16);
    const size_t tailFrames = 28800;
    for (auto set : {&ReverbEngine::setRT60, &ReverbEngine::setDamping, &ReverbEngine::setMix,
                     &ReverbEngine::setWidth, &ReverbEngine::setPreDelay, &ReverbEngine::setInTrim,
                     &ReverbEngine::setOutTrim}) {
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
                ASSERT_TRUE(finite(hot) && finite(tail)) << value;
                EXPECT_LT(peak(hot.left), 1e4f) << value;
                // Loop gains stay below 1 whatever was asked: the tail never grows.
                EXPECT_LE(peak(tail.left, tailFrames * 3 / 4),
                          peak(tail.left, tailFrames / 4, tailFrames / 2));
            }
        }
    }
    const struct {
        float asked, used;
    } rates[] = {{0.0f, 48000.0f}, {-44100.0f, 48000.0f}, {kNaN, 48000.0f},    {kInf, 48000.0f},
                 {1.0f, 1000.0f},  {1e12f, 768000.0f},    {FLT_MAX, 768000.0f}};
    for (const auto& c : rates) {
        ReverbEngine engine;
        Settings s;
        s.mixPercent = 100.0f;
        prepareWith(engine, s, c.asked);
        EXPECT_EQ(engine.sampleRate(), c.used) << c.asked;
        Stereo bad = stereoNoise(3000, 18);
        for (size_t n = 1000; n < 1100; ++n) bad.left[n] = bad.right[n + 1] = n % 2 ? kNaN : -kInf;
        render(engine, bad);
        const Stereo after = render(engine, stereoNoise(20000, 19));
        EXPECT_TRUE(finite(after)) << c.asked;
        EXPECT_GT(peak(after.left), 0.0f) << c.asked;
    }
}

TEST(ReverbEngine, WithoutAnyOfItsDelayMemoryAudioPassesUnchangedUntilMemoryReturns) {
    // Fail the first, a middle and the last of 25 memories; then all.
    const Stereo in = stereoNoise(5000, 20);
    for (int64_t failing : {0, 11, 24, -1}) {
        realtime_guard::failNothrowAllocationsFrom(std::max<int64_t>(failing, 0));
        ReverbEngine engine;
        if (failing >= 0) engine.prepare(96000.0f);
        realtime_guard::failNothrowAllocationsFrom(-1);
        EXPECT_FALSE(engine.hasDelayMemory());
        EXPECT_EQ(engine.combLength(0, 0) + engine.allpassLength(1, 3) + engine.preDelayLength(),
                  0);
        EXPECT_EQ(render(engine, in).left, in.left) << failing;
        engine.prepare(96000.0f);
        EXPECT_EQ(engine.combLength(1, 7), 2 * 1640);
    }
}

TEST(ReverbElements, GainRampsLandExactlyAndRestartFromWhereTheyAre) {
    GainRamp ramp;
    ramp.rampTo(1.0f, 4);
    for (int n = 0; n < 5; ++n) ramp.advance();
    EXPECT_EQ(ramp.current(), 1.0f);  // landed, and stays
    ramp.rampTo(0.1f, 3);             // 0.9 / 3 is not exact in binary
    ramp.advance();
    ramp.rampTo(0.4f, 2);  // from 0.7: steps of -0.15
    ramp.advance();
    EXPECT_FLOAT_EQ(ramp.current(), 0.55f);
    for (int n = 0; n < 5; ++n) ramp.advance();
    EXPECT_EQ(ramp.current(), 0.4f);
}

TEST(ReverbElements, PreDelayReadPointAHairBehindTheWritePositionStaysInTheLine) {
    // Delay 5 + one ulp at write position 5: the read point -4.8e-7 rounds to
    // exactly the length once wrapped.
    PreDelayLine line;
    ASSERT_TRUE(line.allocate(16));
    line.clearMemory();
    line.setDelayNow(5.0f);
    for (int n = 0; n < 5; ++n) line.process(static_cast<float>(n + 1));
    line.setDelayNow(std::nextafter(5.0f, 6.0f));
    EXPECT_NEAR(line.process(0.0f), 1.0f, 1e-5f);
}

TEST(ReverbElements, SoftClipperFollowsTheCubicFlattensAtSixteenAndReportsBeyondEight) {
    SoftClipper clipper;
    for (int k = -300; k <= 300; ++k) {
        const float x = 0.1f * static_cast<float>(k);
        const double u = std::fmax(-1.0, std::fmin(1.0, x / 24.0));
        EXPECT_NEAR(clipper.process(x), 24.0 * (u - u * u * u / 3.0), 1e-5) << x;
        EXPECT_EQ(clipper.overload(), std::fabs(x) > 8.0f) << x;
        clipper.resetOverload();
    }
    EXPECT_EQ(std::make_pair(clipper.process(kInf), clipper.process(-kInf)),
              std::make_pair(16.0f, -16.0f));
    clipper.resetOverload();
    EXPECT_EQ(clipper.process(kNaN), 0.0f);
    clipper.process(0.0f);
    EXPECT_TRUE(clipper.overload()) << "the flag stays until its reader clears it";
}

TEST(ReverbElements, SwitchFaderSettlesAfterItsTimeAndReversesFromWhereItIs) {
    for (float rate : {44100.0f, 96000.0f}) {
        // The distance (1 - 3 / (T fs))^k first drops inside the 0.05 band.
        const double coefficient = 3.0 / (0.02 * rate);
        const int calls = static_cast<int>(std::ceil(std::log(0.05) / std::log(1.0 - coefficient)));
        SwitchFader fader;
        fader.setNow(false, rate);
        for (bool on : {true, false}) {
            fader.configure(20.0f, 20.0f, on, rate);
            double position = on ? 0.0 : 1.0;
            for (int k = 0; k < calls; ++k) {
                ASSERT_FALSE(fader.settled()) << rate << " after " << k;
                position += coefficient * ((on ? 1.0 : 0.0) - position);
                const float out = fader.process(0.7f, -0.2f);
                ASSERT_TRUE(k + 1 == calls || std::fabs(out - (-0.2 + 0.9 * position)) < 1e-4) << k;
            }
            EXPECT_TRUE(fader.settled()) << rate;
            EXPECT_EQ(fader.process(0.7f, -0.2f), on ? 0.7f : -0.2f);
        }
        fader.configure(20.0f, 20.0f, true, rate);
        for (int k = 0; k < 100; ++k) fader.process(1.0f, 0.0f);
        const float reached = fader.position();
        fader.configure(20.0f, 20.0f, false, rate);
        fader.process(1.0f, 0.0f);
        EXPECT_NEAR(fader.position(), reached * (1.0 - coefficient), 1e-6);
    }
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
