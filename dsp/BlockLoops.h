// BlockLoops: the sub-block loops of the reverb, written once over a vector
// instruction set V and compiled once per set (BlockKernelsSse2.cpp,
// BlockKernelsAvx2.cpp, BlockKernelsAvx512.cpp). One header per stage of the
// signal path, in its order:
//   BlockLoopFeed.h        input trims and the clipped mono feed
//   BlockLoopPreDelay.h    the pre-delay line
//   BlockLoopCombs.h       the parallel damped combs (BlockLoopCombGroup.h:
//                          the inner step, a vector of combs over a vector
//                          of frames)
//   BlockLoopAllpasses.h   the series all-passes
//   BlockLoopMixdown.h     output clippers, mix and wet-only matrices, trims,
//                          the effect crossfade
// on what they share: BlockLoopVector.h (the vector-set interface and the
// arithmetic helpers), BlockLoopRows.h (rows of circular delay memory) and
// BlockLoopSoftClipper.h.
//
// Each operation is the per-frame path's own operation on the same operands
// in the same order, with two exceptions, each a few units in the last place
// apart: the soft clippers multiply by the reciprocals of their constant
// divisors, and where V::kFused is true (AVX2 and AVX-512 with FMA) a
// product added to a sum is fused into one rounding. Every flush, threshold
// and switch decision stays where the per-frame path takes it.
#pragma once

#include "dsp/BlockLoopAllpasses.h"
#include "dsp/BlockLoopCombs.h"
#include "dsp/BlockLoopFeed.h"
#include "dsp/BlockLoopMixdown.h"
#include "dsp/BlockLoopPreDelay.h"
#include "dsp/BlockLoopVector.h"

namespace ZEPHRA2F9C41D07 {
namespace {
namespace loops {

// The network behind the pre-delay: combs in parallel, all-passes in series,
// then the mix-down to the output.
template <class V>
void network(NetworkStage& s) {
    float wetL[kBufferFrames];
    float wetR[kBufferFrames];
    combs<V>(s, wetL, wetR);
    float* const wet[2] = {wetL, wetR};
    allpassChains<V>(s.allpasses, wet, s.frames);
    mixdown<V>(s, wetL, wetR);
}

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07

#undef KORVEX_INLINE
