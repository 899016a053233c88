// BlockKernelsAvx512: the sub-block loops in 512-bit AVX-512 vectors with
// fused multiply-adds: all sixteen combs of both channels side by side, and
// sixteen frames at a time everywhere else. This file alone is compiled for
// AVX-512 (see dsp/CMakeLists.txt); the engine calls into it only after
// processorHasAvx512() said yes. The rounding is the AVX2 loops' own: the
// same operations, fused the same way, only wider.
#include "dsp/BlockKernels.h"

#include <immintrin.h>

#include "dsp/BlockLoops.h"

namespace ZEPHRA2F9C41D07 {
namespace {

struct Avx512 {
    using F = __m512;
    using I = __m512i;
    static constexpr int kWidth = 16;
    static constexpr bool kFused = true;

    // The loops combine comparison results with bit operations, as vectors
    // of all-ones and all-zeros lanes; AVX-512 compares into mask registers,
    // so those are widened to such vectors and narrowed again where needed.
    static F fromMask(__mmask16 m) { return _mm512_castsi512_ps(_mm512_movm_epi32(m)); }
    static __mmask16 toMask(F v) { return _mm512_movepi32_mask(_mm512_castps_si512(v)); }

    static F load(const float* p) { return _mm512_loadu_ps(p); }
    static void store(float* p, F v) { _mm512_storeu_ps(p, v); }
    // The left channel's eight values in the low lanes, the right's above.
    static F loadHalves(const float* low, const float* high) {
        return _mm512_insertf32x8(_mm512_castps256_ps512(_mm256_loadu_ps(low)),
                                  _mm256_loadu_ps(high), 1);
    }
    static void storeHalves(float* low, float* high, F v) {
        _mm256_storeu_ps(low, _mm512_castps512_ps256(v));
        _mm256_storeu_ps(high, _mm512_extractf32x8_ps(v, 1));
    }
    static F set1(float x) { return _mm512_set1_ps(x); }
    static F add(F a, F b) { return _mm512_add_ps(a, b); }
    static F sub(F a, F b) { return _mm512_sub_ps(a, b); }
    static F mul(F a, F b) { return _mm512_mul_ps(a, b); }
    static F div(F a, F b) { return _mm512_div_ps(a, b); }
    static F mulAdd(F a, F b, F c) { return _mm512_fmadd_ps(a, b, c); }
    static F negMulAdd(F a, F b, F c) { return _mm512_fnmadd_ps(a, b, c); }
    static F broadcast(const float* p) { return _mm512_set1_ps(*p); }
    static F min(F a, F b) { return _mm512_min_ps(a, b); }
    static F bitAnd(F a, F b) { return _mm512_and_ps(a, b); }
    static F andNot(F a, F b) { return _mm512_andnot_ps(a, b); }
    static F bitOr(F a, F b) { return _mm512_or_ps(a, b); }
    static F lt(F a, F b) { return fromMask(_mm512_cmp_ps_mask(a, b, _CMP_LT_OQ)); }
    static F le(F a, F b) { return fromMask(_mm512_cmp_ps_mask(a, b, _CMP_LE_OQ)); }
    static F gt(F a, F b) { return fromMask(_mm512_cmp_ps_mask(a, b, _CMP_GT_OQ)); }
    static F ge(F a, F b) { return fromMask(_mm512_cmp_ps_mask(a, b, _CMP_GE_OQ)); }
    static F notLt(F a, F b) { return fromMask(_mm512_cmp_ps_mask(a, b, _CMP_NLT_UQ)); }
    static F unordered(F a, F b) { return fromMask(_mm512_cmp_ps_mask(a, b, _CMP_UNORD_Q)); }
    static F select(F mask, F a, F b) { return _mm512_mask_blend_ps(toMask(mask), b, a); }
    static bool any(F mask) { return toMask(mask) != 0; }
    static bool allBitsZero(F a) {
        const __m512i bits = _mm512_castps_si512(a);
        return _mm512_test_epi32_mask(bits, bits) == 0;
    }
    static F firstLanes(int32_t count) {
        const unsigned lanes = count >= kWidth ? 0xFFFFu : (1u << count) - 1u;
        return fromMask(static_cast<__mmask16>(lanes));
    }
    // With mask registers, these two need no widening.
    static F keepAtLeast(F x, F m, F bound) {
        return _mm512_maskz_mov_ps(_mm512_cmp_ps_mask(m, bound, _CMP_NLT_UQ), x);
    }
    static bool crossedAny(F u, F upper, F lower, F valid) {
        const __mmask16 crossed = _mm512_cmp_ps_mask(u, upper, _CMP_GT_OQ) |
                                  _mm512_cmp_ps_mask(u, lower, _CMP_LT_OQ) |
                                  _mm512_cmp_ps_mask(u, u, _CMP_UNORD_Q);
        return (crossed & toMask(valid)) != 0;
    }
    // Sixteen rows of sixteen: pairs, then fours within each 128-bit lane,
    // then the 128-bit lanes themselves in two steps.
    static void transpose(F* r) {
        F t[16];
        for (int i = 0; i < 16; i += 2) {
            t[i] = _mm512_unpacklo_ps(r[i], r[i + 1]);
            t[i + 1] = _mm512_unpackhi_ps(r[i], r[i + 1]);
        }
        for (int i = 0; i < 16; i += 4) {
            r[i] = _mm512_shuffle_ps(t[i], t[i + 2], _MM_SHUFFLE(1, 0, 1, 0));
            r[i + 1] = _mm512_shuffle_ps(t[i], t[i + 2], _MM_SHUFFLE(3, 2, 3, 2));
            r[i + 2] = _mm512_shuffle_ps(t[i + 1], t[i + 3], _MM_SHUFFLE(1, 0, 1, 0));
            r[i + 3] = _mm512_shuffle_ps(t[i + 1], t[i + 3], _MM_SHUFFLE(3, 2, 3, 2));
        }
        for (int i = 0; i < 16; i += 8) {
            for (int j = 0; j < 4; ++j) {
                t[i + j] = _mm512_shuffle_f32x4(r[i + j], r[i + j + 4], 0x88);
                t[i + j + 4] = _mm512_shuffle_f32x4(r[i + j], r[i + j + 4], 0xDD);
            }
        }
        for (int j = 0; j < 8; ++j) {
            r[j] = _mm512_shuffle_f32x4(t[j], t[j + 8], 0x88);
            r[j + 8] = _mm512_shuffle_f32x4(t[j], t[j + 8], 0xDD);
        }
    }

