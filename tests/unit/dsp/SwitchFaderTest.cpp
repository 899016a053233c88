// SwitchFader: settle times, exact end points, reversals.
#include "dsp/SwitchFader.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ZEPHRA2F9C41D07 {
namespace {

// Calls until the distance (1 - 3 / (T fs))^k drops inside the 0.05 band.
int expectedSettleCalls(double fadeSeconds, double sampleRate) {
    const double k = std::log(0.05) / std::log(1.0 - 3.0 / (fadeSeconds * sampleRate));
    return static_cast<int>(std::ceil(k));
}

int callsUntilSettled(SwitchFader& fader, float on, float off) {
    int calls = 0;
    while (!fader.settled() && calls < 100000) {
        fader.process(on, off);
        ++calls;
    }
    return calls;
}

TEST(SwitchFader, TwentyMillisecondMovesSettleAfterTwentyMilliseconds) {
    EXPECT_EQ(expectedSettleCalls(0.02, 48000.0), 958);
    const struct {
        float rate;
        int calls;
    } cases[] = {{44100.0f, 880}, {48000.0f, 958}, {96000.0f, 1916}};
    for (const auto& c : cases) {
        SwitchFader fader;
        fader.setNow(false, c.rate);
        fader.configure(20.0f, 20.0f, true, c.rate);
        EXPECT_EQ(callsUntilSettled(fader, 0.7f, -0.2f), c.calls) << c.rate;
        EXPECT_EQ(fader.process(0.7f, -0.2f), 0.7f);
        fader.configure(20.0f, 20.0f, false, c.rate);
        EXPECT_EQ(callsUntilSettled(fader, 0.7f, -0.2f), c.calls) << c.rate;
        EXPECT_EQ(fader.process(0.7f, -0.2f), -0.2f);
    }
}

TEST(SwitchFader, CrossfadesSmoothlyAndReversesFromWhereItIs) {
    SwitchFader fader;
    fader.setNow(false, 48000.0f);
    EXPECT_TRUE(fader.settled());
    fader.configure(20.0f, 20.0f, true, 48000.0f);
    for (int n = 0; n < 100; ++n) fader.process(1.0f, 0.0f);
    const float reached = fader.position();
    EXPECT_NEAR(reached, 1.0 - std::pow(1.0 - 3.0 / 960.0, 100), 1e-5);
    fader.configure(20.0f, 20.0f, false, 48000.0f);
    fader.process(1.0f, 0.0f);
    EXPECT_LT(fader.position(), reached);
    EXPECT_GT(fader.position(), reached * 0.99f);
}

TEST(SwitchFader, SetNowJumpsAndZeroTimeMovesInOneStep) {
    SwitchFader fader;
    fader.setNow(true, 44100.0f);
    EXPECT_EQ(fader.position(), 1.0f);
    EXPECT_TRUE(fader.settled());
    EXPECT_EQ(fader.process(0.3f, 0.9f), 0.3f);
    fader.configure(0.0f, 0.0f, false, 44100.0f);
    EXPECT_EQ(fader.process(0.3f, 0.9f), 0.9f);
    EXPECT_TRUE(fader.settled());
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
