// CombFilter: loop delay, loop gain, the damping low-pass and the flush rule.
#include "dsp/CombFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestSignals.h"

namespace ZEPHRA2F9C41D07 {
namespace {

void setUp(CombFilter& comb, int32_t length, float feedback, float damping) {
    ASSERT_TRUE(comb.allocate(length));
    comb.clearMemory();
    comb.setFeedback(feedback);
    comb.setDampingCoefficient(damping);
}

TEST(CombFilter, WithoutFeedbackIsAPureDelayOfItsLengthWhateverTheDamping) {
    const std::vector<float> in = noise(200, 7);
    for (float damping : {0.0f, 0.5f, 0.99f}) {
        CombFilter comb;
        setUp(comb, 37, 0.0f, damping);
        for (size_t n = 0; n < in.size(); ++n) {
            const float expected = n < 37 ? 0.0f : in[n - 37];
            ASSERT_EQ(comb.process(in[n]), expected) << "damping " << damping << " sample " << n;
        }
    }
}

TEST(CombFilter, ImpulseRecirculatesWithTheLoopGainAndSettlesAtTheDcGain) {
    // Undamped: the impulse returns every loop, scaled by the feedback each time.
    CombFilter comb;
    setUp(comb, 10, 0.8f, 0.0f);
    for (int n = 0; n < 60; ++n) {
        const float y = comb.process(n == 0 ? 1.0f : 0.0f);
        const float expected = (n >= 10 && n % 10 == 0) ? std::pow(0.8f, n / 10 - 1) : 0.0f;
        ASSERT_NEAR(y, expected, 1e-6f) << n;
    }
    // The low-pass has unity gain at DC, so a constant input settles at 1 / (1 - g).
    CombFilter damped;
    setUp(damped, 10, 0.5f, 0.5f);
    float y = 0.0f;
    for (int n = 0; n < 2000; ++n) y = damped.process(1.0f);
    EXPECT_NEAR(y, 2.0f, 1e-5f);
}

TEST(CombFilter, FlushesTinyValuesButLetsSmallNormalOnesThrough) {
    CombFilter comb;
    setUp(comb, 4, 0.0f, 0.0f);
    const float in[] = {1e-33f, 1e-31f, -2e-33f, -3e-31f};
    for (float x : in) comb.process(x);
    EXPECT_EQ(comb.process(0.0f), 0.0f);
    EXPECT_EQ(comb.process(0.0f), 1e-31f);
    EXPECT_EQ(comb.process(0.0f), 0.0f);
    EXPECT_EQ(comb.process(0.0f), -3e-31f);
}

TEST(CombFilter, DecayingLoopReachesExactZeroWithoutDenormalState) {
    CombFilter comb;
    setUp(comb, 50, 0.95f, 0.9f);
    comb.process(1.0f);
    for (int n = 0; n < 200000; ++n) {
        const float y = comb.process(0.0f);
        const int stateKind = std::fpclassify(comb.filterState());
        ASSERT_TRUE(stateKind == FP_ZERO || stateKind == FP_NORMAL) << n;
        ASSERT_NE(std::fpclassify(y), FP_SUBNORMAL) << n;
    }
    EXPECT_EQ(comb.filterState(), 0.0f);
}

TEST(CombFilter, ClearingKeepsTheFilterStateWhichRingsOnFaintly) {
    CombFilter comb;
    setUp(comb, 16, 0.9f, 0.3f);
    for (float x : noise(100, 3)) comb.process(x);
    comb.clearMemory();
    for (int n = 0; n < 16; ++n) ASSERT_EQ(comb.process(0.0f), 0.0f) << n;
    // The old filter state was written back into the zeroed loop.
    EXPECT_NE(comb.process(0.0f), 0.0f);
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
