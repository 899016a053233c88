// BlockLoopPreDelay: the pre-delay line over a sub-block. It writes the
// sub-block's inputs first, then reads its outputs with linear interpolation
// between two neighbouring samples, as PreDelayLine::process does frame by
// frame. The engine runs it only where the delay leaves no read that the
// per-frame path would make before the write it depends on.
#pragma once

#include <cstdint>

#include "dsp/BlockLoopRows.h"
#include "dsp/BlockLoopVector.h"

namespace ZEPHRA2F9C41D07 {
namespace {
namespace loops {

// The exponent field of a float that is not negative.
KORVEX_INLINE uint32_t binade(float x) {
    uint32_t bits;
    __builtin_memcpy(&bits, &x, sizeof bits);
    return bits >> 23;
}

// Writes the flushed inputs into the line at its write position.
template <class V>
KORVEX_INLINE void preDelayWrite(const Line& line, const float* input, int32_t frames) {
    Window<V> window;
    window.open(line, frames);
    float* const row = window.row;
    for (int32_t n = 0; n < frames; n += V::kWidth) V::store(row + n, flush<V>(V::load(input + n)));
    window.close(line, frames);
}

// A steady delay, with neither the writes nor the reads wrapping round the
// line: while the read positions stay within one binade (the same rounding
// grid, on which every whole number of frames lies), frame n reads exactly n
// samples on from the first frame, at the same fraction, so the samples come
// in two plain rows. False, nothing written, where that does not hold.
template <class V>
KORVEX_INLINE bool preDelayReadSteady(const Line& line, float delay, float* output,
                                      int32_t frames) {
    using F = typename V::F;
    if (line.position + frames > line.length) return false;
    const float first = static_cast<float>(line.position) - delay;
    const float last = static_cast<float>(line.position + frames - 1) - delay;
    if (!(first >= 0.0f && binade(first) == binade(last))) return false;
    const int32_t start = static_cast<int32_t>(first);  // the floor: first is not negative
    if (start + frames + V::kWidth >= line.length) return false;
    const F frac = V::set1(first - static_cast<float>(start));
    const F keep = V::sub(V::set1(1.0f), frac);
    const float* const a = line.samples + start;
    for (int32_t n = 0; n < frames; n += V::kWidth) {
        V::store(output + n,
                 flush<V>(productSum<V>(keep, V::load(a + n), frac, V::load(a + n + 1))));
    }
    return true;
}

// Any delay within the line: each lane finds its own read position.
template <class V>
KORVEX_INLINE void preDelayReadEach(const Line& line, const Track& delay, float* output,
                                    int32_t frames) {
    using F = typename V::F;
    using I = typename V::I;
    const I length = V::iset1(line.length);
    const I lastIndex = V::iset1(line.length - 1);
    const F lengthF = V::set1(static_cast<float>(line.length));
    for (int32_t n = 0; n < frames; n += V::kWidth) {
        I position = V::ramp(line.position + n);
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
        if (first + V::kWidth < line.length && V::same(i, V::ramp(first))) {
            a = V::load(line.samples + first);
            b = V::load(line.samples + first + 1);
        } else {
            I j = V::iadd(i, V::iset1(1));
            j = V::isub(j, V::iand(V::igt(j, lastIndex), length));
            a = V::gather(line.samples, i);
            b = V::gather(line.samples, j);
        }
        const F y = productSum<V>(V::sub(V::set1(1.0f), frac), a, frac, b);
        V::store(output + n, flush<V>(y));
    }
}

template <class V>
void preDelay(PreDelayStage& s) {
    // Writes first: a read may then find samples written earlier in this
    // sub-block, as the per-frame path would (delays from 1 sample up).
    // In locals: the stores below could otherwise alias the stage.
    const int32_t frames = s.frames;
    const Line line{s.samples, s.length, s.writePosition};
    const Track delay = s.delay;
    float* const output = s.output;
    preDelayWrite<V>(line, s.input, frames);
    if (delay.frames == nullptr && preDelayReadSteady<V>(line, delay.value, output, frames)) return;
    preDelayReadEach<V>(line, delay, output, frames);
}

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07
