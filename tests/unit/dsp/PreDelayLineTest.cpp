// PreDelayLine: read-before-write delay, fractional reads, glides and wrap-around.
#include "dsp/PreDelayLine.h"

#include <gtest/gtest.h>

#include <vector>

#include "TestSignals.h"

namespace ZEPHRA2F9C41D07 {
namespace {

void setUp(PreDelayLine& line, int32_t length) {
    ASSERT_TRUE(line.allocate(length));
    line.clearMemory();
}

TEST(PreDelayLine, WholeAndFractionalDelaysReadThePastAcrossWrapArounds) {
    const std::vector<float> in = noise(300, 11);
    for (float delay : {1.0f, 2.5f, 7.0f, 15.0f}) {
        PreDelayLine line;
        setUp(line, 16);
        line.setDelayNow(delay);
        const int whole = static_cast<int>(delay);
        const bool half = delay != static_cast<float>(whole);
        for (int n = 0; n < 300; ++n) {
            const auto past = [&](int k) { return n >= k ? in[n - k] : 0.0f; };
            const float expected = half ? 0.5f * past(whole) + 0.5f * past(whole + 1) : past(whole);
            ASSERT_NEAR(line.process(in[n]), expected, 1e-6f) << "delay " << delay << " at " << n;
        }
    }
}

TEST(PreDelayLine, GlideMovesLinearlyAndEndsExactlyOnTarget) {
    PreDelayLine line;
    setUp(line, 64);
    line.setDelayNow(3.0f);
    const float target = 10.1f;  // (10.1 - 3) / 4 is not exact in binary
    line.glideTo(target, 4);
    const float step = (target - 3.0f) / 4.0f;
    for (int n = 1; n <= 3; ++n) {
        line.process(0.0f);
        EXPECT_NEAR(line.delaySamples(), 3.0f + step * n, 1e-5f);
    }
    line.process(0.0f);
    EXPECT_EQ(line.delaySamples(), target);
    line.process(0.0f);
    EXPECT_EQ(line.delaySamples(), target);
    // A glide over no samples is a jump.
    line.glideTo(5.0f, 0);
    EXPECT_EQ(line.delaySamples(), 5.0f);
}

TEST(PreDelayLine, ReadPointAHairBehindTheWritePositionStaysInsideTheLine) {
    // Delay 5 + one ulp at write position 5: the read point is -4.8e-7, which
    // rounds to exactly the length after wrapping.
    PreDelayLine line;
    setUp(line, 16);
    line.setDelayNow(5.0f);
    for (int n = 0; n < 5; ++n) line.process(static_cast<float>(n + 1));
    line.setDelayNow(std::nextafter(5.0f, 6.0f));
    EXPECT_NEAR(line.process(0.0f), 1.0f, 1e-5f);
}

TEST(PreDelayLine, StoresTinyInputsAsZeroAndClearingKeepsTheDelay) {
    PreDelayLine line;
    setUp(line, 8);
    line.setDelayNow(1.0f);
    line.process(5e-33f);
    EXPECT_EQ(line.process(0.0f), 0.0f);
    line.setDelayNow(2.0f);
    line.process(1.0f);
    line.clearMemory();
    EXPECT_EQ(line.process(0.0f), 0.0f);
    EXPECT_EQ(line.delaySamples(), 2.0f);
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
