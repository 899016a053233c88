// ReverbEngine: construction, delay memory per sample rate, prepare and clear.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "EngineDriver.h"

namespace ZEPHRA2F9C41D07 {
namespace {

// Left lengths at 44.1 kHz; the right ones are 23 longer.
const int32_t kCombBase[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
const int32_t kAllpassBase[4] = {556, 441, 341, 225};

TEST(ReverbEngine, DelayLengthsAreWholeMultiplesOfTheBaseTunings) {
    const struct {
        float rate;
        int32_t r;
    } cases[] = {{8000.0f, 1},  {44100.0f, 1}, {48000.0f, 1},  {66149.0f, 1},
                 {66150.0f, 2}, {96000.0f, 2}, {110250.0f, 3}, {192000.0f, 4}};
    ReverbEngine engine;
    for (const auto& c : cases) {
        engine.prepare(c.rate);
        EXPECT_EQ(engine.sampleRate(), c.rate);
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(engine.combLength(0, i), c.r * kCombBase[i]) << c.rate << " comb " << i;
            EXPECT_EQ(engine.combLength(1, i), c.r * (kCombBase[i] + 23))
                << c.rate << " comb " << i;
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(engine.allpassLength(0, i), c.r * kAllpassBase[i]) << c.rate;
            EXPECT_EQ(engine.allpassLength(1, i), c.r * (kAllpassBase[i] + 23)) << c.rate;
        }
        EXPECT_EQ(engine.preDelayLength(), c.r * 48000) << c.rate;
    }
    EXPECT_EQ(engine.combLength(2, 0), 0);
    EXPECT_EQ(engine.allpassLength(0, 4), 0);
}

TEST(ReverbEngine, ConstructedEngineIsPreparedFor48kHzWithTheEffectOut) {
    ReverbEngine engine;
    EXPECT_EQ(engine.sampleRate(), 48000.0f);
    EXPECT_TRUE(engine.hasDelayMemory());
    EXPECT_EQ(engine.combLength(0, 0), 1116);
    EXPECT_EQ(engine.current().mixPercent, 0.0f);
    EXPECT_FALSE(engine.effectPending());
    const Stereo in = stereoNoise(2000, 1);
    const Stereo out = render(engine, in);
    EXPECT_EQ(out.left, in.left);
    EXPECT_EQ(out.right, in.right);
}

TEST(ReverbEngine, CookedValuesMatchTheirFormulasAtEveryRate) {
    const float rt60s[] = {0.0f, 0.5f, 1.0f, 1.5f, 2.0f, 3.0f};
    const float feedbacks[] = {0.7000f, 0.8704f, 0.9179f, 0.9368f, 0.9468f, 0.9574f};
    const float rates[] = {44100.0f, 48000.0f, 96000.0f};
    const float dampings[] = {0.0f, 5.0f, 10.0f};
    const float coefficients[3][3] = {
        {0.2406f, 0.4568f, 0.8672f}, {0.2701f, 0.4868f, 0.8773f}, {0.5197f, 0.6977f, 0.9366f}};
    ReverbEngine engine;
    Settings s;
    for (int r = 0; r < 3; ++r) {
        for (int i = 0; i < 6; ++i) {
            s.rt60Seconds = rt60s[i];
            prepareWith(engine, s, rates[r]);
            EXPECT_NEAR(engine.combFeedback(), feedbacks[i], 5e-5f)
                << rates[r] << " RT60 " << rt60s[i];
        }
        for (int i = 0; i < 3; ++i) {
            s.damping = dampings[i];
            prepareWith(engine, s, rates[r]);
            EXPECT_NEAR(engine.dampingCoefficient(), coefficients[r][i], 5e-5f) << rates[r];
        }
    }
    const float mixes[] = {0.0f, 25.0f, 50.0f, 75.0f, 100.0f};
    const float wets[] = {0.000006f, 0.6667f, 1.2f, 1.6364f, 2.0f};
    const float drys[] = {2.0f, 1.8667f, 1.7143f, 1.5385f, 1.3333f};
    for (int i = 0; i < 5; ++i) {
        s.mixPercent = mixes[i];
        s.widthPercent = 20.0f * i;
        prepareWith(engine, s, 44100.0f);
        EXPECT_NEAR(engine.wetGain(), wets[i], 5e-5f) << mixes[i];
        EXPECT_NEAR(engine.dryGain(), drys[i], 5e-5f) << mixes[i];
        EXPECT_FLOAT_EQ(engine.widthFraction(), 0.2f * i);
    }
    EXPECT_GT(engine.wetGain(), 0.0f);
}

TEST(ReverbEngine, PreDelayIsOneSampleMoreThanItsTimeAndFitsTheLine) {
    const struct {
        float ms;
        float rate;
        float samples;
    } cases[] = {{0.0f, 48000.0f, 1.0f},
                 {250.0f, 48000.0f, 12001.0f},
                 {100.0f, 44100.0f, 4411.0f},
                 {250.0f, 96000.0f, 24001.0f},
                 {2000.0f, 44100.0f, 47999.0f}};
    ReverbEngine engine;
    Settings s;
    for (const auto& c : cases) {
        s.preDelayMs = c.ms;
        prepareWith(engine, s, c.rate);
        EXPECT_EQ(engine.preDelaySamples(), c.samples) << c.ms << " ms at " << c.rate;
    }
}

TEST(ReverbEngine, PrepareAppliesPendingValuesAtOnce) {
    ReverbEngine engine;
    Settings s;
    s.mixPercent = 100.0f;
    s.inTrimDb = 6.0f;
    s.outTrimDb = -3.0f;
    prepareWith(engine, s, 44100.0f);
    const ReverbEngine::Controls before = engine.current();
    EXPECT_EQ(before.mixPercent, 100.0f);
    EXPECT_EQ(before.inTrimDb, 6.0f);
    // The first frame already carries the full trims and dry gain (the wet
    // signal arrives a comb length later): no fade in, no ramp.
    const Stereo out = render(engine, impulse(64));
    const double expected =
        0.5 * std::pow(10.0, 6.0 / 20) * (4.0 / 3.0) * std::pow(10.0, -3.0 / 20);
    EXPECT_NEAR(out.left[0], expected, 1e-6);
    EXPECT_NEAR(out.right[0], expected, 1e-6);
    EXPECT_EQ(std::memcmp(&before, &engine.current(), sizeof before), 0);
}

TEST(ReverbEngine, PrepareAndClearDiscardTheTailButClearKeepsFilterStates) {
    ReverbEngine engine;
    Settings s;
    s.wetOnly = true;
    s.widthPercent = 100.0f;  // each side hears only its own combs
    prepareWith(engine, s, 48000.0f);
    render(engine, stereoNoise(10000, 2));
    engine.clear();
    // The combs' shortest loop is 1116 samples; until then only zeros come back.
    Stereo out = render(engine, silence(4000));
    EXPECT_EQ(firstNonZero(out.left), 1116u);
    EXPECT_EQ(firstNonZero(out.right), 1139u);
    EXPECT_FALSE(engine.takeOverload());

    render(engine, stereoNoise(10000, 3));
    engine.prepare(48000.0f);
    out = render(engine, silence(20000));
    EXPECT_EQ(peak(out.left), 0.0f);
    EXPECT_EQ(peak(out.right), 0.0f);
    EXPECT_FALSE(engine.takeOverload());
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
