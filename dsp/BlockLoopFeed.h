// BlockLoopFeed: the front of the network over a sub-block: the input trims,
// the halving of the input, and the mono sum at the feed level through the
// input soft clipper, which then enters the pre-delay.
#pragma once

#include <cstdint>

#include "dsp/BlockLoopSoftClipper.h"
#include "dsp/BlockLoopVector.h"
#include "dsp/PlateTuning.h"

namespace ZEPHRA2F9C41D07 {
namespace {
namespace loops {

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
        const F xL = V::mul(V::mul(V::load(inL + n), V::set1(kInputScale)), gainL);
        const F xR = V::mul(V::mul(V::load(inR + n), V::set1(kInputScale)), gainR);
        V::store(trimmedL + n, xL);
        V::store(trimmedR + n, xR);
        if constexpr (!kMuted) {
            // Only the lanes within the sub-block may report an overload.
            const F valid =
                n + V::kWidth <= frames ? V::firstLanes(V::kWidth) : V::firstLanes(frames - n);
            const F sum = V::mul(V::add(xL, xR), V::set1(kFeedLevel));
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

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07
