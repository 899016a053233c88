// SoftClipper: the curve's values and the overload threshold.
#include "dsp/SoftClipper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ZEPHRA2F9C41D07 {
namespace {

// The curve in double: 24 * (u - u^3 / 3) with u = x / 24, flat beyond +-24.
double curve(double x) {
    const double u = std::fmax(-1.0, std::fmin(1.0, x / 24.0));
    return 24.0 * (u - u * u * u / 3.0);
}

TEST(SoftClipper, FollowsTheCubicAndFlattensAtSixteen) {
    SoftClipper clipper;
    for (float x : {0.0f, 0.01f, -0.5f, 1.0f, 8.0f, -8.0f, 12.5f, 23.9f, -20.0f}) {
        EXPECT_NEAR(clipper.process(x), curve(x), 1e-5) << x;
    }
    EXPECT_NEAR(clipper.process(8.0f), 7.7037f, 1e-4f);
    EXPECT_NEAR(clipper.process(1.0f), 1.0f - 1.0f / 1728.0f, 1e-6f);
    const float inf = std::numeric_limits<float>::infinity();
    for (float x : {24.0f, 24.5f, 1e6f, inf}) EXPECT_EQ(clipper.process(x), 16.0f) << x;
    for (float x : {-24.0f, -100.0f, -inf}) EXPECT_EQ(clipper.process(x), -16.0f) << x;
}

TEST(SoftClipper, ReportsOverloadOnlyBeyondEight) {
    SoftClipper clipper;
    for (float x : {8.0f, -8.0f, 7.99f, 0.0f}) clipper.process(x);
    EXPECT_FALSE(clipper.overload());
    for (float x : {8.001f, -8.001f}) {
        clipper.process(x);
        EXPECT_TRUE(clipper.overload()) << x;
        clipper.resetOverload();
        EXPECT_FALSE(clipper.overload());
    }
    clipper.process(16.0f);
    clipper.process(0.0f);
    EXPECT_TRUE(clipper.overload()) << "the flag stays until its reader clears it";
}

TEST(SoftClipper, TurnsNaNIntoSilenceAndReportsIt) {
    SoftClipper clipper;
    EXPECT_EQ(clipper.process(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_TRUE(clipper.overload());
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
