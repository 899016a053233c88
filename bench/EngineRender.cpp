// engine-render: runs the reverb engine over a few seconds of a noise-like
// test signal on one of its paths and prints a checksum. Made for
// instruction-count profiling (valgrind --tool=callgrind), where a short,
// repeatable run with almost no set-up says more than a timed benchmark:
//
//   engine-render [reference|generic|avx2|avx512] [seconds] [sample rate]
//
// The controls sit at the peer benchmark's setting (2 s decay, 30 % mix),
// driven the way the plug-in drives the engine: host blocks of 512 frames
// cut into the engine's longest sub-blocks.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "dsp/ReverbEngine.h"

namespace {

using ZEPHRA2F9C41D07::ReverbEngine;

constexpr int kHostBlock = 512;
constexpr int kSubBlock = ReverbEngine::kMaxSubBlock;

}  // namespace

int main(int argc, char** argv) {
    const char* way = argc > 1 ? argv[1] : "avx2";
    const double seconds = argc > 2 ? std::atof(argv[2]) : 2.0;
    const float rate = argc > 3 ? static_cast<float>(std::atof(argv[3])) : 48000.0f;
    const bool perFrame = std::strcmp(way, "reference") == 0;

    ReverbEngine engine;
    if (!perFrame) {
        const ReverbEngine::BlockPath path =
            std::strcmp(way, "avx512") == 0 ? ReverbEngine::BlockPath::kAvx512
            : std::strcmp(way, "avx2") == 0 ? ReverbEngine::BlockPath::kAvx2
                                            : ReverbEngine::BlockPath::kGeneric;
        if (!engine.selectBlockPath(path)) {
            std::fprintf(stderr, "engine-render: this processor cannot run the %s loops\n", way);
            return 1;
        }
    }
    engine.setRT60(2.0f);
    engine.setDamping(3.0f);
    engine.setMix(30.0f);
    engine.setWidth(100.0f);
    engine.setPreDelay(10.0f);
    engine.setEffectOn(1.0f);
    engine.prepare(rate);

    // A second of noise, made before the clock starts and played in a loop.
    const int kNoiseBlocks = static_cast<int>(rate) / kHostBlock;
    std::vector<float> noiseL(static_cast<size_t>(kNoiseBlocks) * kHostBlock);
    std::vector<float> noiseR(noiseL.size());
    uint32_t random = 77u;
    auto noise = [&random] {
        random = random * 1664525u + 1013904223u;
        return static_cast<float>(random >> 8) / 8388608.0f - 1.0f;
    };
    for (size_t n = 0; n < noiseL.size(); ++n) {
        noiseL[n] = 0.25f * noise();
        noiseR[n] = 0.25f * noise();
    }
    std::vector<float> outL(kHostBlock), outR(kHostBlock);
    const long blocks = static_cast<long>(seconds * rate / kHostBlock);
    double sum = 0.0;
    timespec start{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    for (long b = 0; b < blocks; ++b) {
        const float* inL = &noiseL[static_cast<size_t>(b % kNoiseBlocks) * kHostBlock];
        const float* inR = &noiseR[static_cast<size_t>(b % kNoiseBlocks) * kHostBlock];
        for (int start = 0; start < kHostBlock; start += kSubBlock) {
            engine.updateControls(kSubBlock);
            if (perFrame) {
                for (int n = start; n < start + kSubBlock; ++n) {
                    engine.processSample(inL[n], inR[n], outL[n], outR[n]);
                }
            } else {
                engine.processBlock(&inL[start], &inR[start], &outL[start], &outR[start],
                                    kSubBlock);
            }
        }
        engine.takeOverload();
        sum += std::fabs(static_cast<double>(outL[kHostBlock - 1])) +
               std::fabs(static_cast<double>(outR[0]));
    }
    timespec end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    const double ns = 1e9 * static_cast<double>(end.tv_sec - start.tv_sec) +
                      static_cast<double>(end.tv_nsec - start.tv_nsec);
    std::printf("%s: %ld blocks, %.2f ns per frame, checksum %.9g\n", way, blocks,
                ns / static_cast<double>(blocks * kHostBlock), sum);
    return 0;
}
