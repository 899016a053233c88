// Reverb engine speed: time per stereo frame and real-time factor at common
// sample rates, with the controls at rest and while they are automated, on
// each way the engine can compute a sub-block (the per-frame reference, the
// generic SSE2 loops, the AVX2 loops), next to two baselines measured in the
// same run (a plain stereo copy and a single comb filter) so figures can be
// read as ratios across machines.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "dsp/CombFilter.h"
#include "dsp/PlateTuning.h"
#include "dsp/ReverbEngine.h"

namespace {

using ZEPHRA2F9C41D07::CombFilter;
using ZEPHRA2F9C41D07::kCombsPerChannel;
using ZEPHRA2F9C41D07::kCombTuning;
using ZEPHRA2F9C41D07::kFeedLevel;
using ZEPHRA2F9C41D07::ReverbEngine;

// A typical host block, cut into the plug-in's longest sub-blocks.
constexpr int kHostBlock = 512;
constexpr int kSubBlock = ReverbEngine::kMaxSubBlock;

struct Buffers {
    std::vector<float> inL, inR, outL, outR;
    Buffers() : inL(kHostBlock), inR(kHostBlock), outL(kHostBlock), outR(kHostBlock) {
        uint32_t state = 12345u;
        for (int n = 0; n < kHostBlock; ++n) {
            state = state * 1664525u + 1013904223u;
            inL[n] = static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
            state = state * 1664525u + 1013904223u;
            inR[n] = static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
        }
    }
};

void setCounters(benchmark::State& state, double sampleRate) {
    const double frames = static_cast<double>(kHostBlock);
    state.counters["time_per_frame"] = benchmark::Counter(
        frames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["x_realtime"] =
        benchmark::Counter(frames / sampleRate, benchmark::Counter::kIsIterationInvariantRate);
}

// How a benchmark drives the engine: range(1) 0 = processSample per frame
// (the reference), 1 = processBlock on the generic loops, 2 = processBlock on
// the AVX2 loops, 3 = processBlock on the AVX-512 loops.
enum Way { kPerFrame = 0, kGeneric = 1, kAvx2 = 2, kAvx512 = 3 };

// False (and the benchmark skipped) when this processor cannot run the way.
bool chooseWay(benchmark::State& state, ReverbEngine& engine) {
    const Way way = static_cast<Way>(state.range(1));
    if (way == kPerFrame) return true;
    const auto path = way == kAvx512 ? ReverbEngine::BlockPath::kAvx512
                      : way == kAvx2 ? ReverbEngine::BlockPath::kAvx2
                                     : ReverbEngine::BlockPath::kGeneric;
    if (engine.selectBlockPath(path)) return true;
    state.SkipWithError("this processor cannot run these loops");
    return false;
}

void processBlock(ReverbEngine& engine, Buffers& b, Way way) {
    for (int start = 0; start < kHostBlock; start += kSubBlock) {
        engine.updateControls(kSubBlock);
        if (way == kPerFrame) {
            for (int n = start; n < start + kSubBlock; ++n) {
                engine.processSample(b.inL[n], b.inR[n], b.outL[n], b.outR[n]);
            }
        } else {
            engine.processBlock(&b.inL[start], &b.inR[start], &b.outL[start], &b.outR[start],
                                kSubBlock);
        }
    }
    engine.takeOverload();
}

void prepareTypical(ReverbEngine& engine, float sampleRate) {
    engine.setRT60(2.0f);
    engine.setDamping(3.0f);
    engine.setMix(50.0f);
    engine.setWidth(80.0f);
    engine.setPreDelay(20.0f);
    engine.setInTrim(0.0f);
    engine.setOutTrim(0.0f);
    engine.setEffectOn(1.0f);
    engine.prepare(sampleRate);
}

// Baseline: the stereo copy that a do-nothing plug-in performs.
void BM_BaselineCopy(benchmark::State& state) {
    Buffers b;
    for (auto _ : state) {
        for (int n = 0; n < kHostBlock; ++n) {
            b.outL[n] = b.inL[n];
            b.outR[n] = b.inR[n];
        }
        benchmark::DoNotOptimize(b.outL.data());
        benchmark::DoNotOptimize(b.outR.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, static_cast<double>(state.range(0)));
}

// Baseline: one damped comb on one channel, the engine's basic unit of work
// (it runs sixteen of them per frame).
void BM_BaselineSingleComb(benchmark::State& state) {
    Buffers b;
    CombFilter comb;
    comb.allocate(kCombTuning[kCombsPerChannel - 1]);
    comb.clearMemory();
    comb.setFeedback(0.95f);
    comb.setDampingCoefficient(0.3f);
    for (auto _ : state) {
        for (int n = 0; n < kHostBlock; ++n) b.outL[n] = comb.process(b.inL[n] * kFeedLevel);
        benchmark::DoNotOptimize(b.outL.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, static_cast<double>(state.range(0)));
}

// Effect out and its crossfade finished: the engine passes the input on.
void BM_EngineBypassed(benchmark::State& state) {
    const float rate = static_cast<float>(state.range(0));
    ReverbEngine engine;
    if (!chooseWay(state, engine)) return;
    prepareTypical(engine, rate);
    engine.setEffectOn(0.0f);
    engine.prepare(rate);
    Buffers b;
    for (auto _ : state) {
        processBlock(engine, b, static_cast<Way>(state.range(1)));
        benchmark::DoNotOptimize(b.outL.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, rate);
}

// Effect in, every control at rest.
void BM_EngineStatic(benchmark::State& state) {
    const float rate = static_cast<float>(state.range(0));
    ReverbEngine engine;
    if (!chooseWay(state, engine)) return;
    prepareTypical(engine, rate);
    Buffers b;
    for (int warm = 0; warm < 200; ++warm)
        processBlock(engine, b, static_cast<Way>(state.range(1)));
    for (auto _ : state) {
        processBlock(engine, b, static_cast<Way>(state.range(1)));
        benchmark::DoNotOptimize(b.outL.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, rate);
}

// Effect in while the host automates the decay time (a slow sweep, a new
// value every block): comb feedback is recooked at every sub-block.
void BM_EngineAutomatedRT60(benchmark::State& state) {
    const float rate = static_cast<float>(state.range(0));
    ReverbEngine engine;
    if (!chooseWay(state, engine)) return;
    prepareTypical(engine, rate);
    Buffers b;
    float phase = 0.0f;
    for (auto _ : state) {
        engine.setRT60(1.5f + 1.5f * std::sin(phase));
        phase += 0.05f;
        processBlock(engine, b, static_cast<Way>(state.range(1)));
        benchmark::DoNotOptimize(b.outL.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, rate);
}

// The worst case: all seven continuous controls automated at once.
void BM_EngineAutomatedAll(benchmark::State& state) {
    const float rate = static_cast<float>(state.range(0));
    ReverbEngine engine;
    if (!chooseWay(state, engine)) return;
    prepareTypical(engine, rate);
    Buffers b;
    float phase = 0.0f;
    for (auto _ : state) {
        const float s = std::sin(phase);
        engine.setRT60(1.5f + 1.5f * s);
        engine.setDamping(5.0f + 5.0f * s);
        engine.setMix(50.0f + 50.0f * s);
        engine.setWidth(50.0f - 50.0f * s);
        engine.setPreDelay(125.0f + 125.0f * s);
        engine.setInTrim(6.0f * s);
        engine.setOutTrim(-6.0f * s);
        phase += 0.05f;
        processBlock(engine, b, static_cast<Way>(state.range(1)));
        benchmark::DoNotOptimize(b.outL.data());
        benchmark::ClobberMemory();
    }
    setCounters(state, rate);
}

// Arguments: sample rate, way (0 per frame, 1 generic, 2 AVX2, 3 AVX-512).
void everyRateAndWay(benchmark::internal::Benchmark* b) {
    b->ArgNames({"rate", "way"});
    for (int way : {kPerFrame, kGeneric, kAvx2, kAvx512}) {
        for (int rate : {44100, 48000, 96000}) b->Args({rate, way});
    }
}

BENCHMARK(BM_BaselineCopy)->Arg(48000);
BENCHMARK(BM_BaselineSingleComb)->Arg(48000);
BENCHMARK(BM_EngineBypassed)
    ->Args({48000, kPerFrame})
    ->Args({48000, kGeneric})
    ->Args({48000, kAvx2})
    ->Args({48000, kAvx512});
BENCHMARK(BM_EngineStatic)->Apply(everyRateAndWay);
BENCHMARK(BM_EngineAutomatedRT60)
    ->Args({48000, kPerFrame})
    ->Args({48000, kGeneric})
    ->Args({48000, kAvx2})
    ->Args({48000, kAvx512});
BENCHMARK(BM_EngineAutomatedAll)->Apply(everyRateAndWay);

}  // namespace

BENCHMARK_MAIN();
