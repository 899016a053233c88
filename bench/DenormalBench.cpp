// bench-denormal: does a reverb tail fading into silence cost more processor
// time than full-scale noise? Numbers too small for the hardware's fast path
// (denormals) can make a recirculating network many times slower as its tail
// decays; the engine's flush rule is meant to keep that from ever happening.
//
// For each way the engine can run (the per-frame reference, the generic
// loops, the AVX2 loops where the processor has them), two engines are
// driven side by side in host blocks of 512 frames: one fed with noise
// throughout, one fed a one-second full-scale burst and then ten seconds of
// digital silence. Their blocks alternate, each timed on its own, so load
// from other work on the machine falls on both alike; the figure that counts
// is the ratio of the median block times, silence over noise, in the same
// run. The decay is short (RT60 0 s, damping 10) so the tail sinks through
// the flush bound into exact zeros well within the ten seconds; the last
// second is also reported on its own.
//
// A plain program rather than a Google Benchmark one, so that it also builds
// with the Windows toolchain and runs under Wine.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "dsp/ReverbEngine.h"

namespace {

using ZEPHRA2F9C41D07::ReverbEngine;
using Clock = std::chrono::steady_clock;

constexpr float kRate = 48000.0f;
constexpr int kHostBlock = 512;
constexpr int kSubBlock = ReverbEngine::kMaxSubBlock;
constexpr int kBurstBlocks = static_cast<int>(kRate) / kHostBlock;        // about 1 s
constexpr int kSilentBlocks = 10 * static_cast<int>(kRate) / kHostBlock;  // about 10 s
constexpr int kLastSecondBlocks = kBurstBlocks;

enum class Way { kReference, kGeneric, kAvx2, kAvx512 };

const char* wayName(Way way) {
    switch (way) {
        case Way::kReference: return "per-frame reference";
        case Way::kGeneric: return "generic loops";
        case Way::kAvx2: return "AVX2 loops";
        case Way::kAvx512: return "AVX-512 loops";
    }
    return "";
}

struct Block {
    float left[kHostBlock];
    float right[kHostBlock];
};

class Driver {
public:
    explicit Driver(Way way) : way_(way) {
        if (way == Way::kGeneric) engine_.selectBlockPath(ReverbEngine::BlockPath::kGeneric);
        if (way == Way::kAvx2) engine_.selectBlockPath(ReverbEngine::BlockPath::kAvx2);
        if (way == Way::kAvx512) engine_.selectBlockPath(ReverbEngine::BlockPath::kAvx512);
        engine_.setRT60(0.0f);
        engine_.setDamping(10.0f);
        engine_.setMix(100.0f);
        engine_.setWidth(100.0f);
        engine_.setPreDelay(10.0f);
        engine_.setEffectOn(1.0f);
        engine_.prepare(kRate);
    }

    // Processes one host block; answers the nanoseconds it took.
    double process(const Block& in, Block& out) {
        const Clock::time_point start = Clock::now();
        for (int from = 0; from < kHostBlock; from += kSubBlock) {
            engine_.updateControls(kSubBlock);
            if (way_ == Way::kReference) {
                for (int n = from; n < from + kSubBlock; ++n) {
                    engine_.processSample(in.left[n], in.right[n], out.left[n], out.right[n]);
                }
            } else {
                engine_.processBlock(in.left + from, in.right + from, out.left + from,
                                     out.right + from, kSubBlock);
            }
        }
        engine_.takeOverload();
        return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    }

private:
    Way way_;
    ReverbEngine engine_;
};

uint32_t g_random = 1u;
float noise() {
    g_random = g_random * 1664525u + 1013904223u;
    return static_cast<float>(g_random >> 8) / 8388608.0f - 1.0f;
}

void fillNoise(Block& b, float amplitude) {
    for (int n = 0; n < kHostBlock; ++n) {
        b.left[n] = amplitude * noise();
        b.right[n] = amplitude * noise();
    }
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : 0.5 * (v[m - 1] + v[m]);
}

bool subnormal(float x) { return std::fpclassify(x) == FP_SUBNORMAL; }

struct Result {
    double noiseNs;       // median block time on noise
    double silenceNs;     // median block time over the ten silent seconds
    double lastSecondNs;  // median block time over the last silent second
    float lastPeak;       // largest output magnitude in the last silent second
    int subnormals;       // subnormal output samples while silent
};

Result measure(Way way) {
    Driver noisy(way);
    Driver fading(way);
    Block in;
    Block silent{};
    Block out;
    Block tail;
    Result r{0.0, 0.0, 0.0, 0.0f, 0};
    // The burst into one, the same amount of noise into the other: both
    // networks are then full of sound when the clock starts.
    for (int b = 0; b < kBurstBlocks; ++b) {
        fillNoise(in, 1.0f);
        noisy.process(in, out);
        fading.process(in, out);
    }
    std::vector<double> noiseNs;
    std::vector<double> silenceNs;
    std::vector<double> lastNs;
    for (int b = 0; b < kSilentBlocks; ++b) {
        fillNoise(in, 1.0f);
        // Alternate which one goes first, so neither always runs on a cache
        // the other has just warmed.
        if (b % 2 == 0) {
            noiseNs.push_back(noisy.process(in, out));
            silenceNs.push_back(fading.process(silent, tail));
        } else {
            silenceNs.push_back(fading.process(silent, tail));
            noiseNs.push_back(noisy.process(in, out));
        }
        for (int n = 0; n < kHostBlock; ++n) {
            r.subnormals += (subnormal(tail.left[n]) ? 1 : 0) + (subnormal(tail.right[n]) ? 1 : 0);
            if (b >= kSilentBlocks - kLastSecondBlocks) {
                r.lastPeak = std::max(r.lastPeak,
                                      std::max(std::fabs(tail.left[n]), std::fabs(tail.right[n])));
            }
        }
        if (b >= kSilentBlocks - kLastSecondBlocks) lastNs.push_back(silenceNs.back());
    }
    r.noiseNs = median(noiseNs);
    r.silenceNs = median(silenceNs);
    r.lastSecondNs = median(lastNs);
    return r;
}

}  // namespace

int main() {
    std::printf(
        "bench-denormal: 1 s full-scale burst, then 10 s of silence, against noise throughout;\n"
        "48 kHz, host blocks of %d frames, RT60 0 s, damping 10, mix 100 %%; median time per "
        "block\n\n",
        kHostBlock);
    std::printf("%-22s %12s %14s %10s %17s %10s %12s %10s\n", "path", "noise us", "silence us",
                "ratio", "last second us", "ratio", "last peak", "subnormal");
    std::vector<Way> ways = {Way::kReference, Way::kGeneric};
    if (ReverbEngine::blockPathAvailable(ReverbEngine::BlockPath::kAvx2))
        ways.push_back(Way::kAvx2);
    if (ReverbEngine::blockPathAvailable(ReverbEngine::BlockPath::kAvx512))
        ways.push_back(Way::kAvx512);
    for (Way way : ways) {
        const Result r = measure(way);
        std::printf("%-22s %12.2f %14.2f %10.3f %17.2f %10.3f %12.3g %10d\n", wayName(way),
                    r.noiseNs / 1000.0, r.silenceNs / 1000.0, r.silenceNs / r.noiseNs,
                    r.lastSecondNs / 1000.0, r.lastSecondNs / r.noiseNs,
                    static_cast<double>(r.lastPeak), r.subnormals);
    }
    return 0;
}
