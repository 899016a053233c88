// The reverb's building blocks against loops written out here from their
// definitions, over generated lengths, gains and inputs: the comb's delay,
// loop gain and damping, the all-pass's echoes, the pre-delay's fractional
// reads and glides, the gain ramps; and the soft clipper's curve and the
// switch crossfade's settle time against their formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TestSignals.h"
#include "dsp/AllpassFilter.h"
#include "dsp/CombFilter.h"
#include "dsp/GainRamp.h"
#include "dsp/PreDelayLine.h"
#include "dsp/SoftClipper.h"
#include "dsp/SwitchFader.h"

namespace ZEPHRA2F9C41D07 {
namespace {

float flushed(float x) { return std::fabs(double(x)) < 1e-32 ? 0.0f : x; }

TEST(ReverbElements, DelayLoopsAndRampsFollowTheirDefinitions) {
    for (int run = 0; run < 24; ++run) {
        const int32_t length = 1 + (run * 7) % 40;
        const float gain = 0.3f * static_cast<float>(run % 4);
        const float damping = 0.45f * static_cast<float>(run % 3);
        std::vector<float> in = noise(900, run + 1);
        for (size_t n = 5; n < in.size(); n += 11)
            in[n] *= 1e-31f;  // either side of the flush bound
        CombFilter comb;
        AllpassFilter allpass;
        PreDelayLine line;
        GainRamp ramp;
        ASSERT_TRUE(comb.allocate(length) && allpass.allocate(length) && line.allocate(length + 1));
        comb.clearMemory();
        allpass.clearMemory();
        line.clearMemory();
        comb.setFeedback(gain);
        comb.setDampingCoefficient(damping);
        allpass.setFeedback(gain);
        float delay = 1.0f + static_cast<float>(length - 1) * static_cast<float>(run % 5) / 4.0f;
        line.setDelayNow(delay);
        std::vector<float> combMemory(length), allpassMemory(length), lineMemory(length + 1);
        float state = 0.0f, rampValue = 0.0f, rampTarget = 0.0f, increment = 0.0f, step = 0.0f;
        float target = delay;
        int32_t at = 0, write = 0, glideLeft = 0, rampLeft = 0;
        for (size_t n = 0; n < in.size(); ++n) {
            const float x = in[n];
            const float y = flushed(combMemory[at]);
            state = flushed(damping * state + (1.0f - damping) * y);
            combMemory[at] = state * gain + x;
            ASSERT_FLOAT_EQ(comb.process(x), y) << run << " comb " << n;
            const float b = flushed(allpassMemory[at]);
            allpassMemory[at] = b * gain + x;
            ASSERT_FLOAT_EQ(allpass.process(x), b - x) << run << " all-pass " << n;
            at = at + 1 == length ? 0 : at + 1;

            if (n % 150 == 0) {  // a new glide, and a new ramp, every 150 samples
                target = 1.0f + static_cast<float>(length) * std::fabs(in[n + 1]);
                glideLeft = static_cast<int32_t>(n % 7) + 1;
                step = (target - delay) / static_cast<float>(glideLeft);
                line.glideTo(target, glideLeft);
                rampLeft = glideLeft;
                rampTarget = in[n + 2];
                increment = (rampTarget - rampValue) / static_cast<float>(rampLeft);
                ramp.rampTo(rampTarget, rampLeft);
            }
            float p = static_cast<float>(write) - delay;
            if (p < 0.0f) p += static_cast<float>(length + 1);
            const int32_t i = static_cast<int32_t>(std::floor(p));
            const float f = p - static_cast<float>(i);
            const float read =
                (1.0f - f) * lineMemory[i % (length + 1)] + f * lineMemory[(i + 1) % (length + 1)];
            lineMemory[write] = flushed(x);
            write = (write + 1) % (length + 1);
            ASSERT_NEAR(line.process(x), flushed(read), 1e-6f) << run << " pre-delay " << n;
            if (glideLeft != 0) delay = --glideLeft == 0 ? target : delay + step;
            ASSERT_EQ(line.delaySamples(), delay) << run << " at " << n;
            if (rampLeft != 0) rampValue = --rampLeft == 0 ? rampTarget : rampValue + increment;
            ramp.advance();
            ASSERT_EQ(ramp.current(), rampValue) << run << " ramp " << n;
        }
        EXPECT_NE(comb.filterState(), 0.0f);
    }
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
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(clipper.process(inf), 16.0f);
    EXPECT_EQ(clipper.process(-inf), -16.0f);
    clipper.resetOverload();
    for (float x : {8.0f, -8.0f}) clipper.process(x);  // exactly at the threshold
    EXPECT_FALSE(clipper.overload());
    EXPECT_EQ(clipper.process(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    clipper.process(0.0f);
    EXPECT_TRUE(clipper.overload()) << "the flag stays until its reader clears it";
}

TEST(ReverbElements, SwitchFaderSettlesAfterItsTimeAndReversesFromWhereItIs) {
    for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
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
                if (k + 1 < calls) {
                    ASSERT_NEAR(out, -0.2 + 0.9 * position, 1e-4) << k;
                }
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
    SwitchFader fader;
    fader.setNow(true, 44100.0f);
    fader.configure(0.0f, 0.0f, false, 44100.0f);  // no time: one step
    EXPECT_EQ(fader.process(0.3f, 0.9f), 0.9f);
    EXPECT_TRUE(fader.settled());
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
