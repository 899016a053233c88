// Plug-in instance life as a host's plug-in scanner sees it, hundreds of
// times per scan: the library's entry point, effOpen and effClose, no editor.
// The built korvex52 library is loaded once, as a scanner loads it once per
// file; a plain allocation and release of a comparable block of memory runs
// alongside as the baseline of the run.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

#include "frame/vst_abi.h"

namespace {

using Entry = AEffect* (*)(audioMasterCallback);

VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

Entry entryPoint() {
    static void* library = dlopen(KORVEX_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    return library ? reinterpret_cast<Entry>(dlsym(library, "VSTPluginMain")) : nullptr;
}

void BM_InstanceCreateClose(benchmark::State& state) {
    const Entry entry = entryPoint();
    if (!entry) {
        state.SkipWithError("the plug-in library could not be loaded");
        return;
    }
    for (auto _ : state) {
        AEffect* effect = entry(hostCallback);
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        benchmark::DoNotOptimize(effect);
    }
}

// The same, and then what a host does before playing: sample rate, block
// size, switched on and off.
void BM_InstanceCreateStartClose(benchmark::State& state) {
    const Entry entry = entryPoint();
    if (!entry) {
        state.SkipWithError("the plug-in library could not be loaded");
        return;
    }
    for (auto _ : state) {
        AEffect* effect = entry(hostCallback);
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 96000.0f);
        effect->dispatcher(effect, effSetBlockSize, 0, 512, nullptr, 0.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        benchmark::DoNotOptimize(effect);
    }
}

// Baseline: obtaining, zero-filling and releasing the 300 KB of delay memory
// an instance holds at 48 kHz.
void BM_BaselineZeroedMemory(benchmark::State& state) {
    const size_t bytes = 300 * 1024;
    for (auto _ : state) {
        void* memory = std::malloc(bytes);
        std::memset(memory, 0, bytes);
        benchmark::DoNotOptimize(memory);
        std::free(memory);
    }
}

BENCHMARK(BM_InstanceCreateClose)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InstanceCreateStartClose)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BaselineZeroedMemory)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
