// BlockLoopSoftClipper: the soft clipper's curve over whole vectors, for the
// input clipper in front of the pre-delay and the two output clippers behind
// the all-passes. SoftClipper holds the curve's constants.
#pragma once

#include "dsp/BlockLoopVector.h"
#include "dsp/SoftClipper.h"

namespace ZEPHRA2F9C41D07 {
namespace {
namespace loops {

// Magnitude of x / kCurveScale below which the soft clipper's cubic term
// cannot change its result.
constexpr float kNegligibleCube = 1e-6f;

// The cubic soft clipper, flat beyond |x| = kCurveScale; flags collects the
// lanes (within valid) whose input crossed the thresholds or was not a number.
template <class V>
KORVEX_INLINE typename V::F softClip(typename V::F x, typename V::F upper, typename V::F lower,
                                     typename V::F valid, typename V::F& flags) {
    using F = typename V::F;
    using Curve = SoftClipper;
    // x / 24 and x * (1 / 24) are on the same side of the thresholds and of
    // the knee for every float x (checked over all floats near them), so the
    // reciprocal changes no overload report and no saturation; a division
    // would cost more than the rest of the clipper.
    const F u = V::mul(x, V::set1(1.0f / Curve::kCurveScale));
    // Below 1e-6, u^3 / 3 is far less than a quarter of a unit in the last
    // place of u, so u - u^3 / 3 is u; the cube would only sink into the
    // subnormal numbers, which cost the processor dearly while a tail fades
    // out. Those lanes cube +0 instead: u - 0 is u, the sign of a zero u
    // included.
    const F c = V::keepAtLeast(u, magnitude<V>(u), V::set1(kNegligibleCube));
    const F third = V::set1(1.0f / Curve::kCubeDivisor);
    F shaped;
    if constexpr (V::kFused) {
        shaped = V::negMulAdd(V::mul(c, c), V::mul(c, third), u);
    } else {
        shaped = V::sub(u, V::mul(V::mul(c, c), V::mul(c, third)));
    }
    // The thresholds lie within the knee, so a chunk that crossed none is a
    // number throughout and short of the flat ends: the cubic is the answer.
    if (V::crossedAny(u, upper, lower, valid)) {
        const F notNumber = V::unordered(u, u);
        flags = V::bitOr(
            flags,
            V::bitAnd(V::bitOr(V::bitOr(V::gt(u, upper), V::lt(u, lower)), notNumber), valid));
        shaped = V::select(notNumber, V::set1(0.0f), shaped);
        shaped = V::select(V::le(u, V::set1(-Curve::kKnee)), V::set1(-Curve::kCeiling), shaped);
        shaped = V::select(V::ge(u, V::set1(Curve::kKnee)), V::set1(Curve::kCeiling), shaped);
    }
    return V::mul(V::set1(Curve::kCurveScale), shaped);
}

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07
