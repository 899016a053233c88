// What ReverbEngine does to audio: mix and width laws, mute, the wet onset
// and the tail's end in exact silence.
#include <gtest/gtest.h>

#include <cmath>

#include "EngineDriver.h"

namespace ZEPHRA2F9C41D07 {
namespace {

TEST(ReverbEngine, MixAndWidthFollowTheirGainLaws) {
    // Mix 100 %: wet gain 2, dry 4/3 after halving; wet-only: wet gain 3.
    const Stereo in = stereoNoise(20000, 23);
    for (float width : {0.0f, 30.0f, 100.0f}) {
        Settings s;
        s.mixPercent = 100.0f;
        s.widthPercent = width;
        s.rt60Seconds = 3.0f;
        ReverbEngine mixed, wetOnly;
        prepareWith(mixed, s, 48000.0f);
        s.wetOnly = true;
        prepareWith(wetOnly, s, 48000.0f);
        const Stereo a = render(mixed, in), b = render(wetOnly, in);
        for (size_t n = 0; n < in.frames(); n += 7) {
            ASSERT_NEAR(a.left[n], (2.0f * in.left[n] + 2.0f * b.left[n]) / 3.0f, 1e-5f) << width;
            ASSERT_NEAR(a.right[n], (2.0f * in.right[n] + 2.0f * b.right[n]) / 3.0f, 1e-5f);
        }
        EXPECT_EQ(b.left == b.right, width == 0.0f) << width;  // mono at width 0
    }
}

TEST(ReverbEngine, MuteCutsTheFeedInTheFrameItActsAndFadesTheDryPath) {
    // Wet only: muted at frame 2048 is the same as an input that went silent a
    // frame earlier (the shortest pre-delay reads the previous feed sample).
    Settings s;
    s.wetOnly = true;
    const Stereo in = stereoNoise(2048, 10);
    Stereo early = in;
    early.left.back() = early.right.back() = 0.0f;
    ReverbEngine muted, silent;
    prepareWith(muted, s, 48000.0f);
    prepareWith(silent, s, 48000.0f);
    render(muted, in);
    render(silent, early);
    muted.setMute(1.0f);
    EXPECT_EQ(render(muted, stereoNoise(6000, 11)).left, render(silent, silence(6000)).left);

    // Dry only (mix 0): the dry signal fades over 958 frames to nothing.
    s.wetOnly = false;
    s.mixPercent = 0.0f;
    ReverbEngine dry;
    prepareWith(dry, s, 48000.0f);
    dry.setMute(1.0f);
    const Stereo out = render(dry, constant(2000, 1.0f));
    EXPECT_GT(out.left[0], 0.99f);
    EXPECT_GT(out.left[956], 0.05f);
    EXPECT_LT(out.left[957], 0.05f);
    EXPECT_LT(peak(out.left, 958), 1e-4f);  // only the wet signal, 104 dB down
}

TEST(ReverbEngine, WetOnsetComesPreDelayPlusShortestCombAfterTheInput) {
    const std::pair<float, float> cases[] = {
        {0.0f, 48000.0f}, {100.0f, 48000.0f}, {100.0f, 96000.0f}, {250.0f, 44100.0f}};
    for (const auto& [ms, rate] : cases) {
        const auto delay = static_cast<size_t>(double(ms / 1000.0f) * rate + 1.0);
        const size_t r = rate > 66150.0f ? 2 : 1;
        Settings s;
        s.wetOnly = true;
        s.widthPercent = 100.0f;
        s.preDelayMs = ms;
        ReverbEngine engine;
        prepareWith(engine, s, rate);
        const Stereo out = render(engine, impulse(delay + 3000));
        const size_t onset = firstNonZero(out.left);
        EXPECT_EQ(std::make_pair(onset, firstNonZero(out.right)),
                  std::make_pair(delay + r * 1116u, delay + r * 1139u))
            << ms << " ms at " << rate;
        // Feed (0.5 + 0.5) x 0.015, through one comb and four sign-flipping
        // all-passes, times the wet-only gain 3.
        EXPECT_NEAR(out.left[onset], 3.0f * 0.015f, 1e-6f);
    }
}

TEST(ReverbEngine, TailSinksToExactSilenceWithoutPassingThroughDenormals) {
    Settings s;
    s.rt60Seconds = 0.5f;
    s.damping = 10.0f;
    ReverbEngine engine;
    prepareWith(engine, s, 48000.0f);
    render(engine, stereoNoise(48000, 13));
    const Stereo out = render(engine, silence(48000 * 30));
    for (size_t n = 0; n < out.frames(); ++n)
        ASSERT_FALSE(std::fpclassify(out.left[n]) == FP_SUBNORMAL ||
                     std::fpclassify(out.right[n]) == FP_SUBNORMAL)
            << n;
    EXPECT_EQ(peak(out.left, out.frames() - 48000) + peak(out.right, out.frames() - 48000), 0.0f);
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