    static I ramp(int32_t start) {
        return _mm512_add_epi32(
            _mm512_set1_epi32(start),
            _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
    }
    static I iset1(int32_t x) { return _mm512_set1_epi32(x); }
    static I iadd(I a, I b) { return _mm512_add_epi32(a, b); }
    static I isub(I a, I b) { return _mm512_sub_epi32(a, b); }
    static I igt(I a, I b) { return _mm512_movm_epi32(_mm512_cmpgt_epi32_mask(a, b)); }
    static I iand(I a, I b) { return _mm512_and_si512(a, b); }
    static int32_t lane0(I a) { return _mm_cvtsi128_si32(_mm512_castsi512_si128(a)); }
    static bool same(I a, I b) { return _mm512_cmpeq_epi32_mask(a, b) == 0xFFFF; }
    static F toFloat(I a) { return _mm512_cvtepi32_ps(a); }
    static I truncate(F a) { return _mm512_cvttps_epi32(a); }
    static F gather(const float* base, I index) { return _mm512_i32gather_ps(index, base, 4); }
};

static_assert(loops::isVectorSet<Avx512>(), "Avx512 provides every operation the loops call");

void feedAvx512(block::FeedStage& s) { loops::feed<Avx512>(s); }
void preDelayAvx512(block::PreDelayStage& s) { loops::preDelay<Avx512>(s); }
void networkAvx512(block::NetworkStage& s) { loops::network<Avx512>(s); }

const block::Kernels kAvx512Kernels{"avx512", feedAvx512, preDelayAvx512, networkAvx512};

}  // namespace

const block::Kernels& block::avx512Kernels() { return kAvx512Kernels; }

}  // namespace ZEPHRA2F9C41D07
