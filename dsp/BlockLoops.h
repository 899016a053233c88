// BlockLoops: the sub-block loops of the reverb, written once over a vector
// instruction set V and compiled once per set (BlockKernelsSse2.cpp,
// BlockKernelsAvx2.cpp).
//
// What makes a whole sub-block computable at once: every comb and all-pass
// loop is longer than the longest sub-block, so all the samples a sub-block
// reads from a loop were written before it started. A loop is therefore read
// ahead as a row of samples, vectorised across time. The only per-frame
// recurrence left is each comb's one-pole low-pass; it runs with the combs of
// a channel side by side in the vector lanes, between two transpositions.
//
// Each operation below is the per-frame path's own operation on the same
// operands in the same order (no reassociation, no fused multiply-add, no
// reciprocal in place of a division), so the results are the same bits.
//
// V provides, on vectors F of kWidth floats and I of kWidth 32-bit integers:
// load/store (unaligned), set1, add, sub, mul, div, min (a < b ? a : b, so
// a NaN in a gives b), the bit operations and,
// andNot (~a & b), or, the comparisons lt, le, gt, ge, notLt (true for NaN),
// unordered, select(mask, a, b), any(mask), firstLanes(count), transpose of
// kWidth rows, and for the pre-delay: ramp(start) (start + lane), iset1,
// iadd, isub, igt, iand, lane0, same (all lanes equal), toFloat, truncate
// and gather.
//
// Everything here has internal linkage: each including file gets its own
// copy, compiled for its own instruction set, so no copy built for AVX2 can
// stand in for one that must run everywhere.
#pragma once

#include <cstdint>

#include "dsp/BlockKernels.h"

// The loops are only fast when these small helpers melt into them.
#define KORVEX_INLINE inline __attribute__((always_inline))

namespace ZEPHRA2F9C41D07 {
namespace {
namespace loops {

using block::AllpassChain;
using block::CombBank;
using block::FeedStage;
using block::kBufferFrames;
using block::Line;
using block::NetworkStage;
using block::PreDelayStage;
using block::Track;

// Values whose magnitude is below 1e-32 (compared in double precision) are
// replaced by 0 on the recirculating paths. 1e-32 rounds up to its nearest
// float, so comparing floats with 1e-32f decides exactly as the comparison in
// double precision does (a unit test checks the neighbours of the bound).
constexpr float kFlushBound = 1e-32f;

template <class V>
KORVEX_INLINE typename V::F flush(typename V::F x) {
    const typename V::F magnitude = V::andNot(V::set1(-0.0f), x);
    return V::bitAnd(x, V::notLt(magnitude, V::set1(kFlushBound)));
}

template <class V>
KORVEX_INLINE typename V::F magnitude(typename V::F x) {
    return V::andNot(V::set1(-0.0f), x);
}

// Lanes that the flush would change: magnitudes from 0 (exclusive) to the bound.
template <class V>
KORVEX_INLINE typename V::F tiny(typename V::F x) {
    const typename V::F m = magnitude<V>(x);
    return V::bitAnd(V::lt(m, V::set1(kFlushBound)), V::gt(m, V::set1(0.0f)));
}

// Larger than any magnitude a finite sample has.
constexpr float kNoSmaller = 3.0e38f;

template <class V>
KORVEX_INLINE typename V::F track(const Track& t, int32_t n) {
    return t.frames != nullptr ? V::load(t.frames + n) : V::set1(t.value);
}

// (1 - position) * off + position * on: a crossfader's output.
template <class V>
KORVEX_INLINE typename V::F fade(typename V::F position, typename V::F on, typename V::F off) {
    return V::add(V::mul(V::sub(V::set1(1.0f), position), off), V::mul(position, on));
}

// The cubic soft clipper, flat beyond |x| = 24; flags collects the lanes
// (within valid) whose input crossed the thresholds or was not a number.
template <class V>
KORVEX_INLINE typename V::F softClip(typename V::F x, typename V::F upper, typename V::F lower,
                       typename V::F valid, typename V::F& flags) {
    using F = typename V::F;
    const F u = V::div(x, V::set1(24.0f));
    const F notNumber = V::unordered(u, u);
    const F crossed = V::bitOr(V::bitOr(V::gt(u, upper), V::lt(u, lower)), notNumber);
    flags = V::bitOr(flags, V::bitAnd(crossed, valid));
    const F cubic = V::sub(u, V::div(V::mul(V::mul(u, u), u), V::set1(3.0f)));
    F shaped = V::select(notNumber, V::set1(0.0f), cubic);
    shaped = V::select(V::le(u, V::set1(-1.0f)), V::set1(-2.0f / 3.0f), shaped);
    shaped = V::select(V::ge(u, V::set1(1.0f)), V::set1(2.0f / 3.0f), shaped);
    return V::mul(V::set1(24.0f), shaped);
}

// Lanes of the chunk starting at frame n that belong to the sub-block.
template <class V>
KORVEX_INLINE typename V::F validLanes(int32_t n, int32_t frames) {
    const int32_t left = frames - n;
    return left >= V::kWidth ? V::firstLanes(V::kWidth) : V::firstLanes(left);
}

// ------------------------------------------------------------ circular windows

// Copies count floats between buffers that do not overlap, without a call:
// the rows here are a few dozen samples long.
template <class V>
KORVEX_INLINE void copyFloats(float* to, const float* from, int32_t count) {
    int32_t n = 0;
    for (; n + V::kWidth <= count; n += V::kWidth) V::store(to + n, V::load(from + n));
    if (n == count) return;
    if (count >= V::kWidth) {
        V::store(to + count - V::kWidth, V::load(from + count - V::kWidth));
        return;
    }
    for (; n < count; ++n) to[n] = from[n];
}

// The frames samples of a delay loop that a sub-block reads and then
// overwrites, as one contiguous row of whole vectors. Where the row would run
// past the end of the memory, or the sub-block is no whole number of vectors
// (the last vector would overwrite samples of the next sub-block), the row is
// a local copy, written back after the sub-block.
template <class V>
struct Window {
    float* row;
    bool staged;
    float stage[kBufferFrames];

