// ReverbEngine: what the signal path does to audio: the effect switch's
// crossfades, the mix and width laws, mute, the wet onset after the
// pre-delay, the tail's decay and its end in exact silence.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "EngineDriver.h"

namespace ZEPHRA2F9C41D07 {
namespace {

bool bitIdentical(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

TEST(ReverbEngine, SwitchingTheEffectInCrossfadesFromTheRawInput) {
    // Before the combs answer, the processed signal is the dry path: here the
    // input times the -6 dB output trim. The fader covers 3 / 960 of the
    // remaining way per frame.
    ReverbEngine engine;
    Settings s;
    s.mixPercent = 0.0f;
    s.outTrimDb = -6.0f;
    s.effect = false;
    prepareWith(engine, s, 48000.0f);
    engine.setEffectOn(1.0f);
    const Stereo in = stereoNoise(1000, 24);
    const Stereo out = render(engine, in);
    const double processed = std::pow(10.0, -6.0 / 20.0) * (1.0 - 1e-6) / (1.0 - 0.5e-6);
    for (size_t k = 0; k < 957; ++k) {
        const double position = 1.0 - std::pow(1.0 - 3.0 / 960.0, k + 1);
        ASSERT_NEAR(out.left[k], in.left[k] * ((1.0 - position) + position * processed), 2e-5) << k;
    }
    EXPECT_NEAR(out.left[957], in.left[957] * processed, 1e-6);
}

TEST(ReverbEngine, SwitchingTheEffectInStartsFromSilenceEvenMidFade) {
    for (int fadeFrames : {2000, 200}) {  // after the fade-out settled, and during it
        ReverbEngine engine;
        Settings s;
        s.rt60Seconds = 3.0f;
        s.mixPercent = 100.0f;
        prepareWith(engine, s, 48000.0f);
        render(engine, stereoNoise(20000, 7));
        engine.setEffectOn(0.0f);
        render(engine, silence(fadeFrames));
        engine.setEffectOn(1.0f);
        const Stereo out = render(engine, silence(3000));
        // Nothing until the shortest comb returns the old filter states.
        EXPECT_EQ(firstNonZero(out.left), 1116u) << fadeFrames;
        EXPECT_EQ(firstNonZero(out.right), 1116u) << fadeFrames;
    }
}

TEST(ReverbEngine, MixAndWidthFollowTheirGainLaws) {
    // Mix 100 %: wet gain 2 spread as (w/2 + 1/2, (1 - w)/2) over own and
    // other side; wet-only: 3 spread the same way. Dry: 4/3 after halving.
    // Mix 0: dry gain 2 - 1e-6 after halving, the wet signal 104 dB down.
    const Stereo in = stereoNoise(20000, 23);
    for (float width : {0.0f, 30.0f, 100.0f}) {
        Settings s;
        s.mixPercent = 100.0f;
        s.widthPercent = width;
        s.rt60Seconds = 3.0f;
        ReverbEngine mixed, wetOnly, dry;
        prepareWith(mixed, s, 48000.0f);
        s.mixPercent = 0.0f;
        prepareWith(dry, s, 48000.0f);
        s.wetOnly = true;
        prepareWith(wetOnly, s, 48000.0f);
        const Stereo a = render(mixed, in);
        const Stereo b = render(wetOnly, in);
        const Stereo c = render(dry, in);
        for (size_t n = 0; n < in.frames(); n += 7) {
            ASSERT_NEAR(a.left[n], (2.0f * in.left[n] + 2.0f * b.left[n]) / 3.0f, 1e-5f) << width;
            ASSERT_NEAR(a.right[n], (2.0f * in.right[n] + 2.0f * b.right[n]) / 3.0f, 1e-5f);
            ASSERT_NEAR(c.left[n], in.left[n], 1e-5f) << n;
        }
        // Width 0: the same mono sum on both sides, however different the sides in.
        EXPECT_EQ(bitIdentical(b.left, b.right), width == 0.0f) << width;
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
    ReverbEngine muted;
    ReverbEngine silent;
    prepareWith(muted, s, 48000.0f);
    prepareWith(silent, s, 48000.0f);
    render(muted, in);
    render(silent, early);
    muted.setMute(1.0f);
    const Stereo more = stereoNoise(6000, 11);
    EXPECT_TRUE(bitIdentical(render(muted, more).left, render(silent, silence(6000)).left));

    // Dry only (mix 0): the dry signal fades over 958 frames to nothing.
    s.wetOnly = false;
    s.mixPercent = 0.0f;
    ReverbEngine dry;
    prepareWith(dry, s, 48000.0f);
    const Stereo dc = constant(2000, 1.0f);
    dry.setMute(1.0f);
    const Stereo out = render(dry, dc);
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
        EXPECT_EQ(onset, delay + r * 1116u) << ms << " ms at " << rate;
        EXPECT_EQ(firstNonZero(out.right), delay + r * 1139u) << ms << " ms at " << rate;
        // Feed (0.5 + 0.5) x 0.015, through one comb and four sign-flipping
        // all-passes, times the wet-only gain 3.
        EXPECT_NEAR(out.left[onset], 3.0f * 0.015f, 1e-6f);
    }
}

// Slope, in dB per second, of a least-squares line through the level (RMS of
// 10 ms windows, in dB) between two times.
double decaySlopeDbPerSecond(const std::vector<float>& x, float rate, double from, double to) {
    const size_t window = static_cast<size_t>(rate / 100.0f);
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    int count = 0;
    for (size_t start = static_cast<size_t>(from * rate);
         start + window <= static_cast<size_t>(to * rate); start += window) {
        double energy = 0;
        for (size_t n = start; n < start + window; ++n) energy += double(x[n]) * x[n];
        const double t = start / double(rate);
        const double db = 10.0 * std::log10(energy / window);
        sx += t;
        sy += db;
        sxx += t * t;
        sxy += t * db;
        ++count;
    }
    return (count * sxy - sx * sy) / (count * sxx - sx * sx);
}

TEST(ReverbEngine, TailDecaysAtTheRateItsLongestCombsFeedbackImplies) {
    // Late in the tail the longest left comb (1617 samples, loop gain g) rings
    // longest: its low modes lose 20 log10(g) dB per loop.
    const float rate = 44100.0f;
    double lastT60 = 0.0;
    for (float rt60 : {0.5f, 1.0f, 2.0f, 3.0f}) {
        Settings s;
        s.wetOnly = true;
        s.widthPercent = 100.0f;
        s.rt60Seconds = rt60;
        ReverbEngine engine;
        prepareWith(engine, s, rate);
        const double g = std::pow(10.0, -(3.0 / (rt60 + 0.01)) * (1617.0 / 44100.0)) * 0.28 + 0.7;
        const double expectedSlope = 20.0 * std::log10(g) * rate / 1617.0;
        const double t60 = -60.0 / expectedSlope;
        const Stereo out = render(engine, impulse(static_cast<size_t>((3.0 * t60 + 0.5) * rate)));
        const double slope = decaySlopeDbPerSecond(out.left, rate, 1.5 * t60, 3.0 * t60);
        // Nothing can ring longer than the loop gain allows; the low-pass and the
        // next-longest comb (3.9 % faster) pull the broadband level a little steeper.
        EXPECT_GT(slope / expectedSlope, 0.99) << "RT60 " << rt60;
        EXPECT_LT(slope / expectedSlope, 1.06) << "RT60 " << rt60;
        EXPECT_GT(t60, lastT60);
        lastT60 = t60;
    }
}

TEST(ReverbEngine, SettledOutputDoesNotDependOnTheHostBlockSize) {
    Settings s;
    s.rt60Seconds = 2.0f;
    s.damping = 3.0f;
    s.mixPercent = 70.0f;
    s.widthPercent = 80.0f;
    s.preDelayMs = 37.3f;
    s.inTrimDb = 2.0f;
    s.outTrimDb = -1.5f;
    const Stereo in = stereoNoise(30000, 12);
    ReverbEngine reference;
    prepareWith(reference, s, 48000.0f);
    const Stereo expected = render(reference, in, 64);
    for (size_t block : {1, 7, 63, 65, 100, 512, 4096}) {
        ReverbEngine engine;
        prepareWith(engine, s, 48000.0f);
        // Storing the values in use again changes nothing either.
        if (block == 100) apply(engine, s);
        const Stereo out = render(engine, in, block);
        EXPECT_TRUE(bitIdentical(out.left, expected.left)) << block;
        EXPECT_TRUE(bitIdentical(out.right, expected.right)) << block;
    }
}

TEST(ReverbEngine, TailSinksToExactSilenceWithoutPassingThroughDenormals) {
    Settings s;
    s.rt60Seconds = 0.5f;
    s.damping = 10.0f;
    s.mixPercent = 100.0f;
    ReverbEngine engine;
    prepareWith(engine, s, 48000.0f);
    render(engine, stereoNoise(48000, 13));
    const Stereo out = render(engine, silence(48000 * 30));
    for (const std::vector<float>* side : {&out.left, &out.right}) {
        for (size_t n = 0; n < side->size(); ++n) {
            const int kind = std::fpclassify((*side)[n]);
            ASSERT_TRUE(kind == FP_ZERO || kind == FP_NORMAL) << n;
        }
        EXPECT_EQ(peak(*side, side->size() - 48000), 0.0f);
    }
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
