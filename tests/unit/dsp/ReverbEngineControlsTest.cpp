// ReverbEngine: smoothing of the controls, ramps within a sub-block, switches.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "EngineDriver.h"

namespace ZEPHRA2F9C41D07 {
namespace {

using Field = float ReverbEngine::Controls::*;

int updatesUntilSettled(ReverbEngine& engine, Field field, float pending) {
    int calls = 0;
    while (engine.current().*field != pending && calls < 1000) {
        engine.updateControls(64);
        ++calls;
    }
    return calls;
}

TEST(ReverbEngine, SmoothingTakesATenthOfTheWayPerUpdateUntilTheStepIsTiny) {
    // From the edge of each range to the other edge (and one small mix step).
    const struct {
        Field field;
        std::function<void(ReverbEngine&, float)> set;
        float from, to;
        int calls;
    } cases[] = {
        {&ReverbEngine::Controls::rt60Seconds, &ReverbEngine::setRT60, 0.0f, 3.0f, 56},
        {&ReverbEngine::Controls::damping, &ReverbEngine::setDamping, 0.0f, 10.0f, 67},
        {&ReverbEngine::Controls::inTrimDb, &ReverbEngine::setInTrim, -6.0f, 6.0f, 69},
        {&ReverbEngine::Controls::outTrimDb, &ReverbEngine::setOutTrim, -6.0f, 6.0f, 69},
        {&ReverbEngine::Controls::mixPercent, &ReverbEngine::setMix, 0.0f, 100.0f, 89},
        {&ReverbEngine::Controls::preDelayMs, &ReverbEngine::setPreDelay, 0.0f, 250.0f, 98},
        {&ReverbEngine::Controls::mixPercent, &ReverbEngine::setMix, 50.0f, 51.0f, 45},
    };
    for (const auto& c : cases) {
        ReverbEngine engine;
        c.set(engine, c.from);
        engine.prepare(44100.0f);
        c.set(engine, c.to);
        EXPECT_EQ(updatesUntilSettled(engine, c.field, c.to), c.calls) << c.from << " to " << c.to;
    }
}

TEST(ReverbEngine, StoringTheCurrentValueStopsASmoothingWhereItIs) {
    ReverbEngine engine;
    engine.setRT60(3.0f);
    for (int n = 0; n < 5; ++n) engine.updateControls(64);
    const float reached = engine.current().rt60Seconds;
    const float feedback = engine.combFeedback();
    EXPECT_GT(reached, 0.0f);
    EXPECT_LT(reached, 3.0f);
    engine.setRT60(reached);
    for (int n = 0; n < 5; ++n) engine.updateControls(64);
    EXPECT_EQ(engine.current().rt60Seconds, reached);
    EXPECT_EQ(engine.combFeedback(), feedback);
}

TEST(ReverbEngine, GainsRampLinearlyAcrossTheSubBlockTrimsOneFrameBehindTheMix) {
    // Before the first comb answers (1116 samples) the output is the dry path
    // alone: 0.5 x input trim x dry gain x output trim.
    const auto dc = [](size_t frames) {
        return Stereo{std::vector<float>(frames, 1.0f), std::vector<float>(frames, 1.0f)};
    };
    const auto dryGain = [](double mix) {
        const double m = mix == 0.0 ? 1e-6 : mix * 0.005;
        return 4.0 * (1.0 - m) / (2.0 - m);
    };
    const double to = std::pow(10.0, 0.6 / 20.0);  // first smoothing step of 6 dB
    Settings s;
    s.mixPercent = 0.0f;
    // Tolerance: the float ramp accumulates rounding; one frame off would be 5e-4.
    for (auto set : {&ReverbEngine::setInTrim, &ReverbEngine::setOutTrim}) {
        ReverbEngine trim;
        prepareWith(trim, s, 48000.0f);
        render(trim, dc(64));
        (trim.*set)(6.0f);
        const Stereo out = render(trim, dc(64));
        for (int k = 0; k < 64; ++k) {  // read before the ramp advances
            EXPECT_NEAR(out.left[k], 0.5 * dryGain(0) * (1.0 + (to - 1.0) * k / 64.0), 5e-6) << k;
        }
        EXPECT_NEAR(render(trim, dc(1)).left[0], 0.5 * dryGain(0) * to, 1e-6);
    }

    ReverbEngine mix;
    prepareWith(mix, s, 48000.0f);
    mix.setMix(10.0f);  // first step: 1 %, ramped over a sub-block of 32
    const Stereo out = render(mix, dc(32), 32);
    for (int k = 0; k < 32; ++k) {  // read after the ramp advances
        const double gain = dryGain(0) + (dryGain(1) - dryGain(0)) * (k + 1) / 32.0;
        EXPECT_NEAR(out.right[k], 0.5 * gain, 5e-6) << k;
    }
}

TEST(ReverbEngine, PreDelayGlidesToEachSmoothedStepWithinOneSubBlock) {
    ReverbEngine engine;
    Settings s;
    prepareWith(engine, s, 48000.0f);
    engine.setPreDelay(100.0f);  // first step: 10 ms, 481 samples
    engine.updateControls(37);
    float l, r;
    for (int n = 0; n < 10; ++n) engine.processSample(0.0f, 0.0f, l, r);
    EXPECT_NEAR(engine.preDelaySamples(), 1.0f + 480.0f * 10.0f / 37.0f, 1e-3f);
    for (int n = 10; n < 37; ++n) engine.processSample(0.0f, 0.0f, l, r);
    EXPECT_EQ(engine.preDelaySamples(), 481.0f);
    render(engine, silence(20), 20);  // 19 ms
    EXPECT_EQ(engine.preDelaySamples(), static_cast<float>(0.019f * 48000.0 + 1.0));
}

TEST(ReverbEngine, SwitchesAreOnAboveOneHalfAndADoubleToggleChangesNothing) {
    ReverbEngine engine;
    for (float v : {0.5f, 0.0f, -1.0f, std::nanf("")}) {
        engine.setEffectOn(v);
        engine.setMute(v);
        engine.setWetOnly(v);
        EXPECT_FALSE(engine.effectPending() || engine.mutePending() || engine.wetOnlyPending())
            << v;
    }
    engine.setEffectOn(0.5000001f);
    engine.setMute(1.0f);
    engine.setWetOnly(7.0f);
    EXPECT_TRUE(engine.effectPending() && engine.mutePending() && engine.wetOnlyPending());

    ReverbEngine toggled;
    ReverbEngine steady;
    Settings s;
    prepareWith(toggled, s, 48000.0f);
    prepareWith(steady, s, 48000.0f);
    const Stereo in = stereoNoise(3000, 4);
    render(toggled, in);
    render(steady, in);
    for (auto set :
         {&ReverbEngine::setEffectOn, &ReverbEngine::setMute, &ReverbEngine::setWetOnly}) {
        const float was = set == &ReverbEngine::setEffectOn ? 1.0f : 0.0f;
        (toggled.*set)(1.0f - was);
        (toggled.*set)(was);
    }
    const Stereo a = render(toggled, in);
    const Stereo b = render(steady, in);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.right, b.right);
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
