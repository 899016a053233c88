// BlockLoopVector: what every sub-block loop builds on. The interface a
// vector instruction set V must provide (checked at compile time by
// isVectorSet, which each BlockKernels file asserts for its set), and the
// small arithmetic helpers that give the loops the per-frame path's rounding:
// the flush, products and sums in the per-frame path's order (fused into one
// rounding where V::kFused), gain tracks and crossfades.
//
// Everything in the loop headers has internal linkage: each including file
// gets its own copy, compiled for its own instruction set, so no copy built
// for AVX2 can stand in for one that must run everywhere.
#pragma once

#include <cstdint>
#include <type_traits>

#include "dsp/BlockKernels.h"
#include "dsp/Flush.h"

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
using block::MixStage;
using block::NetworkStage;
using block::PreDelayStage;
using block::Track;

// The operations a vector set V provides to the loops, on vectors F of
// kWidth floats and I of kWidth 32-bit integers. Each is taken below as a
// pointer of the exact type the loops call it with, so a missing or
// different one stops the build at the line that names it; isVectorSet<V>()
// is true when V has them all.

// Shape, loads and stores, arithmetic.
template <class V>
constexpr bool hasVectorArithmetic() {
    using F = typename V::F;
    using Binary = F (*)(F, F);
    static_assert(std::is_same_v<decltype(V::kWidth), const int>, "kWidth: the lanes of a vector");
    static_assert(V::kWidth <= block::kWidestVector && kMaxSubBlockFrames % V::kWidth == 0,
                  "a vector fits the room behind a sub-block, and a sub-block is whole vectors");
    static_assert(sizeof(F) == sizeof(float) * V::kWidth &&
                      sizeof(typename V::I) == sizeof(int32_t) * V::kWidth,
                  "F holds kWidth floats, I kWidth 32-bit integers");
    static_assert(std::is_same_v<decltype(V::kFused), const bool>,
                  "kFused: whether mulAdd rounds once");
    [[maybe_unused]] F (*const load)(const float*) = &V::load;    // unaligned
    [[maybe_unused]] void (*const store)(float*, F) = &V::store;  // unaligned
    [[maybe_unused]] F (*const set1)(float) = &V::set1;           // one value in every lane
    [[maybe_unused]] const Binary arithmetic[] = {&V::add, &V::sub, &V::mul, &V::div};
    [[maybe_unused]] const Binary min = &V::min;  // a < b ? a : b: a NaN in a gives b
    [[maybe_unused]] void (*const transpose)(F*) = &V::transpose;  // kWidth rows in place
    if constexpr (V::kFused) {
        // a * b + c and c - a * b, each rounded once; one float from memory
        // into every lane.
        [[maybe_unused]] F (*const fused[])(F, F, F) = {&V::mulAdd, &V::negMulAdd};
        [[maybe_unused]] F (*const broadcast)(const float*) = &V::broadcast;
    }
    if constexpr (V::kWidth == 2 * kCombsPerChannel) {
        // The left channel's combs in the low lanes, the right's above.
        [[maybe_unused]] F (*const loadHalves)(const float*, const float*) = &V::loadHalves;
        [[maybe_unused]] void (*const storeHalves)(float*, float*, F) = &V::storeHalves;
    }
    return true;
}

// Bit operations, comparisons and masks: a mask has every bit of a lane set
// where true, none where false.
template <class V>
constexpr bool hasVectorMasks() {
    using F = typename V::F;
    using Binary = F (*)(F, F);
    [[maybe_unused]] const Binary bits[] = {&V::bitAnd, &V::andNot, &V::bitOr};  // andNot: ~a & b
    // lt, le, gt, ge are false for NaN, notLt true.
    [[maybe_unused]] const Binary compare[] = {&V::lt, &V::le,    &V::gt,
                                               &V::ge, &V::notLt, &V::unordered};
    [[maybe_unused]] F (*const select)(F, F, F) = &V::select;         // (mask, a, b)
    [[maybe_unused]] bool (*const any)(F) = &V::any;                  // a mask lane is set
    [[maybe_unused]] bool (*const allBitsZero)(F) = &V::allBitsZero;  // every lane +0
    [[maybe_unused]] F (*const firstLanes)(int32_t) =
        &V::firstLanes;  // a mask of the first count lanes
    // keepAtLeast(x, m, bound): x where m is not below bound, else +0.
    [[maybe_unused]] F (*const keepAtLeast)(F, F, F) = &V::keepAtLeast;
    // crossedAny(u, upper, lower, valid): a valid lane above upper, below
    // lower or not a number.
    [[maybe_unused]] bool (*const crossedAny)(F, F, F, F) = &V::crossedAny;
    return true;
}

// Integer lanes, for the pre-delay's read indices.
template <class V>
constexpr bool hasVectorIndices() {
    using F = typename V::F;
    using I = typename V::I;
    [[maybe_unused]] I (*const fromInt[])(int32_t) = {&V::ramp,
                                                      &V::iset1};  // ramp(start): start + lane
    [[maybe_unused]] I (*const integer[])(I, I) = {&V::iadd, &V::isub, &V::igt, &V::iand};
    [[maybe_unused]] int32_t (*const lane0)(I) = &V::lane0;
    [[maybe_unused]] bool (*const same)(I, I) = &V::same;  // all lanes equal
    [[maybe_unused]] F (*const toFloat)(I) = &V::toFloat;
    [[maybe_unused]] I (*const truncate)(F) = &V::truncate;            // towards zero
    [[maybe_unused]] F (*const gather)(const float*, I) = &V::gather;  // one index per lane
    return true;
}

template <class V>
constexpr bool isVectorSet() {
    return hasVectorArithmetic<V>() && hasVectorMasks<V>() && hasVectorIndices<V>();
}

// Values whose magnitude is below the flush bound are replaced by 0 on the
// recirculating paths.
template <class V>
KORVEX_INLINE typename V::F magnitude(typename V::F x) {
    return V::andNot(V::set1(-0.0f), x);
}

template <class V>
KORVEX_INLINE typename V::F flush(typename V::F x) {
    return V::keepAtLeast(x, magnitude<V>(x), V::set1(kFlushBoundFloat));
}

// The flush for one frame.
KORVEX_INLINE float flushFrame(float x) {
    return x > -kFlushBoundFloat && x < kFlushBoundFloat ? 0.0f : x;
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
KORVEX_INLINE typename V::F productSum(typename V::F a, typename V::F b, typename V::F c,
                                       typename V::F d) {
    if constexpr (V::kFused) {
        return V::mulAdd(c, d, V::mul(a, b));
    } else {
        return V::add(V::mul(a, b), V::mul(c, d));
    }
}

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

template <class V>
KORVEX_INLINE typename V::F track(const Track& t, int32_t n) {
    return t.frames != nullptr ? V::load(t.frames + n) : V::set1(t.value);
}

// (1 - position) * off + position * on: a crossfader's output.
template <class V>
KORVEX_INLINE typename V::F fade(typename V::F position, typename V::F on, typename V::F off) {
    return productSum<V>(V::sub(V::set1(1.0f), position), off, position, on);
}

}  // namespace loops
}  // namespace
}  // namespace ZEPHRA2F9C41D07
