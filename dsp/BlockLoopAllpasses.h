// BlockLoopAllpasses: each channel's four all-passes in series over a
// sub-block, as AllpassFilter::process does frame by frame. As with the
// combs, every loop is longer than a sub-block, so a loop's samples for the
// sub-block are read ahead as one row; the series chain runs a vector of
// frames through all four before the next.
#pragma once

#include <cstdint>

#include "dsp/BlockLoopRows.h"
#include "dsp/BlockLoopVector.h"
#include "dsp/PlateTuning.h"

namespace ZEPHRA2F9C41D07 {
namespace {
namespace loops {

// One all-pass for one frame, as AllpassFilter::process (with V's
// rounding): for the frames after the last whole vector of a sub-block.
template <class V>
KORVEX_INLINE float allpassFrame(float* sample, float feedback, float input) {
    const float delayed = flushFrame(*sample);
    *sample = mulAddFrame<V>(delayed, feedback, input);
    return delayed - input;
}

// One all-pass for a chunk: returns its output, delayed - x, after writing
// delayed * gain + x into its loop; with out, stores the output there.
template <class V>
KORVEX_INLINE typename V::F allpassStep(float* sample, typename V::F gain, typename V::F x,
                                        float* out = nullptr) {
    const typename V::F delayed = flush<V>(V::load(sample));
    V::store(sample, mulAdd<V>(delayed, gain, x));
    const typename V::F y = V::sub(delayed, x);
    if (out != nullptr) V::store(out, y);
    return y;
}

// One channel's four all-passes in series over the whole vectors of a
// sub-block, a chunk at a time, so the signal stays in a register from one
// to the next, and the rows and gains throughout. x holds the comb sum on
// entry and the diffused signal on return.
template <class V>
KORVEX_INLINE void allpassVectors(float* const* rows, const float* feedback, float* x,
                                  int32_t whole) {
    using F = typename V::F;
    static_assert(kAllpassesPerChannel == 4, "the chain is written out for four all-passes");
    float* const row0 = rows[0];
    float* const row1 = rows[1];
    float* const row2 = rows[2];
    float* const row3 = rows[3];
    const F gain0 = V::set1(feedback[0]);
    const F gain1 = V::set1(feedback[1]);
    const F gain2 = V::set1(feedback[2]);
    const F gain3 = V::set1(feedback[3]);
    for (int32_t n = 0; n < whole; n += V::kWidth) {
        allpassStep<V>(
            row3 + n, gain3,
            allpassStep<V>(
                row2 + n, gain2,
                allpassStep<V>(row1 + n, gain1, allpassStep<V>(row0 + n, gain0, V::load(x + n)))),
            x + n);
    }
}

// One channel's frames short of a whole vector, after the whole vectors.
template <class V>
KORVEX_INLINE void allpassTail(float* const* rows, const float* feedback, float* x, int32_t whole,
                               int32_t frames) {
    for (int32_t n = whole; n < frames; ++n) {
        float y = x[n];
        for (int i = 0; i < kAllpassesPerChannel; ++i)
            y = allpassFrame<V>(rows[i] + n, feedback[i], y);
        x[n] = y;
    }
}

// Both channels' chains; signal[side] holds the comb sums on entry and the
// diffused signal on return.
template <class V>
__attribute__((noinline)) void allpassChains(AllpassChain* chains, float* const* signal,
                                             int32_t frames) {
    const int32_t whole = frames - frames % V::kWidth;
    Rows<V, kAllpassesPerChannel> chain[2];
    chain[0].open(chains[0].lines);
    chain[1].open(chains[1].lines);
    for (int side = 0; side < 2; ++side)
        allpassVectors<V>(chain[side].row, chains[side].feedback, signal[side], whole);
    for (int side = 0; side < 2; ++side) {
        allpassTail<V>(chain[side].row, chains[side].feedback, signal[side], whole, frames);
        chain[side].close(chains[side].lines, frames);
    }
}

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07
