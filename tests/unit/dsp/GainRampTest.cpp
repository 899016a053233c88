// GainRamp: linear ramps that land exactly and restart from where they are.
#include "dsp/GainRamp.h"

#include <gtest/gtest.h>

namespace ZEPHRA2F9C41D07 {
namespace {

TEST(GainRamp, RampsInEqualStepsAndLandsExactly) {
    GainRamp ramp;
    ramp.rampTo(1.0f, 4);
    const float expected[] = {0.25f, 0.5f, 0.75f, 1.0f, 1.0f};
    for (float value : expected) {
        ramp.advance();
        EXPECT_EQ(ramp.current(), value);
    }
    EXPECT_FALSE(ramp.ramping());

    // 0.1 / 3 is not exact in binary; the last step still lands on the target.
    ramp.setNow(0.0f);
    ramp.rampTo(0.1f, 3);
    for (int n = 0; n < 3; ++n) ramp.advance();
    EXPECT_EQ(ramp.current(), 0.1f);
}

TEST(GainRamp, NewRampStartsWhereTheOldOneGotTo) {
    GainRamp ramp;
    ramp.setNow(2.0f);
    ramp.rampTo(0.0f, 4);
    ramp.advance();
    ramp.rampTo(3.0f, 3);  // from 1.5: steps of 0.5
    ramp.advance();
    EXPECT_EQ(ramp.current(), 2.0f);
    ramp.setNow(-1.0f);
    ramp.advance();
    EXPECT_EQ(ramp.current(), -1.0f);
    EXPECT_EQ(ramp.target(), -1.0f);
    ramp.rampTo(4.0f, 0);  // no samples to ramp over: a jump
    EXPECT_EQ(ramp.current(), 4.0f);
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
