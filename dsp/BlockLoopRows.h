// BlockLoopRows: how the sub-block loops reach into circular delay memory.
// A sub-block's samples of a loop are handled as one contiguous row: for the
// pre-delay line a window that is copied out and back where the row would
// wrap round the end; for the combs and all-passes, whose first sub-block of
// samples is mirrored behind the end, the loop's own memory, with the mirror
// brought up to date after the sub-block.
#pragma once

#include <cstdint>

#include "dsp/BlockLoopVector.h"

namespace ZEPHRA2F9C41D07 {
namespace {
namespace loops {

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
        const int32_t first =
            line.length - line.position < frames ? line.length - line.position : frames;
        copyFloats<V>(stage, line.samples + line.position, first);
        copyFloats<V>(stage + first, line.samples, frames - first);
        V::store(stage + frames, V::set1(0.0f));  // the lanes past the sub-block
        row = stage;
    }

    KORVEX_INLINE void close(const Line& line, int32_t frames) {
        if (!staged) return;
        const int32_t first =
            line.length - line.position < frames ? line.length - line.position : frames;
        copyFloats<V>(line.samples + line.position, stage, first);
        copyFloats<V>(line.samples, stage + first, frames - first);
    }
};

// Copies the kMaxSubBlockFrames samples of a loop's start to its mirror or back.
template <class V>
KORVEX_INLINE void copyMirror(float* to, const float* from) {
    for (int32_t n = 0; n < kMaxSubBlockFrames; n += V::kWidth) V::store(to + n, V::load(from + n));
}

// The rows of kCount delay loops for one sub-block (the loops of a comb bank
// or an all-pass chain), each read and written frame by frame. The first
// kMaxSubBlockFrames samples of these loops are mirrored behind their ends, so a row
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
    // kMaxSubBlockFrames samples is mirrored behind the end. Nothing reads these
    // copies until the loop comes round again, so they may take their time.
    // The read positions move on by frames.
    KORVEX_INLINE void close(Line* lines, int32_t frames) {
        uint32_t wrapped = 0;
        uint32_t atStart = 0;
        for (int k = 0; k < kCount; ++k) {
            Line& line = lines[k];
            wrapped |= static_cast<uint32_t>(line.position > line.length - frames) << k;
            atStart |= static_cast<uint32_t>(line.position < kMaxSubBlockFrames) << k;
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

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07
