// The reverb's building blocks where the engine's two paths share them (so
// comparing the paths cannot see a fault): the gain ramps, the soft
// clipper's curve and threshold and the switch crossfade's settle time
// against their definitions, and the pre-delay's read point at the edge of
// its line.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dsp/GainRamp.h"
#include "dsp/PreDelayLine.h"
#include "dsp/SoftClipper.h"
#include "dsp/SwitchFader.h"

namespace ZEPHRA2F9C41D07 {
namespace {

TEST(ReverbElements, GainRampsLandExactlyAndRestartFromWhereTheyAre) {
    GainRamp ramp;
    ramp.rampTo(1.0f, 4);
    for (float value : {0.25f, 0.5f, 0.75f, 1.0f, 1.0f}) {
        ramp.advance();
        EXPECT_EQ(ramp.current(), value);
    }
    ramp.rampTo(0.1f, 3);  // 0.9 / 3 is not exact in binary: the last step lands all the same
    ramp.advance();
    ramp.rampTo(0.4f, 2);  // from 0.7: steps of -0.15
    ramp.advance();
    EXPECT_FLOAT_EQ(ramp.current(), 0.55f);
    ramp.advance();
    EXPECT_EQ(ramp.current(), 0.4f);
    ramp.rampTo(0.1f, 3);
    for (int n = 0; n < 3; ++n) ramp.advance();
    EXPECT_EQ(ramp.current(), 0.1f);
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