    KORVEX_INLINE void open(const Line& line, int32_t frames) {
        staged = line.position + frames > line.length || frames % V::kWidth != 0;
        if (!staged) {
            row = line.samples + line.position;
            return;
        }
        const int32_t first = line.length - line.position < frames ? line.length - line.position : frames;
        copyFloats<V>(stage, line.samples + line.position, first);
        copyFloats<V>(stage + first, line.samples, frames - first);
        V::store(stage + frames, V::set1(0.0f));  // the lanes past the sub-block
        row = stage;
    }

    KORVEX_INLINE void close(const Line& line, int32_t frames) {
        if (!staged) return;
        const int32_t first = line.length - line.position < frames ? line.length - line.position : frames;
        copyFloats<V>(line.samples + line.position, stage, first);
        copyFloats<V>(line.samples, stage + first, frames - first);
    }
};

// ------------------------------------------------------------ feed

template <class V>
void feed(FeedStage& s) {
    using F = typename V::F;
    F flags = V::set1(0.0f);
    const F upper = V::set1(s.clipUpper);
    const F lower = V::set1(s.clipLower);
    for (int32_t n = 0; n < s.frames; n += V::kWidth) {
        const F xL = V::mul(V::mul(V::load(s.in[0] + n), V::set1(0.5f)), track<V>(s.inTrim[0], n));
        const F xR = V::mul(V::mul(V::load(s.in[1] + n), V::set1(0.5f)), track<V>(s.inTrim[1], n));
        V::store(s.trimmed[0] + n, xL);
        V::store(s.trimmed[1] + n, xR);
        if (!s.muted) {
            const F sum = V::mul(V::add(xL, xR), V::set1(0.015f));
            V::store(s.feed + n, softClip<V>(sum, upper, lower, validLanes<V>(n, s.frames), flags));
        }
    }
    s.overload = V::any(flags);
}

// ------------------------------------------------------------ pre-delay

template <class V>
void preDelay(PreDelayStage& s) {
    using F = typename V::F;
    using I = typename V::I;
    // Writes first: a read may then find samples written earlier in this
    // sub-block, as the per-frame path would (delays from 1 sample up).
    Window<V> window;
    const Line line{s.samples, s.length, s.writePosition};
    window.open(line, s.frames);
    for (int32_t n = 0; n < s.frames; n += V::kWidth) {
        V::store(window.row + n, flush<V>(V::load(s.input + n)));
    }
    window.close(line, s.frames);

    const I length = V::iset1(s.length);
    const I lastIndex = V::iset1(s.length - 1);
    const F lengthF = V::set1(static_cast<float>(s.length));
    for (int32_t n = 0; n < s.frames; n += V::kWidth) {
        I position = V::ramp(s.writePosition + n);
        position = V::isub(position, V::iand(V::igt(position, lastIndex), length));
        F readPos = V::sub(V::toFloat(position), track<V>(s.delay, n));
        readPos = V::select(V::lt(readPos, V::set1(0.0f)), V::add(readPos, lengthF), readPos);
        // readPos is not negative here, so truncation is the floor.
        I i = V::truncate(readPos);
        const F frac = V::sub(readPos, V::toFloat(i));
        i = V::isub(i, V::iand(V::igt(i, lastIndex), length));
        // Mostly the read indices run on one by one, away from the end of
        // the line: plain loads. Else (wrap, rounding) one index per lane.
        F a;
        F b;
        const int32_t first = V::lane0(i);
        if (first + V::kWidth < s.length && V::same(i, V::ramp(first))) {
            a = V::load(s.samples + first);
            b = V::load(s.samples + first + 1);
        } else {
            I j = V::iadd(i, V::iset1(1));
            j = V::isub(j, V::iand(V::igt(j, lastIndex), length));
            a = V::gather(s.samples, i);
            b = V::gather(s.samples, j);
        }
        const F y = V::add(V::mul(V::sub(V::set1(1.0f), frac), a), V::mul(frac, b));
        V::store(s.output + n, flush<V>(y));
    }
}

// ------------------------------------------------------------ combs

// The sixteen combs, kWidth at a time ("a group"; one channel's combs fill
// one or two groups). wet[] receives each channel's sum of comb outputs, added
// in comb order from 0.
template <class V>
KORVEX_INLINE void combs(NetworkStage& s, float* wetL, float* wetR) {
    using F = typename V::F;
    constexpr int W = V::kWidth;
    constexpr int kPerChannel = block::kCombs / W;
    constexpr int kGroups = 2 * kPerChannel;
    const int32_t frames = s.frames;

    Window<V> windows[kGroups][W];
    F complement[kGroups][W];
    F feedback[kGroups][W];
    F damping[kGroups];
    F state[kGroups];
    for (int g = 0; g < kGroups; ++g) {
        const CombBank& bank = s.combs[g / kPerChannel];
        const int first = (g % kPerChannel) * W;
        for (int k = 0; k < W; ++k) {
            windows[g][k].open(bank.lines[first + k], frames);
            complement[g][k] = V::set1(bank.complement[first + k]);
            feedback[g][k] = V::set1(bank.feedback[first + k]);
        }
        damping[g] = V::load(bank.damping + first);
        state[g] = V::load(bank.state + first);
    }

    for (int32_t n = 0; n < frames; n += W) {
        // Read ahead: each comb's outputs for the chunk, summed per channel,
        // weighted for the low-pass and turned into one vector per frame.
        F columns[kGroups][W];
        for (int g = 0; g < kGroups; ++g) {
            float* wet = g < kPerChannel ? wetL : wetR;
            F sum = g % kPerChannel == 0 ? V::set1(0.0f) : V::load(wet + n);
            for (int k = 0; k < W; ++k) {
                const F out = flush<V>(V::load(windows[g][k].row + n));
                sum = V::add(sum, out);
                columns[g][k] = V::mul(complement[g][k], out);
            }
            V::store(wet + n, sum);
            V::transpose(columns[g]);
        }
        // The low-pass recurrence, one frame after the other, every group
        // side by side so that their latencies overlap. The flush of the
        // state sits on that chain of dependent steps; it is left out as long
        // as no state falls into the range it would clear (only a tail fading
        // into silence gets there), and the chunk is run again with it if one does.
        const int32_t steps = frames - n < W ? frames - n : W;
        F filtered[kGroups][W];
        F running[kGroups];
        F smallest = V::set1(kNoSmaller);
        for (int g = 0; g < kGroups; ++g) running[g] = state[g];
        for (int32_t k = 0; k < steps; ++k) {
            for (int g = 0; g < kGroups; ++g) {
                running[g] = V::add(V::mul(damping[g], running[g]), columns[g][k]);
                smallest = V::min(magnitude<V>(running[g]), smallest);
                filtered[g][k] = running[g];
            }
        }
        // Below the bound (exact zeros, mostly): look closer.
        bool fell = false;
        if (V::any(V::lt(smallest, V::set1(kFlushBound)))) {
            F mask = V::set1(0.0f);
            for (int32_t k = 0; k < steps; ++k) {
                for (int g = 0; g < kGroups; ++g) mask = V::bitOr(mask, tiny<V>(filtered[g][k]));
            }
            fell = V::any(mask);
        }
        if (fell) {
            for (int32_t k = 0; k < steps; ++k) {
                for (int g = 0; g < kGroups; ++g) {
                    state[g] = flush<V>(V::add(V::mul(damping[g], state[g]), columns[g][k]));
                    filtered[g][k] = state[g];
                }
            }
        } else {
            for (int g = 0; g < kGroups; ++g) state[g] = running[g];
        }
        // Write back: filtered sample times the loop gain plus the feed.
        const F input = s.delayed != nullptr ? V::load(s.delayed + n) : V::set1(0.0f);
        for (int g = 0; g < kGroups; ++g) {
            V::transpose(filtered[g]);
            for (int k = 0; k < W; ++k) {
                V::store(windows[g][k].row + n, V::add(V::mul(filtered[g][k], feedback[g][k]), input));
            }
        }
    }
    for (int g = 0; g < kGroups; ++g) {
        CombBank& bank = s.combs[g / kPerChannel];
        const int first = (g % kPerChannel) * W;
        V::store(bank.state + first, state[g]);
        for (int k = 0; k < W; ++k) windows[g][k].close(bank.lines[first + k], frames);
    }
}

// ------------------------------------------------------------ the network

// The four all-passes of one channel in series, a chunk at a time, so the
// signal stays in a register from one to the next.
template <class V>
KORVEX_INLINE void allpassChain(const AllpassChain& chain, float* signal, int32_t frames) {
    using F = typename V::F;
    Window<V> windows[block::kAllpasses];
    F gain[block::kAllpasses];
    for (int i = 0; i < block::kAllpasses; ++i) {
        windows[i].open(chain.lines[i], frames);
        gain[i] = V::set1(chain.feedback[i]);
    }
    for (int32_t n = 0; n < frames; n += V::kWidth) {
        F x = V::load(signal + n);
        for (int i = 0; i < block::kAllpasses; ++i) {
            const F delayed = flush<V>(V::load(windows[i].row + n));
            V::store(windows[i].row + n, V::add(V::mul(delayed, gain[i]), x));
            x = V::sub(delayed, x);
        }
        V::store(signal + n, x);
    }
    for (int i = 0; i < block::kAllpasses; ++i) windows[i].close(chain.lines[i], frames);
}

// A control track's value at frame n. kSteady: the sub-block has no moving
// gain or crossfade, so every track is its single value.
template <class V, bool kSteady>
KORVEX_INLINE typename V::F at(const Track& t, int32_t n) {
    return kSteady ? V::set1(t.value) : track<V>(t, n);
}

// Output clippers, dry path, wet-only and mix matrices, output trims and the
// effect crossfade.
template <class V, bool kSteady>
KORVEX_INLINE void mixdown(NetworkStage& s, const float* wetL, const float* wetR) {
    using F = typename V::F;
    F flagsL = V::set1(0.0f);
    F flagsR = V::set1(0.0f);
    const F upperL = V::set1(s.clipUpper[0]);
    const F lowerL = V::set1(s.clipLower[0]);
    const F upperR = V::set1(s.clipUpper[1]);
    const F lowerR = V::set1(s.clipLower[1]);
    const F same = V::set1(s.sameGain);
    const F cross = V::set1(s.crossGain);
    for (int32_t n = 0; n < s.frames; n += V::kWidth) {
        const F valid = validLanes<V>(n, s.frames);
        const F wL = softClip<V>(V::load(wetL + n), upperL, lowerL, valid, flagsL);
        const F wR = softClip<V>(V::load(wetR + n), upperR, lowerR, valid, flagsR);
        // Dry path, faded towards silence by mute.
        const F dL = fade<V>(at<V, kSteady>(s.mute[0], n), V::set1(0.0f), V::load(s.trimmed[0] + n));
        const F dR = fade<V>(at<V, kSteady>(s.mute[1], n), V::set1(0.0f), V::load(s.trimmed[1] + n));
        // Wet-only matrix and the mix matrix.
        const F altL = V::add(V::mul(same, wL), V::mul(cross, wR));
        const F altR = V::add(V::mul(same, wR), V::mul(cross, wL));
        const F g1 = at<V, kSteady>(s.wetSame, n);
        const F g2 = at<V, kSteady>(s.wetCross, n);
        const F gd = at<V, kSteady>(s.dry, n);
        const F mixL = V::add(V::add(V::mul(g1, wL), V::mul(g2, wR)), V::mul(gd, dL));
        const F mixR = V::add(V::add(V::mul(g1, wR), V::mul(g2, wL)), V::mul(gd, dR));
        const F pL = fade<V>(at<V, kSteady>(s.wetOnly[0], n), altL, mixL);
        const F pR = fade<V>(at<V, kSteady>(s.wetOnly[1], n), altR, mixR);
        // Output trims, then the effect crossfade against the raw input; the
        // output is flushed as in processSample, so no denormal reaches the host.
        const F yL = V::mul(at<V, kSteady>(s.outTrim[0], n), pL);
        const F yR = V::mul(at<V, kSteady>(s.outTrim[1], n), pR);
        const F outL = fade<V>(at<V, kSteady>(s.effect[0], n), yL, V::load(s.in[0] + n));
        const F outR = fade<V>(at<V, kSteady>(s.effect[1], n), yR, V::load(s.in[1] + n));
        V::store(s.out[0] + n, flush<V>(outL));
        V::store(s.out[1] + n, flush<V>(outR));
    }
    s.overload[0] = V::any(flagsL);
    s.overload[1] = V::any(flagsR);
}

template <class V>
void network(NetworkStage& s) {
    float wetL[kBufferFrames];
    float wetR[kBufferFrames];
    combs<V>(s, wetL, wetR);
    allpassChain<V>(s.allpasses[0], wetL, s.frames);
    allpassChain<V>(s.allpasses[1], wetR, s.frames);
    const Track* tracks[] = {&s.mute[0],    &s.mute[1],   &s.wetOnly[0], &s.wetOnly[1], &s.effect[0],
                             &s.effect[1],  &s.outTrim[0], &s.outTrim[1], &s.wetSame,   &s.wetCross,
                             &s.dry};
    bool steady = true;
    for (const Track* t : tracks) steady = steady && t->frames == nullptr;
    if (steady) {
        mixdown<V, true>(s, wetL, wetR);
    } else {
        mixdown<V, false>(s, wetL, wetR);
    }
}

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07

#undef KORVEX_INLINE
