// BlockKernels: the vector loops of the engine's sub-block path, as plain data
// and function pointers. The same loops are compiled once for every x86-64
// processor (SSE2), once with AVX2 and once with AVX-512, each in a file of
// its own; the engine picks a set at run time from what the processor offers.
//
// The generic kernels perform the arithmetic of the per-frame path in the
// same order and in single precision, only many frames and many filters at a
// time, except that the soft clippers multiply by reciprocals instead of
// dividing by constants. The AVX2 and AVX-512 kernels also fuse each
// multiply-add into one rounding (FMA). Either way they stay within a few
// units of the last place of the per-frame path; where it copies samples
// (bypass, the settled effect-out state) every set copies them exactly.
//
// This header holds declarations and plain records only: it is included by
// the AVX2 and AVX-512 files too, and an inline function compiled there could
// be picked by the linker for code that runs on processors without them.
#pragma once

#include <cstdint>

#include "dsp/PlateTuning.h"
#include "dsp/SubBlock.h"

namespace ZEPHRA2F9C41D07 {
namespace block {

// The widest vector of any instruction set, in frames, and a sub-block's
// buffers with room for one behind it, so a loop may always work in whole
// vectors.
constexpr int32_t kWidestVector = 16;
constexpr int32_t kBufferFrames = kMaxSubBlockFrames + kWidestVector;

// A gain or crossfade position over a sub-block: a value for every frame, or
// (frames == nullptr) one value that holds for all of them.
struct Track {
    const float* frames;
    float value;
};

// One circular delay memory: samples[0 .. length - 1], next index position.
// For comb and all-pass loops, samples[length .. length + kMaxSubBlockFrames - 1]
// mirror samples[0 .. kMaxSubBlockFrames - 1].
struct Line {
    float* samples;
    int32_t length;
    int32_t position;
};

// The eight damped combs of one channel. state is read and written back.
struct CombBank {
    Line lines[kCombsPerChannel];
    float feedback[kCombsPerChannel];
    float damping[kCombsPerChannel];
    float complement[kCombsPerChannel];
    float state[kCombsPerChannel];
};

// The four series all-passes of one channel.
struct AllpassChain {
    Line lines[kAllpassesPerChannel];
    float feedback[kAllpassesPerChannel];
};

// Input trims and the clipped mono sum that feeds the pre-delay.
struct FeedStage {
    int32_t frames;      // 1 .. kMaxSubBlockFrames
    const float* in[2];  // kBufferFrames each, finite beyond frames
    Track inTrim[2];
    bool muted;       // no reverb feed: only the trimmed inputs
    float clipUpper;  // soft clipper thresholds, applied to input / 24
    float clipLower;
    float* trimmed[2];  // out: (in * 0.5) * trim, kBufferFrames each
    float* feed;        // out: the clipped mono sum (unless muted)
    bool overload;      // out: the clipper was driven past its thresholds
};

// Pre-delay: writes frames inputs, then reads frames interpolated outputs.
// Only valid when every delay is from 1 to length - frames - 3 samples: then
// no read weighs in a sample that the per-frame path would not yet (or no
// longer) have written.
struct PreDelayStage {
    int32_t frames;
    float* samples;
    int32_t length;  // more than 2 * kBufferFrames
    int32_t writePosition;
    Track delay;         // in samples; per frame: in range beyond frames too
    const float* input;  // kBufferFrames
    float* output;       // out: kBufferFrames
};

// Behind the all-passes: the output clippers, the mix and wet-only
// matrices, the output trims and the effect crossfade.
struct MixStage {
    float clipUpper[2];
    float clipLower[2];
    const float* in[2];       // the raw input: the effect crossfade's off signal
    const float* trimmed[2];  // the trimmed, halved input: the dry path
    Track mute[2];
    Track wetOnly[2];
    Track effect[2];
    Track outTrim[2];
    Track wetSame;
    Track wetCross;
    Track dry;
    float sameGain;   // wet-only matrix: own side
    float crossGain;  // wet-only matrix: other side
    float* out[2];    // out: kBufferFrames each
};

// Combs, all-passes and the mix behind them.
struct NetworkStage {
    int32_t frames;
    const float* delayed;  // the pre-delay's output; nullptr: muted, silence
    CombBank combs[2];
    AllpassChain allpasses[2];
    MixStage mix;
    bool overload[2];  // out: an output clipper was driven too hard
};

struct Kernels {
    const char* name;
    void (*feed)(FeedStage& stage);
    void (*preDelay)(PreDelayStage& stage);
    void (*network)(NetworkStage& stage);
};

// SSE2: every x86-64 processor has it.
const Kernels& genericKernels();
// AVX2 with FMA (256-bit vectors, hardware gathers, fused multiply-add);
// call only when processorHasAvx2Fma() answers true.
const Kernels& avx2Kernels();
// AVX-512 (512-bit vectors: all sixteen combs side by side), with the same
// fused multiply-adds; call only when processorHasAvx512() answers true.
const Kernels& avx512Kernels();
// True when the processor has AVX2 and FMA and the operating system saves
// the 256-bit registers across task switches.
bool processorHasAvx2Fma();
// True when the processor also has AVX-512 (foundation, doubleword and
// quadword, byte and word, vector lengths) and the operating system saves
// the 512-bit registers and the mask registers.
bool processorHasAvx512();

}  // namespace block
}  // namespace ZEPHRA2F9C41D07
