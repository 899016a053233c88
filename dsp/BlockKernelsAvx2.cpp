// BlockKernelsAvx2: the sub-block loops in 256-bit AVX2 vectors with fused
// multiply-adds. This file alone is compiled with AVX2 and FMA enabled (see
// dsp/CMakeLists.txt); the engine calls into it only after
// processorHasAvx2Fma() said yes.
#include "dsp/BlockKernels.h"

#include <immintrin.h>

#include "dsp/BlockLoops.h"

namespace ZEPHRA2F9C41D07 {
namespace {

struct Avx2 {
    using F = __m256;
    using I = __m256i;
    static constexpr int kWidth = 8;
    static constexpr bool kFused = true;

    static F load(const float* p) { return _mm256_loadu_ps(p); }
    static void store(float* p, F v) { _mm256_storeu_ps(p, v); }
    static F set1(float x) { return _mm256_set1_ps(x); }
    static F add(F a, F b) { return _mm256_add_ps(a, b); }
    static F sub(F a, F b) { return _mm256_sub_ps(a, b); }
    static F mul(F a, F b) { return _mm256_mul_ps(a, b); }
    static F div(F a, F b) { return _mm256_div_ps(a, b); }
    static F mulAdd(F a, F b, F c) { return _mm256_fmadd_ps(a, b, c); }
    static F negMulAdd(F a, F b, F c) { return _mm256_fnmadd_ps(a, b, c); }
    static F broadcast(const float* p) { return _mm256_broadcast_ss(p); }
    static F min(F a, F b) { return _mm256_min_ps(a, b); }
    static F bitAnd(F a, F b) { return _mm256_and_ps(a, b); }
    static F andNot(F a, F b) { return _mm256_andnot_ps(a, b); }
    static F bitOr(F a, F b) { return _mm256_or_ps(a, b); }
    static F lt(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
    static F le(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_LE_OQ); }
    static F gt(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
    static F ge(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_GE_OQ); }
    static F notLt(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_NLT_UQ); }
    static F unordered(F a, F b) { return _mm256_cmp_ps(a, b, _CMP_UNORD_Q); }
    static F select(F mask, F a, F b) { return _mm256_blendv_ps(b, a, mask); }
    static bool any(F mask) { return _mm256_movemask_ps(mask) != 0; }
    static bool allBitsZero(F a) {
        return _mm256_testz_si256(_mm256_castps_si256(a), _mm256_castps_si256(a)) != 0;
    }
    static F firstLanes(int32_t count) {
        return _mm256_castsi256_ps(_mm256_cmpgt_epi32(_mm256_set1_epi32(count),
                                                      _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
    }
    static F keepAtLeast(F x, F m, F bound) { return bitAnd(x, notLt(m, bound)); }
    static bool crossedAny(F u, F upper, F lower, F valid) {
        return any(bitAnd(bitOr(bitOr(gt(u, upper), lt(u, lower)), unordered(u, u)), valid));
    }
    static void transpose(F* r) {
        const F t0 = _mm256_unpacklo_ps(r[0], r[1]);
        const F t1 = _mm256_unpackhi_ps(r[0], r[1]);
        const F t2 = _mm256_unpacklo_ps(r[2], r[3]);
        const F t3 = _mm256_unpackhi_ps(r[2], r[3]);
        const F t4 = _mm256_unpacklo_ps(r[4], r[5]);
        const F t5 = _mm256_unpackhi_ps(r[4], r[5]);
        const F t6 = _mm256_unpacklo_ps(r[6], r[7]);
        const F t7 = _mm256_unpackhi_ps(r[6], r[7]);
        const F u0 = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(1, 0, 1, 0));
        const F u1 = _mm256_shuffle_ps(t0, t2, _MM_SHUFFLE(3, 2, 3, 2));
        const F u2 = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(1, 0, 1, 0));
        const F u3 = _mm256_shuffle_ps(t1, t3, _MM_SHUFFLE(3, 2, 3, 2));
        const F u4 = _mm256_shuffle_ps(t4, t6, _MM_SHUFFLE(1, 0, 1, 0));
        const F u5 = _mm256_shuffle_ps(t4, t6, _MM_SHUFFLE(3, 2, 3, 2));
        const F u6 = _mm256_shuffle_ps(t5, t7, _MM_SHUFFLE(1, 0, 1, 0));
        const F u7 = _mm256_shuffle_ps(t5, t7, _MM_SHUFFLE(3, 2, 3, 2));
        r[0] = _mm256_permute2f128_ps(u0, u4, 0x20);
        r[1] = _mm256_permute2f128_ps(u1, u5, 0x20);
        r[2] = _mm256_permute2f128_ps(u2, u6, 0x20);
        r[3] = _mm256_permute2f128_ps(u3, u7, 0x20);
        r[4] = _mm256_permute2f128_ps(u0, u4, 0x31);
        r[5] = _mm256_permute2f128_ps(u1, u5, 0x31);
        r[6] = _mm256_permute2f128_ps(u2, u6, 0x31);
        r[7] = _mm256_permute2f128_ps(u3, u7, 0x31);
    }

    static I ramp(int32_t start) {
        return _mm256_add_epi32(_mm256_set1_epi32(start),
                                _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    }
    static I iset1(int32_t x) { return _mm256_set1_epi32(x); }
    static I iadd(I a, I b) { return _mm256_add_epi32(a, b); }
    static I isub(I a, I b) { return _mm256_sub_epi32(a, b); }
    static I igt(I a, I b) { return _mm256_cmpgt_epi32(a, b); }
    static I iand(I a, I b) { return _mm256_and_si256(a, b); }
    static int32_t lane0(I a) { return _mm_cvtsi128_si32(_mm256_castsi256_si128(a)); }
    static bool same(I a, I b) { return _mm256_movemask_epi8(_mm256_cmpeq_epi32(a, b)) == -1; }
    static F toFloat(I a) { return _mm256_cvtepi32_ps(a); }
    static I truncate(F a) { return _mm256_cvttps_epi32(a); }
    static F gather(const float* base, I index) { return _mm256_i32gather_ps(base, index, 4); }
};

static_assert(loops::isVectorSet<Avx2>(), "Avx2 provides every operation the loops call");

void feedAvx2(block::FeedStage& s) { loops::feed<Avx2>(s); }
void preDelayAvx2(block::PreDelayStage& s) { loops::preDelay<Avx2>(s); }
void networkAvx2(block::NetworkStage& s) { loops::network<Avx2>(s); }

const block::Kernels kAvx2Kernels{"avx2", feedAvx2, preDelayAvx2, networkAvx2};

}  // namespace

const block::Kernels& block::avx2Kernels() { return kAvx2Kernels; }

}  // namespace ZEPHRA2F9C41D07
