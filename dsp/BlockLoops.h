// BlockLoops: the sub-block loops of the reverb, written once over a vector
// instruction set V and compiled once per set (BlockKernelsSse2.cpp,
// BlockKernelsAvx2.cpp, BlockKernelsAvx512.cpp).
//
// What makes a whole sub-block computable at once: every comb and all-pass
// loop is longer than the longest sub-block, so all the samples a sub-block
// reads from a loop were written before it started. A loop is therefore read
// ahead as a row of samples, vectorised across time. The only per-frame
// recurrence left is each comb's one-pole low-pass; it runs with the combs
// side by side in the vector lanes, between two transpositions.
//
// Each operation below is the per-frame path's own operation on the same
// operands in the same order, with two exceptions, each a few units in the
// last place apart: the soft clippers multiply by the reciprocals of their
// constant divisors, and where V::kFused is true (AVX2 and AVX-512 with FMA)
// a product added to a sum is fused into one rounding. Every flush,
// threshold and switch decision stays where the per-frame path takes it.
//
// V provides, on vectors F of kWidth floats and I of kWidth 32-bit integers:
// kFused, load/store (unaligned), set1, add, sub, mul, div, min (a < b ?
// a : b, so a NaN in a gives b), the bit operations and, andNot (~a & b),
// or, the comparisons lt, le, gt, ge, notLt (true for NaN), unordered,
// select(mask, a, b), any(mask), allBitsZero (every lane +0),
// keepAtLeast(x, m, bound) (x where m is not below bound, else +0),
// crossedAny(u, upper, lower, valid) (a valid lane above upper, below lower
// or not a number),
// firstLanes(count), transpose of kWidth rows, and for the pre-delay: ramp(start) (start + lane), iset1,
// iadd, isub, igt, iand, lane0, same (all lanes equal), toFloat, truncate
// and gather; where kFused, also mulAdd (a * b + c), negMulAdd (c - a * b)
// and broadcast (one float from memory into every lane).
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
    return V::keepAtLeast(x, V::andNot(V::set1(-0.0f), x), V::set1(kFlushBound));
}

template <class V>
KORVEX_INLINE typename V::F magnitude(typename V::F x) {
    return V::andNot(V::set1(-0.0f), x);
}

// Larger than any magnitude a finite sample has.
constexpr float kNoSmaller = 3.0e38f;

// a * b + c.
template <class V>
KORVEX_INLINE typename V::F mulAdd(typename V::F a, typename V::F b, typename V::F c) {
    if constexpr (V::kFused) {
        return V::mulAdd(a, b, c);
    } else {
        return V::add(V::mul(a, b), c);
    }
}

// sum + a * b.
template <class V>
KORVEX_INLINE typename V::F addProduct(typename V::F sum, typename V::F a, typename V::F b) {
    if constexpr (V::kFused) {
        return V::mulAdd(a, b, sum);
    } else {
        return V::add(sum, V::mul(a, b));
    }
}

// a * b + c * d, added in that order; fused, c * d joins the sum unrounded.
template <class V>
KORVEX_INLINE typename V::F productSum(typename V::F a, typename V::F b, typename V::F c, typename V::F d) {
    if constexpr (V::kFused) {
        return V::mulAdd(c, d, V::mul(a, b));
    } else {
        return V::add(V::mul(a, b), V::mul(c, d));
    }
}

template <class V>
KORVEX_INLINE typename V::F track(const Track& t, int32_t n) {
    return t.frames != nullptr ? V::load(t.frames + n) : V::set1(t.value);
}

// (1 - position) * off + position * on: a crossfader's output.
template <class V>
KORVEX_INLINE typename V::F fade(typename V::F position, typename V::F on, typename V::F off) {
    return productSum<V>(V::sub(V::set1(1.0f), position), off, position, on);
}

// Magnitude of x / 24 below which the soft clipper's cubic term cannot
// change its result.
constexpr float kNegligibleCube = 1e-6f;

