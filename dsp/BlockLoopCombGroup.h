// BlockLoopCombGroup: the inner step of the comb loops: kWidth combs side
// by side in the vector lanes ("a group") over kWidth frames of a sub-block
// ("a chunk"), each reading its loop, running its damped low-pass and
// writing back, as CombFilter::process does frame by frame.
#pragma once

#include <cstdint>

#include "dsp/BlockLoopVector.h"

namespace ZEPHRA2F9C41D07 {
namespace {
namespace loops {

// The W combs of one group for the W frames from n. rows are the groups'
// loop windows, input the feed of the sub-block (silence when muted), wet
// the channel's running sum of comb outputs (started by the channel's first
// group). The low-pass coefficients and states hold one comb per lane.
//
// The loop windows run along time and the low-pass recurrence along the
// combs: a transposition turns the samples read into one vector per frame,
// and another turns the results back. Everything between is frame-major, so
// the coefficients are plain vectors and the loop gain is applied there.
//
// The flush of the state sits on the recurrence's chain of dependent steps,
// so it is left out while no state (and no sample read) falls into the range
// it would clear (only a tail fading into silence, or exact silence, gets
// near it); the smallest magnitude met tells, and the chunk is then run again
// with the flush.

// The comb low-pass step, damping * state + complement * sample; fused, the
// state's product is the one folded in, which shortens the recurrence.
template <class V>
KORVEX_INLINE typename V::F lowPass(typename V::F damping, typename V::F state,
                                    typename V::F complement, typename V::F sample) {
    if constexpr (V::kFused) {
        return V::mulAdd(damping, state, V::mul(complement, sample));
    } else {
        return V::add(V::mul(damping, state), V::mul(complement, sample));
    }
}

// Writes state * feedback + input back into the loops: r holds the group's
// low-pass states frame by frame (one comb per lane) and is used up.
template <class V>
KORVEX_INLINE void writeBack(float* const* rows, int32_t n, const float* input,
                             typename V::F feedback, typename V::F* r) {
    using F = typename V::F;
    constexpr int W = V::kWidth;
    if constexpr (V::kFused) {
        // Fused while still frame-major: the frame's input is the same for
        // every comb of the group.
        for (int j = 0; j < W; ++j) r[j] = V::mulAdd(r[j], feedback, V::broadcast(input + n + j));
        V::transpose(r);
        for (int k = 0; k < W; ++k) V::store(rows[k] + n, r[k]);
    } else {
        const F in = V::load(input + n);
        for (int j = 0; j < W; ++j) r[j] = V::mul(r[j], feedback);
        V::transpose(r);
        for (int k = 0; k < W; ++k) V::store(rows[k] + n, V::add(r[k], in));
    }
}

// True when a value of the chunk lies where the flush would clear it: one
// of the samples read (still unchanged in the loops) or a low-pass state.
template <class V>
KORVEX_INLINE bool flushClears(float* const* rows, int32_t n, const typename V::F* states) {
    using F = typename V::F;
    F mask = V::set1(0.0f);
    auto collect = [&mask](F x) {
        const F m = magnitude<V>(x);
        mask =
            V::bitOr(mask, V::bitAnd(V::lt(m, V::set1(kFlushBoundFloat)), V::gt(m, V::set1(0.0f))));
    };
    for (int k = 0; k < V::kWidth; ++k) collect(V::load(rows[k] + n));
    for (int j = 0; j < V::kWidth; ++j) collect(states[j]);
    return V::any(mask);
}

// When the flush acts on the chunk (states: the low-pass states the chunk
// reached without it), the whole chunk again, every sample read and every
// state flushed, and true; else false, nothing changed. For the few chunks
// of a tail fading through the bound, kept out of line so the common chunk
// keeps its registers.
template <class V, bool kSplit>
__attribute__((noinline)) bool combChunkWithFlush(float* const* rows, int32_t n, const float* input,
                                                  typename V::F damping, typename V::F complement,
                                                  typename V::F feedback, typename V::F& state,
                                                  typename V::F* sums,
                                                  const typename V::F* states) {
    using F = typename V::F;
    constexpr int W = V::kWidth;
    if (!flushClears<V>(rows, n, states)) return false;
    F r[W];
    for (int k = 0; k < W; ++k) {
        r[k] = flush<V>(V::load(rows[k] + n));
        F& sum = sums[kSplit && k >= W / 2 ? 1 : 0];
        sum = V::add(sum, r[k]);
    }
    V::transpose(r);
    F running = state;
    for (int j = 0; j < W; ++j) {
        running = flush<V>(lowPass<V>(damping, running, complement, r[j]));
        r[j] = running;
    }
    state = running;
    writeBack<V>(rows, n, input, feedback, r);
    return true;
}

// The low-pass coefficients, loop gains and states of one group, one comb
// per lane.
template <class V>
struct CombLanes {
    typename V::F damping;
    typename V::F complement;
    typename V::F feedback;
    typename V::F state;
};

// Silence: no feed, low-passes at rest and nothing but zeros in the loops.
// The per-frame path would add zeros to the wet sum and write zeros back
// over zeros, so such a chunk may be left as it is.
template <class V>
KORVEX_INLINE bool chunkAtRest(float* const* rows, int32_t n, typename V::F state) {
    if (!V::allBitsZero(state)) return false;
    typename V::F any = V::load(rows[0] + n);
    for (int k = 1; k < V::kWidth; ++k) any = V::bitOr(any, V::load(rows[k] + n));
    return V::allBitsZero(any);
}

// One group's chunk of kWidth frames from n. sums carry the channel's wet
// sum of the chunk: in, as the channel's earlier groups left it; out, with
// this group's comb outputs added in comb order. kSplit: the group holds
// both channels' combs, the left's in its first half of lanes (sums[0])
// and the right's in its second (sums[1]).
template <class V, bool kFeedSilent, bool kSplit = false>
KORVEX_INLINE void combGroup(float* const* rows, int32_t n, const float* input, CombLanes<V>& lanes,
                             typename V::F* sums) {
    using F = typename V::F;
    constexpr int W = V::kWidth;
    // Only looked for where the whole sub-block's feed is silent, so sound
    // pays nothing.
    if (kFeedSilent && chunkAtRest<V>(rows, n, lanes.state)) return;
    // The flush of the samples read and of the states is left out while no
    // value of the chunk falls where it would act: the smallest magnitude
    // met tells (mostly it is far above the bound, or an exact zero of
    // silence, which the flush leaves as it is).
    const F before[2] = {sums[0], kSplit ? sums[1] : sums[0]};
    F r[W];
    F smallest = V::set1(kNoSmaller);
    for (int k = 0; k < W; ++k) {
        r[k] = V::load(rows[k] + n);
        smallest = V::min(magnitude<V>(r[k]), smallest);
        F& sum = sums[kSplit && k >= W / 2 ? 1 : 0];
        sum = V::add(sum, r[k]);
    }
    V::transpose(r);
    F running = lanes.state;
    for (int j = 0; j < W; ++j) {
        running = lowPass<V>(lanes.damping, running, lanes.complement, r[j]);
        smallest = V::min(magnitude<V>(running), smallest);
        r[j] = running;
    }
    if (V::any(V::lt(smallest, V::set1(kFlushBoundFloat)))) {
        // A copy, so only this rare branch puts the states in memory.
        F reached[W];
        for (int j = 0; j < W; ++j) reached[j] = r[j];
        F again[2] = {before[0], before[1]};
        if (combChunkWithFlush<V, kSplit>(rows, n, input, lanes.damping, lanes.complement,
                                          lanes.feedback, lanes.state, again, reached)) {
            sums[0] = again[0];
            if (kSplit) sums[1] = again[1];
            return;
        }
    }
    lanes.state = running;
    writeBack<V>(rows, n, input, lanes.feedback, r);
}

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07
