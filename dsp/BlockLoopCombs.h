// BlockLoopCombs: the sixteen damped combs over a sub-block, each channel's
// eight fed the same pre-delayed mono signal and summed into that channel's
// wet signal, as CombFilter::process does frame by frame.
//
// What makes a whole sub-block computable at once: every comb loop is longer
// than the longest sub-block, so all the samples a sub-block reads from a
// loop were written before it started. A loop is therefore read ahead as a
// row of samples, vectorised across time. The only per-frame recurrence left
// is each comb's one-pole low-pass; it runs with the combs side by side in
// the vector lanes, between two transpositions.
#pragma once

#include <cstdint>

#include "dsp/BlockLoopCombGroup.h"
#include "dsp/BlockLoopRows.h"
#include "dsp/BlockLoopVector.h"
#include "dsp/PlateTuning.h"

namespace ZEPHRA2F9C41D07 {
namespace {
namespace loops {

// One comb for one frame, as CombFilter::process (with V's rounding): for
// the frames after the last whole vector of a sub-block.
template <class V>
KORVEX_INLINE float combFrame(float* sample, float damping, float complement, float feedback,
                              float& state, float input) {
    const float y = flushFrame(*sample);
    state = flushFrame(mulAddFrame<V>(damping, state, complement * y));
    *sample = mulAddFrame<V>(state, feedback, input);
    return y;
}

// Two groups along the sub-block side by side, so that their low-pass
// recurrences (chains of dependent steps) overlap. With two groups per
// channel they are that channel's (wetB == nullptr: both add to wetA, in
// comb order); with one, the two channels'.
template <class V, bool kFeedSilent>
KORVEX_INLINE void combPair(float* const* rowsA, float* const* rowsB, CombLanes<V>& lanesA,
                            CombLanes<V>& lanesB, const float* input, float* wetA, float* wetB,
                            int32_t whole) {
    using F = typename V::F;
    // In locals: the states then stay in registers from chunk to chunk
    // instead of passing through memory on their chains.
    CombLanes<V> a = lanesA;
    CombLanes<V> b = lanesB;
    for (int32_t n = 0; n < whole; n += V::kWidth) {
        F sum = V::set1(0.0f);
        combGroup<V, kFeedSilent>(rowsA, n, input, a, &sum);
        if (wetB != nullptr) {
            V::store(wetA + n, sum);
            sum = V::set1(0.0f);
        }
        combGroup<V, kFeedSilent>(rowsB, n, input, b, &sum);
        V::store((wetB != nullptr ? wetB : wetA) + n, sum);
    }
    lanesA = a;
    lanesB = b;
}

// With sixteen lanes, one group holds all sixteen combs: the left channel's
// in the first eight lanes, the right's in the last eight.
template <class V, bool kFeedSilent>
KORVEX_INLINE void combsAsOneGroup(float* const* rows, CombLanes<V>& lanes, const float* input,
                                   float* wetL, float* wetR, int32_t whole) {
    using F = typename V::F;
    CombLanes<V> all = lanes;  // in registers from chunk to chunk
    for (int32_t n = 0; n < whole; n += V::kWidth) {
        F sums[2] = {V::set1(0.0f), V::set1(0.0f)};
        combGroup<V, kFeedSilent, true>(rows, n, input, all, sums);
        V::store(wetL + n, sums[0]);
        V::store(wetR + n, sums[1]);
    }
    lanes = all;
}

template <class V>
KORVEX_INLINE void combsBothChannels(NetworkStage& s, float* const* const* rows, const float* input,
                                     bool feedSilent, float* wetL, float* wetR, int32_t whole) {
    float* all[2 * kCombsPerChannel];
    for (int k = 0; k < kCombsPerChannel; ++k) {
        all[k] = rows[0][k];
        all[kCombsPerChannel + k] = rows[1][k];
    }
    const CombBank& left = s.combs[0];
    const CombBank& right = s.combs[1];
    CombLanes<V> lanes{V::loadHalves(left.damping, right.damping),
                       V::loadHalves(left.complement, right.complement),
                       V::loadHalves(left.feedback, right.feedback),
                       V::loadHalves(left.state, right.state)};
    if (feedSilent) {
        combsAsOneGroup<V, true>(all, lanes, input, wetL, wetR, whole);
    } else {
        combsAsOneGroup<V, false>(all, lanes, input, wetL, wetR, whole);
    }
    V::storeHalves(s.combs[0].state, s.combs[1].state, lanes.state);
}

// Whether the feed of the whole vectors is exact silence (+0 throughout), as
// it is while muted (delayed == nullptr).
template <class V>
KORVEX_INLINE bool feedSilent(const float* delayed, int32_t whole) {
    if (delayed == nullptr) return true;
    typename V::F any = V::set1(0.0f);
    for (int32_t n = 0; n < whole; n += V::kWidth) any = V::bitOr(any, V::load(delayed + n));
    return V::allBitsZero(any);
}

// With fewer lanes than combs: one channel's combs fill one or two groups of
// kWidth, run two groups at a time.
template <class V>
KORVEX_INLINE void combsInGroups(NetworkStage& s, float* const* const* rows, const float* input,
                                 bool silent, float* wetL, float* wetR, int32_t whole) {
    constexpr int W = V::kWidth;
    constexpr int kPerChannel = kCombsPerChannel / W;
    constexpr int kGroups = 2 * kPerChannel;
    CombLanes<V> lanes[kGroups];
    for (int g = 0; g < kGroups; ++g) {
        const CombBank& bank = s.combs[g / kPerChannel];
        const int first = (g % kPerChannel) * W;
        lanes[g] = {V::load(bank.damping + first), V::load(bank.complement + first),
                    V::load(bank.feedback + first), V::load(bank.state + first)};
    }
    for (int pair = 0; pair < kGroups; pair += 2) {
        // One channel's two groups, or the two channels' one group each.
        float* const* rowsA = kPerChannel == 2 ? rows[pair / 2] : rows[0];
        float* const* rowsB = kPerChannel == 2 ? rows[pair / 2] + W : rows[1];
        float* wetA = kPerChannel == 2 ? (pair == 0 ? wetL : wetR) : wetL;
        float* wetB = kPerChannel == 2 ? nullptr : wetR;
        if (silent) {
            combPair<V, true>(rowsA, rowsB, lanes[pair], lanes[pair + 1], input, wetA, wetB, whole);
        } else {
            combPair<V, false>(rowsA, rowsB, lanes[pair], lanes[pair + 1], input, wetA, wetB,
                               whole);
        }
    }
    for (int g = 0; g < kGroups; ++g) {
        CombBank& bank = s.combs[g / kPerChannel];
        V::store(bank.state + (g % kPerChannel) * W, lanes[g].state);
    }
}

// One channel's frames short of a whole vector, one comb at a time, after
// the whole vectors; delayed == nullptr: muted, silence.
template <class V>
KORVEX_INLINE void combTail(CombBank& bank, float* const* rows, const float* delayed, float* wet,
                            int32_t whole, int32_t frames) {
    // The whole last vector: the lanes past the sub-block hold silence.
    if (whole < frames) {
        for (int32_t n = whole; n < whole + V::kWidth; ++n) wet[n] = 0.0f;
    }
    for (int k = 0; k < kCombsPerChannel; ++k) {
        for (int32_t n = whole; n < frames; ++n) {
            const float input = delayed != nullptr ? delayed[n] : 0.0f;
            wet[n] += combFrame<V>(rows[k] + n, bank.damping[k], bank.complement[k],
                                   bank.feedback[k], bank.state[k], input);
        }
    }
}

// The sixteen combs, kWidth at a time ("a group"; one channel's combs fill
// one or two groups, or half of one). wetL and wetR receive each channel's
// sum of comb outputs, added in comb order from 0.
template <class V>
__attribute__((noinline)) void combs(NetworkStage& s, float* wetL, float* wetR) {
    constexpr int W = V::kWidth;
    static_assert(W == 4 || W == 8 || W == 16,
                  "one channel's combs fill two groups or one, or half of one");
    const int32_t frames = s.frames;
    const int32_t whole = frames - frames % W;

    Rows<V, kCombsPerChannel> banks[2];
    banks[0].open(s.combs[0].lines);
    banks[1].open(s.combs[1].lines);
    float* const* const rows[2] = {banks[0].row, banks[1].row};
    // The feed while muted: exact zeros.
    static const float silence[kBufferFrames] = {};
    const bool silent = feedSilent<V>(s.delayed, whole);
    const float* input = s.delayed != nullptr ? s.delayed : silence;
    if constexpr (W == 2 * kCombsPerChannel) {
        combsBothChannels<V>(s, rows, input, silent, wetL, wetR, whole);
    } else {
        combsInGroups<V>(s, rows, input, silent, wetL, wetR, whole);
    }
    float* const wet[2] = {wetL, wetR};
    for (int side = 0; side < 2; ++side) {
        combTail<V>(s.combs[side], rows[side], s.delayed, wet[side], whole, frames);
        banks[side].close(s.combs[side].lines, frames);
    }
}

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07
