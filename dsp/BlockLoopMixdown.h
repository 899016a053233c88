// BlockLoopMixdown: the back of the network over a sub-block: the output soft
// clippers, the dry path faded by mute, the width and mix matrix, the
// crossfade to the wet-only matrix, the output trims and the effect
// crossfade against the raw input. Where every crossfade rests at an end,
// a loop without it runs instead.
#pragma once

#include <cstdint>

#include "dsp/BlockLoopSoftClipper.h"
#include "dsp/BlockLoopVector.h"

namespace ZEPHRA2F9C41D07 {
namespace {
namespace loops {

// Where a crossfader stands over the sub-block. A settled fader sits exactly
// at 0 (kOff) or 1 (kOn), where its mix (1 - p) * off + p * on is off * 1 +
// on * 0 or off * 0 + on * 1: the products with 1 change nothing and are left
// out. Those with 0 stay where the signal they weigh may be infinite or not a
// number (a host's input): 0 times it is then not a number, as in the
// per-frame path. They go where that signal is always finite (the clipped
// wet signal, or the silence a mute fades to): 0 times it adds only a zero.
enum class Fade { kMoving, kOff, kOn };

template <class V, Fade kFade, bool kOnFinite>
KORVEX_INLINE typename V::F crossfade(const Track& position, int32_t n, typename V::F on,
                                      typename V::F off) {
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

// The mix stage's constants as vectors: the gains as held values (for the
// loops where none of them moves), the clippers' thresholds and the wet-only
// matrix.
template <class V>
struct MixVectors {
    using F = typename V::F;
    F heldSame;
    F heldCross;
    F heldDry;
    F heldTrim[2];
    F upper[2];
    F lower[2];
    F same;
    F cross;

    KORVEX_INLINE explicit MixVectors(const MixStage& m)
        : heldSame(V::set1(m.wetSame.value)),
          heldCross(V::set1(m.wetCross.value)),
          heldDry(V::set1(m.dry.value)),
          heldTrim{V::set1(m.outTrim[0].value), V::set1(m.outTrim[1].value)},
          upper{V::set1(m.clipUpper[0]), V::set1(m.clipUpper[1])},
          lower{V::set1(m.clipLower[0]), V::set1(m.clipLower[1])},
          same(V::set1(m.sameGain)),
          cross(V::set1(m.crossGain)) {}
};

template <class V, Fade kMute, Fade kWetOnly, Fade kEffect, bool kSteady>
__attribute__((noinline)) void mixdownLoop(NetworkStage& s, const float* wetL, const float* wetR) {
    using F = typename V::F;
    const int32_t frames = s.frames;
    // A copy: the stores to the output could otherwise alias the stage, and
    // the compiler would load it again for every vector.
    const MixStage m = s.mix;
    const MixVectors<V> v(m);
    // The lanes past the sub-block carry silence from the combs on, which
    // never crosses a threshold: every lane may report.
    const F valid = V::firstLanes(V::kWidth);
    F flagsL = V::set1(0.0f);
    F flagsR = V::set1(0.0f);
    for (int32_t n = 0; n < frames; n += V::kWidth) {
        const F wL = softClip<V>(V::load(wetL + n), v.upper[0], v.lower[0], valid, flagsL);
        const F wR = softClip<V>(V::load(wetR + n), v.upper[1], v.lower[1], valid, flagsR);
        // Dry path, faded towards silence by mute.
        const F dL =
            crossfade<V, kMute, true>(m.mute[0], n, V::set1(0.0f), V::load(m.trimmed[0] + n));
        const F dR =
            crossfade<V, kMute, true>(m.mute[1], n, V::set1(0.0f), V::load(m.trimmed[1] + n));
        // Wet-only matrix and the mix matrix.
        const F g1 = gain<V, kSteady>(m.wetSame, v.heldSame, n);
        const F g2 = gain<V, kSteady>(m.wetCross, v.heldCross, n);
        const F gd = gain<V, kSteady>(m.dry, v.heldDry, n);
        const F mixL = addProduct<V>(productSum<V>(g1, wL, g2, wR), gd, dL);
        const F mixR = addProduct<V>(productSum<V>(g1, wR, g2, wL), gd, dR);
        F pL = mixL;
        F pR = mixR;
        if constexpr (kWetOnly != Fade::kOff) {
            pL = crossfade<V, kWetOnly, true>(m.wetOnly[0], n,
                                              productSum<V>(v.same, wL, v.cross, wR), mixL);
            pR = crossfade<V, kWetOnly, true>(m.wetOnly[1], n,
                                              productSum<V>(v.same, wR, v.cross, wL), mixR);
        }
        // Output trims, then the effect crossfade against the raw input; the
        // output is flushed as in processSample, so no denormal reaches the host.
        const F yL = V::mul(gain<V, kSteady>(m.outTrim[0], v.heldTrim[0], n), pL);
        const F yR = V::mul(gain<V, kSteady>(m.outTrim[1], v.heldTrim[1], n), pR);
        V::store(m.out[0] + n,
                 flush<V>(crossfade<V, kEffect, false>(m.effect[0], n, yL, V::load(m.in[0] + n))));
        V::store(m.out[1] + n,
                 flush<V>(crossfade<V, kEffect, false>(m.effect[1], n, yR, V::load(m.in[1] + n))));
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

// With every fader settled at an end (the effect's, while the engine runs,
// at 1), the mix needs no crossfades: one loop for each end the mute and
// wet-only pairs rest at; else the loop with every crossfade.
template <class V>
KORVEX_INLINE void mixdown(NetworkStage& s, const float* wetL, const float* wetR) {
    const MixStage& m = s.mix;
    const Fade mute = restsAt(m.mute[0]);
    const Fade wetOnly = restsAt(m.wetOnly[0]);
    const bool settled = mute != Fade::kMoving && wetOnly != Fade::kMoving &&
                         restsAt(m.mute[1]) == mute && restsAt(m.wetOnly[1]) == wetOnly &&
                         restsAt(m.effect[0]) == Fade::kOn && restsAt(m.effect[1]) == Fade::kOn;
    if (!settled)
        return mixdownLoop<V, Fade::kMoving, Fade::kMoving, Fade::kMoving, false>(s, wetL, wetR);
    // Steady: no gain ramps either, the common case of a sub-block.
    const bool steady = m.wetSame.frames == nullptr && m.wetCross.frames == nullptr &&
                        m.dry.frames == nullptr && m.outTrim[0].frames == nullptr &&
                        m.outTrim[1].frames == nullptr;
    if (mute == Fade::kOff && wetOnly == Fade::kOff) {
        if (steady) return mixdownLoop<V, Fade::kOff, Fade::kOff, Fade::kOn, true>(s, wetL, wetR);
        return mixdownLoop<V, Fade::kOff, Fade::kOff, Fade::kOn, false>(s, wetL, wetR);
    }
    if (mute == Fade::kOff)
        return mixdownLoop<V, Fade::kOff, Fade::kOn, Fade::kOn, false>(s, wetL, wetR);
    if (wetOnly == Fade::kOff)
        return mixdownLoop<V, Fade::kOn, Fade::kOff, Fade::kOn, false>(s, wetL, wetR);
    mixdownLoop<V, Fade::kOn, Fade::kOn, Fade::kOn, false>(s, wetL, wetR);
}

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07