// The cubic soft clipper, flat beyond |x| = 24; flags collects the lanes
// (within valid) whose input crossed the thresholds or was not a number.
template <class V>
KORVEX_INLINE typename V::F softClip(typename V::F x, typename V::F upper, typename V::F lower,
                       typename V::F valid, typename V::F& flags) {
    using F = typename V::F;
    // x / 24 and x * (1 / 24) are on the same side of the thresholds and of
    // +-1 for every float x (checked over all floats near them), so the
    // reciprocal changes no overload report and no saturation; a division
    // would cost more than the rest of the clipper.
    const F u = V::mul(x, V::set1(1.0f / 24.0f));
    // Below 1e-6, u^3 / 3 is far less than a quarter of a unit in the last
    // place of u, so u - u^3 / 3 is u; the cube would only sink into the
    // subnormal numbers, which cost the processor dearly while a tail fades
    // out. Those lanes cube +0 instead: u - 0 is u, the sign of a zero u
    // included.
    const F c = V::keepAtLeast(u, magnitude<V>(u), V::set1(kNegligibleCube));
    F shaped;
    if constexpr (V::kFused) {
        shaped = V::negMulAdd(V::mul(c, c), V::mul(c, V::set1(1.0f / 3.0f)), u);
    } else {
        shaped = V::sub(u, V::mul(V::mul(c, c), V::mul(c, V::set1(1.0f / 3.0f))));
    }
    // The thresholds lie within +-1, so a chunk that crossed none is a
    // number throughout and short of the flat ends: the cubic is the answer.
    if (V::crossedAny(u, upper, lower, valid)) {
        const F notNumber = V::unordered(u, u);
        flags = V::bitOr(flags, V::bitAnd(V::bitOr(V::bitOr(V::gt(u, upper), V::lt(u, lower)), notNumber), valid));
        shaped = V::select(notNumber, V::set1(0.0f), shaped);
        shaped = V::select(V::le(u, V::set1(-1.0f)), V::set1(-2.0f / 3.0f), shaped);
        shaped = V::select(V::ge(u, V::set1(1.0f)), V::set1(2.0f / 3.0f), shaped);
    }
    return V::mul(V::set1(24.0f), shaped);
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

// The frames samples of the pre-delay line that a sub-block writes, as one
// contiguous row of whole vectors. Where the row would run
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

// Copies the kMaxFrames samples of a loop's start to its mirror or back.
template <class V>
KORVEX_INLINE void copyMirror(float* to, const float* from) {
    for (int32_t n = 0; n < block::kMaxFrames; n += V::kWidth) V::store(to + n, V::load(from + n));
}

// The rows of kCount delay loops for one sub-block (the loops of a comb bank
// or an all-pass chain), each read and written frame by frame. The first
// kMaxFrames samples of these loops are mirrored behind their ends, so a row
// is always the loop's own memory from the read index on, even where it
// wraps round the end. A local copy of a wrapping row, made before and
// written back after, cost a tenth of the engine's time: copies of lengths
// the branch predictor cannot foresee, and row loads the processor cannot
// forward from the copy's stores.
template <class V, int kCount>
struct Rows {
    float* row[kCount];

    KORVEX_INLINE void open(const Line* lines) {
        for (int k = 0; k < kCount; ++k) row[k] = lines[k].samples + lines[k].position;
    }

    // After the sub-block: what a row wrote behind the end of its loop
    // belongs at the loop's start, and what it wrote among the first
    // kMaxFrames samples is mirrored behind the end. Nothing reads these
    // copies until the loop comes round again, so they may take their time.
    // The read positions move on by frames.
    KORVEX_INLINE void close(Line* lines, int32_t frames) {
        uint32_t wrapped = 0;
        uint32_t atStart = 0;
        for (int k = 0; k < kCount; ++k) {
            Line& line = lines[k];
            wrapped |= static_cast<uint32_t>(line.position > line.length - frames) << k;
            atStart |= static_cast<uint32_t>(line.position < block::kMaxFrames) << k;
            line.position += frames;
            if (line.position >= line.length) line.position -= line.length;
        }
        // Whole mirrors at a time, a fixed number of vectors: the samples
        // beyond those written are copies of each other already.
        for (uint32_t left = wrapped; left != 0; left &= left - 1) {
            const Line& line = lines[__builtin_ctz(left)];
            copyMirror<V>(line.samples, line.samples + line.length);
        }
        for (uint32_t left = atStart; left != 0; left &= left - 1) {
            const Line& line = lines[__builtin_ctz(left)];
            copyMirror<V>(line.samples + line.length, line.samples);
        }
    }
};

// ------------------------------------------------------------ feed

// kSteady: both trims hold one value over the sub-block.
template <class V, bool kMuted, bool kSteady>
KORVEX_INLINE void feedLoop(FeedStage& s) {
    using F = typename V::F;
    // In locals: the stores below could otherwise alias the stage.
    const int32_t frames = s.frames;
    const float* const inL = s.in[0];
    const float* const inR = s.in[1];
    const Track trimL = s.inTrim[0];
    const Track trimR = s.inTrim[1];
    const F heldL = V::set1(trimL.value);
    const F heldR = V::set1(trimR.value);
    float* const trimmedL = s.trimmed[0];
    float* const trimmedR = s.trimmed[1];
    float* const out = s.feed;
    F flags = V::set1(0.0f);
    const F upper = V::set1(s.clipUpper);
    const F lower = V::set1(s.clipLower);
    for (int32_t n = 0; n < frames; n += V::kWidth) {
        const F gainL = kSteady ? heldL : track<V>(trimL, n);
        const F gainR = kSteady ? heldR : track<V>(trimR, n);
        const F xL = V::mul(V::mul(V::load(inL + n), V::set1(0.5f)), gainL);
        const F xR = V::mul(V::mul(V::load(inR + n), V::set1(0.5f)), gainR);
        V::store(trimmedL + n, xL);
        V::store(trimmedR + n, xR);
        if constexpr (!kMuted) {
            // Only the lanes within the sub-block may report an overload.
            const F valid = n + V::kWidth <= frames ? V::firstLanes(V::kWidth) : V::firstLanes(frames - n);
            const F sum = V::mul(V::add(xL, xR), V::set1(0.015f));
            V::store(out + n, softClip<V>(sum, upper, lower, valid, flags));
        }
    }
    s.overload = V::any(flags);
}

template <class V>
void feed(FeedStage& s) {
    const bool steady = s.inTrim[0].frames == nullptr && s.inTrim[1].frames == nullptr;
    if (s.muted) {
        feedLoop<V, true, false>(s);
    } else if (steady) {
        feedLoop<V, false, true>(s);
    } else {
        feedLoop<V, false, false>(s);
    }
}

// ------------------------------------------------------------ pre-delay

// The exponent field of a float that is not negative.
KORVEX_INLINE uint32_t binade(float x) {
    uint32_t bits;
    __builtin_memcpy(&bits, &x, sizeof bits);
    return bits >> 23;
}

template <class V>
void preDelay(PreDelayStage& s) {
    using F = typename V::F;
    using I = typename V::I;
    // Writes first: a read may then find samples written earlier in this
    // sub-block, as the per-frame path would (delays from 1 sample up).
    // In locals: the stores below could otherwise alias the stage.
    const int32_t frames = s.frames;
    float* const samples = s.samples;
    const int32_t lineLength = s.length;
    const int32_t writePosition = s.writePosition;
    const Track delay = s.delay;
    const float* const input = s.input;
    float* const output = s.output;
    Window<V> window;
    const Line line{samples, lineLength, writePosition};
    window.open(line, frames);
    float* const row = window.row;
    for (int32_t n = 0; n < frames; n += V::kWidth) V::store(row + n, flush<V>(V::load(input + n)));
    window.close(line, frames);

    // A steady delay, with neither the writes nor the reads wrapping round
    // the line: while the read positions stay within one binade (the same
    // rounding grid, on which every whole number of frames lies), frame n
    // reads exactly n samples on from the first frame, at the same fraction,
    // so the samples come in two plain rows.
    if (delay.frames == nullptr && writePosition + frames <= lineLength) {
        const float first = static_cast<float>(writePosition) - delay.value;
        const float last = static_cast<float>(writePosition + frames - 1) - delay.value;
        if (first >= 0.0f && binade(first) == binade(last)) {
            const int32_t start = static_cast<int32_t>(first);  // the floor: first is not negative
            if (start + frames + V::kWidth < lineLength) {
                const F frac = V::set1(first - static_cast<float>(start));
                const F keep = V::sub(V::set1(1.0f), frac);
                const float* const a = samples + start;
                for (int32_t n = 0; n < frames; n += V::kWidth) {
                    V::store(output + n, flush<V>(productSum<V>(keep, V::load(a + n), frac, V::load(a + n + 1))));
                }
                return;
            }
        }
    }

    const I length = V::iset1(lineLength);
    const I lastIndex = V::iset1(lineLength - 1);
    const F lengthF = V::set1(static_cast<float>(lineLength));
    for (int32_t n = 0; n < frames; n += V::kWidth) {
        I position = V::ramp(writePosition + n);
        position = V::isub(position, V::iand(V::igt(position, lastIndex), length));
        F readPos = V::sub(V::toFloat(position), track<V>(delay, n));
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
        if (first + V::kWidth < lineLength && V::same(i, V::ramp(first))) {
            a = V::load(samples + first);
            b = V::load(samples + first + 1);
        } else {
            I j = V::iadd(i, V::iset1(1));
            j = V::isub(j, V::iand(V::igt(j, lastIndex), length));
            a = V::gather(samples, i);
            b = V::gather(samples, j);
        }
        const F y = productSum<V>(V::sub(V::set1(1.0f), frac), a, frac, b);
        V::store(output + n, flush<V>(y));
    }
}

// ------------------------------------------------------------ combs

// a * b + c for one frame, rounded the way the vector set V rounds it, so
// that a frame gives the same bits whether it falls in a whole vector or in
// the frames after the last one (the output never depends on how the host
// cuts its blocks).
template <class V>
KORVEX_INLINE float mulAddFrame(float a, float b, float c) {
    if constexpr (V::kFused) {
        return __builtin_fmaf(a, b, c);
    } else {
        return a * b + c;
    }
}

// One comb for one frame, as CombFilter::process (with V's rounding): for
// the frames after the last whole vector of a sub-block.
template <class V>
KORVEX_INLINE float combFrame(float* sample, float damping, float complement, float feedback,
                              float& state, float input) {
    const float out = *sample;
    const float y = out > -kFlushBound && out < kFlushBound ? 0.0f : out;
    state = mulAddFrame<V>(damping, state, complement * y);
    if (state > -kFlushBound && state < kFlushBound) state = 0.0f;
    *sample = mulAddFrame<V>(state, feedback, input);
    return y;
}

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
KORVEX_INLINE typename V::F lowPass(typename V::F damping, typename V::F state, typename V::F complement,
                                    typename V::F sample) {
    if constexpr (V::kFused) {
        return V::mulAdd(damping, state, V::mul(complement, sample));
    } else {
        return V::add(V::mul(damping, state), V::mul(complement, sample));
    }
}

// Writes state * feedback + input back into the loops: r holds the group's
// low-pass states frame by frame (one comb per lane) and is used up.
template <class V>
KORVEX_INLINE void writeBack(float* const* rows, int32_t n, const float* input, typename V::F feedback,
                             typename V::F* r) {
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
        mask = V::bitOr(mask, V::bitAnd(V::lt(m, V::set1(kFlushBound)), V::gt(m, V::set1(0.0f))));
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
                                                  typename V::F* sums, const typename V::F* states) {
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
    // Silence: no feed, low-passes at rest and nothing but zeros in the
    // loops. The per-frame path would add zeros to the wet sum and write
    // zeros back over zeros, so the chunk is left as it is. Only looked for
    // where the whole sub-block's feed is silent, so sound pays nothing.
    if (kFeedSilent && V::allBitsZero(lanes.state)) {
        F any = V::load(rows[0] + n);
        for (int k = 1; k < W; ++k) any = V::bitOr(any, V::load(rows[k] + n));
        if (V::allBitsZero(any)) return;
    }
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
    if (V::any(V::lt(smallest, V::set1(kFlushBound)))) {
        // A copy, so only this rare branch puts the states in memory.
        F reached[W];
        for (int j = 0; j < W; ++j) reached[j] = r[j];
        F again[2] = {before[0], before[1]};
        if (combChunkWithFlush<V, kSplit>(rows, n, input, lanes.damping, lanes.complement, lanes.feedback,
                                          lanes.state, again, reached)) {
            sums[0] = again[0];
            if (kSplit) sums[1] = again[1];
            return;
        }
    }
    lanes.state = running;
    writeBack<V>(rows, n, input, lanes.feedback, r);
}

// Two groups along the sub-block side by side, so that their low-pass
// recurrences (chains of dependent steps) overlap. With two groups per
// channel they are that channel's (wetB == nullptr: both add to wetA, in
// comb order); with one, the two channels'.
template <class V, bool kFeedSilent>
KORVEX_INLINE void combPair(float* const* rowsA, float* const* rowsB, CombLanes<V>& lanesA,
                            CombLanes<V>& lanesB, const float* input, float* wetA, float* wetB, int32_t whole) {
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
KORVEX_INLINE void combsAsOneGroup(float* const* rows, CombLanes<V>& lanes, const float* input, float* wetL,
                                   float* wetR, int32_t whole) {
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
KORVEX_INLINE void combsBothChannels(NetworkStage& s, float* const* const* rows, const float* input, bool feedSilent,
                                     float* wetL, float* wetR, int32_t whole) {
    float* all[2 * block::kCombs];
    for (int k = 0; k < block::kCombs; ++k) {
        all[k] = rows[0][k];
        all[block::kCombs + k] = rows[1][k];
    }
    const CombBank& left = s.combs[0];
    const CombBank& right = s.combs[1];
    CombLanes<V> lanes{V::loadHalves(left.damping, right.damping), V::loadHalves(left.complement, right.complement),
                       V::loadHalves(left.feedback, right.feedback), V::loadHalves(left.state, right.state)};
    if (feedSilent) {
        combsAsOneGroup<V, true>(all, lanes, input, wetL, wetR, whole);
    } else {
        combsAsOneGroup<V, false>(all, lanes, input, wetL, wetR, whole);
    }
    V::storeHalves(s.combs[0].state, s.combs[1].state, lanes.state);
}

// The sixteen combs, kWidth at a time ("a group"; one channel's combs fill
// one or two groups, or half of one). wet[] receives each channel's sum of comb outputs, added
// in comb order from 0.
template <class V>
__attribute__((noinline)) void combs(NetworkStage& s, float* wetL, float* wetR) {
    constexpr int W = V::kWidth;
    static_assert(W == 4 || W == 8 || W == 16, "one channel's combs fill two groups or one, or half of one");
    const int32_t frames = s.frames;
    const int32_t whole = frames - frames % W;

    Rows<V, block::kCombs> banks[2];
    banks[0].open(s.combs[0].lines);
    banks[1].open(s.combs[1].lines);
    float* const* const rows[2] = {banks[0].row, banks[1].row};
    // The feed while muted: exact zeros.
    static const float silence[kBufferFrames] = {};
    // Whether the feed of the whole vectors is exact silence (+0 throughout).
    bool feedSilent = true;
    if (s.delayed != nullptr) {
        typename V::F any = V::set1(0.0f);
        for (int32_t n = 0; n < whole; n += W) any = V::bitOr(any, V::load(s.delayed + n));
        feedSilent = V::allBitsZero(any);
    }
    const float* input = s.delayed != nullptr ? s.delayed : silence;
    if constexpr (W == 16) {
        combsBothChannels<V>(s, rows, input, feedSilent, wetL, wetR, whole);
    } else {
        constexpr int kPerChannel = block::kCombs / W;
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
            if (feedSilent) {
                combPair<V, true>(rowsA, rowsB, lanes[pair], lanes[pair + 1], input, wetA, wetB, whole);
            } else {
                combPair<V, false>(rowsA, rowsB, lanes[pair], lanes[pair + 1], input, wetA, wetB, whole);
            }
        }
        for (int g = 0; g < kGroups; ++g) {
            CombBank& bank = s.combs[g / kPerChannel];
            V::store(bank.state + (g % kPerChannel) * W, lanes[g].state);
        }
    }
    // The frames short of a whole vector, one comb at a time.
    for (int side = 0; side < 2; ++side) {
        CombBank& bank = s.combs[side];
        float* wet = side == 0 ? wetL : wetR;
        // The whole last vector: the lanes past the sub-block hold silence.
        if (whole < frames) {
            for (int32_t n = whole; n < whole + W; ++n) wet[n] = 0.0f;
        }
        for (int k = 0; k < block::kCombs; ++k) {
            for (int32_t n = whole; n < frames; ++n) {
                const float input = s.delayed != nullptr ? s.delayed[n] : 0.0f;
                wet[n] += combFrame<V>(rows[side][k] + n, bank.damping[k], bank.complement[k], bank.feedback[k],
                                    bank.state[k], input);
            }
        }
        banks[side].close(bank.lines, frames);
    }
}

// ------------------------------------------------------------ the network

// One all-pass for one frame, as AllpassFilter::process (with V's
// rounding): for the frames after the last whole vector of a sub-block.
template <class V>
KORVEX_INLINE float allpassFrame(float* sample, float feedback, float input) {
    const float stored = *sample;
    const float delayed = stored > -kFlushBound && stored < kFlushBound ? 0.0f : stored;
    *sample = mulAddFrame<V>(delayed, feedback, input);
    return delayed - input;
}

// One all-pass for a chunk: returns its output, delayed - x, after writing
// delayed * gain + x into its loop; with out, stores the output there.
template <class V>
KORVEX_INLINE typename V::F allpassStep(float* sample, typename V::F gain, typename V::F x, float* out = nullptr) {
    const typename V::F delayed = flush<V>(V::load(sample));
    V::store(sample, mulAdd<V>(delayed, gain, x));
    const typename V::F y = V::sub(delayed, x);
    if (out != nullptr) V::store(out, y);
    return y;
}

// The four all-passes of each channel in series, a chunk at a time, so the
// signal stays in a register from one to the next; signal[side] holds the
// comb sums on entry and the diffused signal on return.
template <class V>
__attribute__((noinline)) void allpassChains(AllpassChain* chains, float* const* signal, int32_t frames) {
    using F = typename V::F;
    constexpr int kLines = block::kAllpasses;
    const int32_t whole = frames - frames % V::kWidth;
    Rows<V, kLines> chain[2];
    chain[0].open(chains[0].lines);
    chain[1].open(chains[1].lines);
    float* const* const rows[2] = {chain[0].row, chain[1].row};
    // One channel at a time: its rows and gains stay in registers.
    for (int side = 0; side < 2; ++side) {
        float* const row0 = rows[side][0];
        float* const row1 = rows[side][1];
        float* const row2 = rows[side][2];
        float* const row3 = rows[side][3];
        const F gain0 = V::set1(chains[side].feedback[0]);
        const F gain1 = V::set1(chains[side].feedback[1]);
        const F gain2 = V::set1(chains[side].feedback[2]);
        const F gain3 = V::set1(chains[side].feedback[3]);
        float* const x = signal[side];
        for (int32_t n = 0; n < whole; n += V::kWidth) {
            allpassStep<V>(row3 + n, gain3,
                           allpassStep<V>(row2 + n, gain2,
                                          allpassStep<V>(row1 + n, gain1,
                                                         allpassStep<V>(row0 + n, gain0, V::load(x + n)))),
                           x + n);
        }
    }
    for (int side = 0; side < 2; ++side) {
        for (int32_t n = whole; n < frames; ++n) {
            float x = signal[side][n];
            for (int i = 0; i < kLines; ++i) x = allpassFrame<V>(rows[side][i] + n, chains[side].feedback[i], x);
            signal[side][n] = x;
        }
        chain[side].close(chains[side].lines, frames);
    }
}

// Where a crossfader stands over the sub-block. A settled fader sits exactly
// at 0 (kOff) or 1 (kOn), where its mix (1 - p) * off + p * on is off * 1 +
// on * 0 or off * 0 + on * 1: the products with 1 change nothing and are left
// out. Those with 0 stay where the signal they weigh may be infinite or not a
// number (a host's input): 0 times it is then not a number, as in the
// per-frame path. They go where that signal is always finite (the clipped
// wet signal, or the silence a mute fades to): 0 times it adds only a zero.
enum class Fade { kMoving, kOff, kOn };

template <class V, Fade kFade, bool kOnFinite>
KORVEX_INLINE typename V::F crossfade(const Track& position, int32_t n, typename V::F on, typename V::F off) {
    if constexpr (kFade == Fade::kOff) {
        if constexpr (kOnFinite) {
            return off;
        } else {
            return V::add(off, V::mul(V::set1(0.0f), on));
        }
    } else if constexpr (kFade == Fade::kOn) {
        return V::add(V::mul(V::set1(0.0f), off), on);
    } else {
        return fade<V>(track<V>(position, n), on, off);
    }
}

// A gain over the sub-block; kSteady: every gain holds one value throughout,
// read once before the loop instead of tested at every chunk.
template <class V, bool kSteady>
KORVEX_INLINE typename V::F gain(const Track& t, typename V::F held, int32_t n) {
    if constexpr (kSteady) {
        return held;
    } else {
        return track<V>(t, n);
    }
}

// Output clippers, dry path, wet-only and mix matrices, output trims and the
// effect crossfade. Everything the loop reads from the stage is copied into
// locals first: the stores to the output could otherwise alias it, and the
// compiler would load it again for every vector.
template <class V, Fade kMute, Fade kWetOnly, Fade kEffect, bool kSteady>
__attribute__((noinline)) void mixdown(NetworkStage& s, const float* wetL, const float* wetR) {
    using F = typename V::F;
    const int32_t frames = s.frames;
    const float* const inL = s.in[0];
    const float* const inR = s.in[1];
    const float* const trimmedL = s.trimmed[0];
    const float* const trimmedR = s.trimmed[1];
    float* const outL = s.out[0];
    float* const outR = s.out[1];
    const Track muteL = s.mute[0];
    const Track muteR = s.mute[1];
    const Track wetOnlyL = s.wetOnly[0];
    const Track wetOnlyR = s.wetOnly[1];
    const Track effectL = s.effect[0];
    const Track effectR = s.effect[1];
    const Track outTrimL = s.outTrim[0];
    const Track outTrimR = s.outTrim[1];
    const Track wetSame = s.wetSame;
    const Track wetCross = s.wetCross;
    const Track dry = s.dry;
    const F heldSame = V::set1(wetSame.value);
    const F heldCross = V::set1(wetCross.value);
    const F heldDry = V::set1(dry.value);
    const F heldTrimL = V::set1(outTrimL.value);
    const F heldTrimR = V::set1(outTrimR.value);
    // The lanes past the sub-block carry silence from the combs on, which
    // never crosses a threshold: every lane may report.
    const F valid = V::firstLanes(V::kWidth);
    F flagsL = V::set1(0.0f);
    F flagsR = V::set1(0.0f);
    const F upperL = V::set1(s.clipUpper[0]);
    const F lowerL = V::set1(s.clipLower[0]);
    const F upperR = V::set1(s.clipUpper[1]);
    const F lowerR = V::set1(s.clipLower[1]);
    const F same = V::set1(s.sameGain);
    const F cross = V::set1(s.crossGain);
    for (int32_t n = 0; n < frames; n += V::kWidth) {
        const F wL = softClip<V>(V::load(wetL + n), upperL, lowerL, valid, flagsL);
        const F wR = softClip<V>(V::load(wetR + n), upperR, lowerR, valid, flagsR);
        // Dry path, faded towards silence by mute.
        const F dL = crossfade<V, kMute, true>(muteL, n, V::set1(0.0f), V::load(trimmedL + n));
        const F dR = crossfade<V, kMute, true>(muteR, n, V::set1(0.0f), V::load(trimmedR + n));
        // Wet-only matrix and the mix matrix.
        const F g1 = gain<V, kSteady>(wetSame, heldSame, n);
        const F g2 = gain<V, kSteady>(wetCross, heldCross, n);
        const F gd = gain<V, kSteady>(dry, heldDry, n);
        const F mixL = addProduct<V>(productSum<V>(g1, wL, g2, wR), gd, dL);
        const F mixR = addProduct<V>(productSum<V>(g1, wR, g2, wL), gd, dR);
        F pL;
        F pR;
        if constexpr (kWetOnly == Fade::kOff) {
            pL = mixL;
            pR = mixR;
        } else {
            const F altL = productSum<V>(same, wL, cross, wR);
            const F altR = productSum<V>(same, wR, cross, wL);
            pL = crossfade<V, kWetOnly, true>(wetOnlyL, n, altL, mixL);
            pR = crossfade<V, kWetOnly, true>(wetOnlyR, n, altR, mixR);
        }
        // Output trims, then the effect crossfade against the raw input; the
        // output is flushed as in processSample, so no denormal reaches the host.
        const F yL = V::mul(gain<V, kSteady>(outTrimL, heldTrimL, n), pL);
        const F yR = V::mul(gain<V, kSteady>(outTrimR, heldTrimR, n), pR);
        const F mixedL = crossfade<V, kEffect, false>(effectL, n, yL, V::load(inL + n));
        const F mixedR = crossfade<V, kEffect, false>(effectR, n, yR, V::load(inR + n));
        V::store(outL + n, flush<V>(mixedL));
        V::store(outR + n, flush<V>(mixedR));
    }
    s.overload[0] = V::any(flagsL);
    s.overload[1] = V::any(flagsR);
}

// Where a fader's track rests: at either end, or anywhere else (moving).
KORVEX_INLINE Fade restsAt(const Track& t) {
    if (t.frames != nullptr) return Fade::kMoving;
    if (t.value == 0.0f) return Fade::kOff;
    return t.value == 1.0f ? Fade::kOn : Fade::kMoving;
}

template <class V>
void network(NetworkStage& s) {
    float wetL[kBufferFrames];
    float wetR[kBufferFrames];
    combs<V>(s, wetL, wetR);
    float* const wet[2] = {wetL, wetR};
    allpassChains<V>(s.allpasses, wet, s.frames);
    // With every fader settled at an end (the effect's, while the engine
    // runs, at 1), the mix needs no crossfades: one loop for each end the
    // mute and wet-only pairs rest at.
    const Fade mute = restsAt(s.mute[0]);
    const Fade wetOnly = restsAt(s.wetOnly[0]);
    const bool settled = mute != Fade::kMoving && wetOnly != Fade::kMoving && restsAt(s.mute[1]) == mute &&
                         restsAt(s.wetOnly[1]) == wetOnly && restsAt(s.effect[0]) == Fade::kOn &&
                         restsAt(s.effect[1]) == Fade::kOn;
    if (!settled) {
        mixdown<V, Fade::kMoving, Fade::kMoving, Fade::kMoving, false>(s, wetL, wetR);
        return;
    }
    // Steady: no gain ramps either, the common case of a sub-block.
    const bool steady = s.wetSame.frames == nullptr && s.wetCross.frames == nullptr && s.dry.frames == nullptr &&
                        s.outTrim[0].frames == nullptr && s.outTrim[1].frames == nullptr;
    if (mute == Fade::kOff && wetOnly == Fade::kOff) {
        if (steady) {
            mixdown<V, Fade::kOff, Fade::kOff, Fade::kOn, true>(s, wetL, wetR);
        } else {
            mixdown<V, Fade::kOff, Fade::kOff, Fade::kOn, false>(s, wetL, wetR);
        }
    } else if (mute == Fade::kOff) {
        mixdown<V, Fade::kOff, Fade::kOn, Fade::kOn, false>(s, wetL, wetR);
    } else if (wetOnly == Fade::kOff) {
        mixdown<V, Fade::kOn, Fade::kOff, Fade::kOn, false>(s, wetL, wetR);
    } else {
        mixdown<V, Fade::kOn, Fade::kOn, Fade::kOn, false>(s, wetL, wetR);
    }
}

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07

#undef KORVEX_INLINE
