// ReverbEngine's sub-block path against its per-frame path. The vector loops
// compute the same operations in the same order, apart from reciprocals in
// the soft clippers and, on AVX2 and AVX-512, fused multiply-adds: they must
// stay within one part in a million of the render's peak, and copy the input
// exactly wherever the per-frame path copies it. Every test runs once per
// vector path; a path the processor cannot run, by the compiler's own
// reading of the processor, is reported as skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "EngineDriver.h"
#include "tests/unit/support/RealtimeGuard.h"

namespace ZEPHRA2F9C41D07 {
namespace {

using Path = ReverbEngine::BlockPath;

float uniform(uint32_t& state, float lo, float hi) {
    return lo + (hi - lo) * static_cast<float>(nextRandom(state) >> 8) / 16777216.0f;
}

bool sameSample(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

// How far the block path may stray: 1e-6 of the render's peak.
float tolerance(float peakLevel) { return 1e-6f * peakLevel; }

bool closeSample(float a, float b, float allowed) {
    // Infinities must match exactly (their difference is not a number).
    return sameSample(a, b) || std::fabs(a - b) <= allowed;
}

// The largest finite magnitude: a render with infinities still has a scale.
float finitePeak(const std::vector<float>& x) {
    float p = 0.0f;
    for (float v : x)
        if (std::isfinite(v)) p = std::max(p, std::fabs(v));
    return p;
}

bool subnormal(float x) { return std::fpclassify(x) == FP_SUBNORMAL; }

// One engine on each path, driven in step: the same setter calls, the same
// host blocks cut into the same sub-blocks, the same input.
class TwoPaths {
public:
    TwoPaths(Path path, const Settings& s, float sampleRate) {
        block_.selectBlockPath(path);
        prepareWith(reference_, s, sampleRate);
        prepareWith(block_, s, sampleRate);
    }

    template <class Change>
    void change(Change c) {
        c(reference_);
        c(block_);
    }

    // in[from, from + frames) as one host block; inPlace: on the output buffers.
    void hostBlock(const Stereo& in, size_t from, size_t frames, bool inPlace) {
        frames = std::min(frames, in.frames() - from);
        if (refOut_.frames() < in.frames()) {
            refOut_ = silence(in.frames());
            blockOut_ = silence(in.frames());
        }
        for (size_t sub = from; sub < from + frames; sub += ReverbEngine::kMaxSubBlock) {
            const size_t n = std::min<size_t>(ReverbEngine::kMaxSubBlock, from + frames - sub);
            reference_.updateControls(static_cast<int32_t>(n));
            for (size_t k = sub; k < sub + n; ++k) {
                reference_.processSample(in.left[k], in.right[k], refOut_.left[k],
                                         refOut_.right[k]);
            }
            block_.updateControls(static_cast<int32_t>(n));
            float* outL = &blockOut_.left[sub];
            float* outR = &blockOut_.right[sub];
            if (inPlace) {
                std::memcpy(outL, &in.left[sub], n * sizeof(float));
                std::memcpy(outR, &in.right[sub], n * sizeof(float));
            }
            block_.processBlock(inPlace ? outL : &in.left[sub], inPlace ? outR : &in.right[sub],
                                outL, outR, static_cast<int32_t>(n));
        }
        const bool refOverload = reference_.takeOverload();
        const bool blockOverload = block_.takeOverload();
        if (refOverload != blockOverload && overloadMismatch_ == SIZE_MAX) overloadMismatch_ = from;
        overloads_ += refOverload ? 1 : 0;
    }

    // Relative to the render's peak, or to a level given where hostile
    // samples make that peak meaningless.
    float allowed() const {
        const float level =
            level_ > 0.0f ? level_ : std::max(finitePeak(refOut_.left), finitePeak(refOut_.right));
        return tolerance(level);
    }
    void measureAgainst(float level) { level_ = level; }

    size_t firstDifference() const {
        const float limit = allowed();
        for (size_t n = 0; n < refOut_.frames(); ++n)
            if (!closeSample(refOut_.left[n], blockOut_.left[n], limit) ||
                !closeSample(refOut_.right[n], blockOut_.right[n], limit))
                return n;
        return SIZE_MAX;
    }

    // A subnormal the per-frame path did not copy from the input.
    size_t firstSubnormal() const {
        const auto made = [](float out, float ref) {
            return subnormal(out) && !sameSample(out, ref);
        };
        for (size_t n = 0; n < blockOut_.frames(); ++n)
            if (made(blockOut_.left[n], refOut_.left[n]) ||
                made(blockOut_.right[n], refOut_.right[n]))
                return n;
        return SIZE_MAX;
    }

    const Stereo& reference() const { return refOut_; }
    const Stereo& blockOutput() const { return blockOut_; }
    size_t overloadMismatch() const { return overloadMismatch_; }
    int overloads() const { return overloads_; }

private:
    float level_ = 0.0f;
    ReverbEngine reference_;
    ReverbEngine block_;
    Stereo refOut_;
    Stereo blockOut_;
    size_t overloadMismatch_ = SIZE_MAX;
    int overloads_ = 0;
};

// Bursts of noise and single clicks with silent gaps between them, so tails
// ring out and new sound meets old tails.
Stereo programme(size_t frames, uint32_t seed) {
    Stereo in = stereoNoise(frames, seed, 0.8f);
    for (size_t n = 0; n < frames; ++n) {
        const size_t phase = n % 24000;
        if (phase > 9000) in.left[n] = in.right[n] = 0.0f;
        if (phase == 15000) in.left[n] = 1.0f;
    }
    return in;
}

void expectSame(const TwoPaths& run) {
    const size_t at = run.firstDifference();
    ASSERT_EQ(at, SIZE_MAX) << "first difference beyond " << run.allowed() << " at frame " << at
                            << ": " << run.reference().left[at] << " / "
                            << run.blockOutput().left[at] << ", " << run.reference().right[at]
                            << " / " << run.blockOutput().right[at];
    EXPECT_EQ(run.overloadMismatch(), SIZE_MAX)
        << "overload reports differ at frame " << run.overloadMismatch();
    EXPECT_EQ(run.firstSubnormal(), SIZE_MAX) << "subnormal output sample";
}

// What the processor and its operating system offer, asked independently of
// the engine's own probe.
bool processorRuns(Path path) {
    __builtin_cpu_init();
    const bool avx2 = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    if (path == Path::kAvx2) return avx2;
    if (path == Path::kAvx512)
        return avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
               __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
    return true;
}

class ReverbEngineBlockPath : public ::testing::TestWithParam<Path> {
protected:
    void SetUp() override {
        // A path the processor offers must run: a wrong probe fails, never skips.
        ASSERT_EQ(ReverbEngine::blockPathAvailable(GetParam()), processorRuns(GetParam()));
        if (!processorRuns(GetParam())) GTEST_SKIP() << "this processor cannot run the path";
    }
};

TEST_P(ReverbEngineBlockPath, MatchesProcessSampleThroughAutomationProgramsAndSwitches) {
    // Four seconds at 48 kHz. Each host block (sizes from 1 to 700 frames,
    // half of them processed in place) may bring a new value for any control:
    // slow sweeps, program changes that set all of them at once, and the
    // three switches, effect in and out in mid-fade among them. The pre-delay
    // visits 0 ms and glides through the first two samples, and lengths near
    // the line's end (10 s is limited to the longest delay).
    const size_t frames = 192000;
    const Stereo in = programme(frames, 11);
    Settings s;
    s.rt60Seconds = 2.0f;
    s.mixPercent = 30.0f;
    s.preDelayMs = 20.0f;
    TwoPaths run(GetParam(), s, 48000.0f);
    uint32_t random = 99;
    const size_t blockSizes[] = {64, 1, 7, 100, 333, 512, 37, 64, 128, 700, 63, 65};
    size_t block = 0;
    for (size_t from = 0; from < frames; ++block) {
        const size_t n = std::min(blockSizes[block % 12], frames - from);
        const uint32_t event = nextRandom(random) % 16;
        const float value = uniform(random, 0.0f, 1.0f);
        run.change([&](ReverbEngine& e) {
            switch (event) {
                case 0: e.setRT60(3.0f * value); break;
                case 1: e.setDamping(10.0f * value); break;
                case 2: e.setMix(100.0f * value); break;
                case 3: e.setWidth(100.0f * value); break;
                case 4:
                    e.setPreDelay(value < 0.3f ? 0.0f : (value > 0.9f ? 10000.0f : 250.0f * value));
                    break;
                case 5: e.setInTrim(12.0f * value - 6.0f); break;
                case 6: e.setOutTrim(12.0f * value - 6.0f); break;
                case 7: e.setMute(value); break;
                case 8: e.setWetOnly(value); break;
                case 9: e.setEffectOn(value < 0.15f ? 0.0f : 1.0f); break;
                case 10:  // a program change: everything at once
                    e.setRT60(3.0f * value);
                    e.setDamping(10.0f - 10.0f * value);
                    e.setMix(100.0f * value);
                    e.setWidth(50.0f);
                    e.setPreDelay(value * 0.01f);  // glides within the first samples
                    e.setInTrim(-6.0f * value);
                    e.setOutTrim(6.0f * value);
                    e.setWetOnly(value > 0.5f ? 1.0f : 0.0f);
                    break;
                default: break;
            }
        });
        run.hostBlock(in, from, n, block % 2 == 1);
        from += n;
    }
    expectSame(run);
    // The run must have reached the states it is meant to compare.
    EXPECT_GT(peak(run.reference().left), 0.5f);
}

TEST_P(ReverbEngineBlockPath, MatchesProcessSampleAtEveryRateMultiple) {
    // Lines of 1 to 4 times the 44.1 kHz lengths, and odd sub-block lengths
    // that leave part of a vector at the end of each sub-block.
    const float rates[] = {22050.0f, 44100.0f, 96000.0f, 192000.0f};
    const Stereo in = programme(30000, 5);
    for (float rate : rates) {
        Settings s;
        s.rt60Seconds = 3.0f;
        s.damping = 2.0f;
        s.preDelayMs = 7.0f;
        s.widthPercent = 80.0f;
        TwoPaths run(GetParam(), s, rate);
        for (size_t from = 0; from < in.frames(); from += 91) {
            run.hostBlock(in, from, 91, false);
        }
        SCOPED_TRACE(rate);
        expectSame(run);
    }
}

TEST_P(ReverbEngineBlockPath, PreDelayReadsAcrossTheEndOfItsLine) {
    // 20.97 ms at 48 kHz is 1007.56 samples: with sub-blocks of 64 from the
    // line's start, each read vector begins 1008 samples before a multiple
    // of 8, so one ends on the line's last sample as the read point passes
    // the end, and its right-hand neighbours are the line's first samples.
    const Stereo in = stereoNoise(100000, 31);
    Settings s;
    s.preDelayMs = 20.97f;
    s.mixPercent = 100.0f;
    s.wetOnly = true;
    TwoPaths run(GetParam(), s, 48000.0f);
    for (size_t from = 0; from < in.frames(); from += 64) run.hostBlock(in, from, 64, false);
    expectSame(run);
}

TEST_P(ReverbEngineBlockPath, EffectOutCopiesTheInputExactlyAndFreezesTheEngine) {
    // Switched out while a tail rings: after the 20 ms crossfade the output is
    // the input bit for bit, also for samples no reverb would pass unchanged.
    Stereo in = programme(20000, 8);
    in.left[15000] = std::numeric_limits<float>::quiet_NaN();
    in.right[15001] = std::numeric_limits<float>::infinity();
    in.left[15002] = -0.0f;
    in.right[15003] = std::numeric_limits<float>::denorm_min();
    Settings s;
    s.rt60Seconds = 3.0f;
    TwoPaths run(GetParam(), s, 48000.0f);
    for (size_t from = 0; from < 5000; from += 100) run.hostBlock(in, from, 100, false);
    run.change([](ReverbEngine& e) { e.setEffectOn(0.0f); });
    for (size_t from = 5000; from < in.frames(); from += 100)
        run.hostBlock(in, from, 100, from % 200 == 0);
    expectSame(run);
    // 958 frames of crossfade at 48 kHz; from then on the input itself.
    const Stereo& out = run.blockOutput();
    for (size_t n = 5000 + 958; n < in.frames(); ++n) {
        ASSERT_TRUE(std::memcmp(&out.left[n], &in.left[n], sizeof(float)) == 0) << n;
        ASSERT_TRUE(std::memcmp(&out.right[n], &in.right[n], sizeof(float)) == 0) << n;
    }
    EXPECT_FALSE(std::memcmp(&out.left[5500], &in.left[5500], sizeof(float)) == 0);
}

TEST_P(ReverbEngineBlockPath, TailFadingThroughTheFlushBoundStaysIdentical) {
    // A click of 1e-27 sinks below 1e-32 within a few loop round trips: the
    // flush to 0 then acts on comb states, loop samples, all-passes and the
    // pre-delay, until the tail ends in exact zeros, where the loops skip
    // their silent stretches. A second click then has to find every loop as
    // the per-frame path left it.
    Stereo in = silence(70000);
    in.left[0] = 1e-27f;
    in.right[3] = -1e-27f;
    in.left[60001] = 0.5f;
    in.right[60001] = -0.0f;
    Settings s;
    s.rt60Seconds = 0.0f;
    s.damping = 10.0f;
    s.mixPercent = 100.0f;
    s.wetOnly = true;
    s.preDelayMs = 3.0f;
    TwoPaths run(GetParam(), s, 48000.0f);
    for (size_t from = 0; from < in.frames(); from += 64) run.hostBlock(in, from, 64, false);
    expectSame(run);
    const Stereo& out = run.blockOutput();
    EXPECT_GT(peak(out.left, 1000, 5000), 0.0f);
    EXPECT_EQ(peak(out.left, 50000, 60000), 0.0f);
    EXPECT_EQ(peak(out.right, 50000, 60000), 0.0f);
    EXPECT_GT(peak(out.right, 62000), 0.01f);
}

TEST_P(ReverbEngineBlockPath, HostileInputGivesTheSameSamplesAndOverloads) {
    // Full-scale, far beyond full scale, infinite and not-a-number samples:
    // the clippers saturate, report and turn NaN into silence alike.
    Stereo in = stereoNoise(20000, 21, 30.0f);
    in.left[100] = std::numeric_limits<float>::quiet_NaN();
    in.right[2000] = std::numeric_limits<float>::infinity();
    in.left[3000] = -std::numeric_limits<float>::infinity();
    in.right[4000] = std::numeric_limits<float>::denorm_min();
    in.left[5000] = 1e38f;
    for (size_t n = 10000; n < 20000; ++n) in.left[n] = in.right[n] = 0.0f;
    Settings s;
    s.mixPercent = 100.0f;
    s.inTrimDb = 6.0f;
    TwoPaths run(GetParam(), s, 44100.0f);
    for (size_t from = 0; from < in.frames(); from += 256) run.hostBlock(in, from, 256, true);
    // The 1e38 sample passes the dry path at that size: the noise's own
    // level is the scale of the comparison.
    run.measureAgainst(std::max(peak(run.reference().left, 6000, 10000),
                                peak(run.reference().right, 6000, 10000)));
    expectSame(run);
    EXPECT_GT(run.overloads(), 0);
}

TEST_P(ReverbEngineBlockPath, SettledSwitchesPassInfinitiesAndNaNAsTheReferenceDoes) {
    // With every crossfade at rest the mix leaves out its products with 1,
    // but not those with 0: an infinite or not-a-number input must still
    // reach the output where the per-frame path lets it through (and only
    // there), for each end the mute and wet-only switches rest at.
    Stereo in = stereoNoise(6000, 17, 0.5f);
    in.left[700] = std::numeric_limits<float>::quiet_NaN();
    in.right[1500] = std::numeric_limits<float>::infinity();
    in.left[2300] = -std::numeric_limits<float>::infinity();
    in.right[3100] = -0.0f;
    for (int state = 0; state < 4; ++state) {
        Settings s;
        s.mute = (state & 1) != 0;
        s.wetOnly = (state & 2) != 0;
        s.mixPercent = 40.0f;
        TwoPaths run(GetParam(), s, 48000.0f);
        for (size_t from = 0; from < in.frames(); from += 200)
            run.hostBlock(in, from, 200, from % 400 == 0);
        SCOPED_TRACE(state);
        expectSame(run);
        // The effect crossfade weighs the raw input by 0: not a number, whatever else.
        EXPECT_TRUE(std::isnan(run.blockOutput().left[700]));
        EXPECT_TRUE(std::isnan(run.blockOutput().right[1500]));
        EXPECT_TRUE(std::isnan(run.blockOutput().left[2300]));
    }
}

// frames of in from from, through processSample, into out.
void perFrame(ReverbEngine& engine, const Stereo& in, Stereo& out, size_t from, size_t frames) {
    for (size_t n = from; n < from + frames; ++n)
        engine.processSample(in.left[n], in.right[n], out.left[n], out.right[n]);
}

// Every sample of out within the tolerance of ref's.
void expectClose(const Stereo& ref, const Stereo& out) {
    const float allowed = tolerance(std::max(peak(ref.left), peak(ref.right)));
    for (size_t n = 0; n < ref.frames(); ++n) {
        ASSERT_TRUE(closeSample(ref.left[n], out.left[n], allowed)) << n;
        ASSERT_TRUE(closeSample(ref.right[n], out.right[n], allowed)) << n;
    }
}

TEST_P(ReverbEngineBlockPath, LongBlocksAreRunAsManyFramesOfProcessSample) {
    // More than 64 frames in one call: the same as that many frames of the
    // per-frame path (the ramps then simply stay at their targets longer).
    ReverbEngine reference;
    ReverbEngine block;
    block.selectBlockPath(GetParam());
    Settings s;
    s.mixPercent = 60.0f;
    prepareWith(reference, s, 48000.0f);
    prepareWith(block, s, 48000.0f);
    const Stereo in = stereoNoise(3000, 4);
    Stereo ref = silence(in.frames());
    Stereo out = silence(in.frames());
    for (size_t from = 0; from < in.frames(); from += 300) {
        reference.setMix(from % 600 == 0 ? 20.0f : 90.0f);
        block.setMix(from % 600 == 0 ? 20.0f : 90.0f);
        reference.updateControls(64);
        block.updateControls(64);
        perFrame(reference, in, ref, from, 300);
        block.processBlock(&in.left[from], &in.right[from], &out.left[from], &out.right[from], 300);
    }
    expectClose(ref, out);
}

TEST_P(ReverbEngineBlockPath, PerFrameAndBlockCallsMayTakeTurnsOnOneEngine) {
    // Both ways of running share the delay loops, whose first samples the
    // block loops also keep behind the loops' ends: an engine that switches
    // between them, with odd-sized stretches so that the loops' ends and
    // starts fall anywhere in them, must still sound like the per-frame path
    // alone, through many trips round every loop.
    ReverbEngine reference;
    ReverbEngine mixed;
    mixed.selectBlockPath(GetParam());
    Settings s;
    s.rt60Seconds = 8.0f;
    prepareWith(reference, s, 48000.0f);
    prepareWith(mixed, s, 48000.0f);
    const Stereo in = stereoNoise(24000, 9);
    Stereo ref = silence(in.frames());
    Stereo out = silence(in.frames());
    uint32_t random = 12345u;
    for (size_t from = 0; from < in.frames();) {
        const size_t frames = std::min<size_t>(1 + nextRandom(random) % 64, in.frames() - from);
        reference.updateControls(static_cast<int32_t>(frames));
        mixed.updateControls(static_cast<int32_t>(frames));
        perFrame(reference, in, ref, from, frames);
        if (nextRandom(random) % 3 == 0) {
            perFrame(mixed, in, out, from, frames);
        } else {
            mixed.processBlock(&in.left[from], &in.right[from], &out.left[from], &out.right[from],
                               static_cast<int32_t>(frames));
        }
        from += frames;
    }
    expectClose(ref, out);
}

TEST_P(ReverbEngineBlockPath, OutputDoesNotDependOnHowTheHostCutsItsBlocks) {
    // Settled controls: the same frames cut into whole vectors or into odd
    // lengths must give the same bits (frames after the last whole vector
    // are rounded as the vectors are, fused or not).
    Settings s;
    s.mixPercent = 70.0f;
    ReverbEngine even;
    ReverbEngine odd;
    even.selectBlockPath(GetParam());
    odd.selectBlockPath(GetParam());
    prepareWith(even, s, 48000.0f);
    prepareWith(odd, s, 48000.0f);
    const Stereo in = stereoNoise(9600, 7);
    Stereo a = silence(in.frames());
    Stereo b = silence(in.frames());
    auto render = [&in](ReverbEngine& engine, Stereo& out, const int32_t* cuts, size_t count) {
        size_t at = 0;
        for (size_t i = 0; at < in.frames(); ++i) {
            const int32_t n =
                static_cast<int32_t>(std::min<size_t>(cuts[i % count], in.frames() - at));
            engine.updateControls(n);
            engine.processBlock(&in.left[at], &in.right[at], &out.left[at], &out.right[at], n);
            at += static_cast<size_t>(n);
        }
    };
    const int32_t whole[] = {64};
    const int32_t ragged[] = {1, 7, 13, 64, 33, 5, 63, 2, 41};
    render(even, a, whole, 1);
    render(odd, b, ragged, sizeof ragged / sizeof ragged[0]);
    for (size_t n = 0; n < in.frames(); ++n) {
        ASSERT_TRUE(sameSample(a.left[n], b.left[n])) << n;
        ASSERT_TRUE(sameSample(a.right[n], b.right[n])) << n;
    }
}

TEST_P(ReverbEngineBlockPath, NeverAllocatesAndPassesAudioWithoutDelayMemory) {
    ReverbEngine engine;
    engine.selectBlockPath(GetParam());
    Settings s;
    prepareWith(engine, s, 48000.0f);
    const Stereo in = stereoNoise(4096, 6);
    Stereo out = silence(in.frames());
    realtime_guard::watchThisThread();
    for (size_t from = 0; from < in.frames(); from += 64) {
        engine.setMix(static_cast<float>(from % 100));
        engine.updateControls(64);
        engine.processBlock(&in.left[from], &in.right[from], &out.left[from], &out.right[from], 64);
    }
    const realtime_guard::Counts counts = realtime_guard::stopWatching();
    EXPECT_EQ(counts.allocations, 0u);
    EXPECT_EQ(counts.locks, 0u);

    // A failed allocation leaves the engine without delay memory: audio passes.
    realtime_guard::failNothrowAllocationsFrom(0);
    engine.prepare(96000.0f);
    realtime_guard::failNothrowAllocationsFrom(-1);
    ASSERT_FALSE(engine.hasDelayMemory());
    engine.updateControls(64);
    engine.processBlock(in.left.data(), in.right.data(), out.left.data(), out.right.data(), 64);
    EXPECT_EQ(std::memcmp(out.left.data(), in.left.data(), 64 * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(out.right.data(), in.right.data(), 64 * sizeof(float)), 0);
}

std::string pathName(const ::testing::TestParamInfo<Path>& info) {
    return info.param == Path::kAvx2 ? "Avx2" : info.param == Path::kAvx512 ? "Avx512" : "Generic";
}

INSTANTIATE_TEST_SUITE_P(EachPath, ReverbEngineBlockPath,
                         ::testing::Values(Path::kGeneric, Path::kAvx2, Path::kAvx512), pathName);

TEST(ReverbEngine, StartsOnTheFastestPathItsProcessorRuns) {
    ReverbEngine engine;
    const bool avx2 = processorRuns(Path::kAvx2);
    const bool avx512 = processorRuns(Path::kAvx512);
    EXPECT_EQ(engine.blockPath(), avx512 ? Path::kAvx512 : avx2 ? Path::kAvx2 : Path::kGeneric);
    EXPECT_TRUE(engine.selectBlockPath(Path::kGeneric));
    EXPECT_EQ(engine.blockPath(), Path::kGeneric);
    // Where the processor lacks a set the request is refused and nothing changes.
    EXPECT_EQ(engine.selectBlockPath(Path::kAvx512), avx512);
    EXPECT_EQ(engine.blockPath(), avx512 ? Path::kAvx512 : Path::kGeneric);
}

}  // namespace
}  // namespace ZEPHRA2F9C41D07
