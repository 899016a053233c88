// BlockKernelsSse2: the sub-block loops in 128-bit SSE2 vectors, which every
// x86-64 processor has. The generic path, and the fallback of the dispatch.
#include "dsp/BlockKernels.h"

#include <emmintrin.h>

#include "dsp/BlockLoops.h"

namespace ZEPHRA2F9C41D07 {
namespace {

struct Sse2 {
    using F = __m128;
    using I = __m128i;
    static constexpr int kWidth = 4;
    static constexpr bool kFused = false;

    static F load(const float* p) { return _mm_loadu_ps(p); }
    static void store(float* p, F v) { _mm_storeu_ps(p, v); }
    static F set1(float x) { return _mm_set1_ps(x); }
    static F add(F a, F b) { return _mm_add_ps(a, b); }
    static F sub(F a, F b) { return _mm_sub_ps(a, b); }
    static F mul(F a, F b) { return _mm_mul_ps(a, b); }
    static F div(F a, F b) { return _mm_div_ps(a, b); }
    static F min(F a, F b) { return _mm_min_ps(a, b); }
    static F bitAnd(F a, F b) { return _mm_and_ps(a, b); }
    static F andNot(F a, F b) { return _mm_andnot_ps(a, b); }
    static F bitOr(F a, F b) { return _mm_or_ps(a, b); }
    static F lt(F a, F b) { return _mm_cmplt_ps(a, b); }
    static F le(F a, F b) { return _mm_cmple_ps(a, b); }
    static F gt(F a, F b) { return _mm_cmpgt_ps(a, b); }
    static F ge(F a, F b) { return _mm_cmpge_ps(a, b); }
    static F notLt(F a, F b) { return _mm_cmpnlt_ps(a, b); }
    static F unordered(F a, F b) { return _mm_cmpunord_ps(a, b); }
    static F select(F mask, F a, F b) {
        return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
    }
    static bool any(F mask) { return _mm_movemask_ps(mask) != 0; }
    static bool allBitsZero(F a) {
        return _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_castps_si128(a), _mm_setzero_si128())) ==
               0xFFFF;
    }
    static F firstLanes(int32_t count) {
        return _mm_castsi128_ps(_mm_cmpgt_epi32(_mm_set1_epi32(count), _mm_setr_epi32(0, 1, 2, 3)));
    }
    static F keepAtLeast(F x, F m, F bound) { return bitAnd(x, notLt(m, bound)); }
    static bool crossedAny(F u, F upper, F lower, F valid) {
        return any(bitAnd(bitOr(bitOr(gt(u, upper), lt(u, lower)), unordered(u, u)), valid));
    }
    static void transpose(F* r) { _MM_TRANSPOSE4_PS(r[0], r[1], r[2], r[3]); }

    static I ramp(int32_t start) {
        return _mm_add_epi32(_mm_set1_epi32(start), _mm_setr_epi32(0, 1, 2, 3));
    }
    static I iset1(int32_t x) { return _mm_set1_epi32(x); }
    static I iadd(I a, I b) { return _mm_add_epi32(a, b); }
    static I isub(I a, I b) { return _mm_sub_epi32(a, b); }
    static I igt(I a, I b) { return _mm_cmpgt_epi32(a, b); }
    static I iand(I a, I b) { return _mm_and_si128(a, b); }
    static int32_t lane0(I a) { return _mm_cvtsi128_si32(a); }
    static bool same(I a, I b) { return _mm_movemask_epi8(_mm_cmpeq_epi32(a, b)) == 0xFFFF; }
    static F toFloat(I a) { return _mm_cvtepi32_ps(a); }
    static I truncate(F a) { return _mm_cvttps_epi32(a); }
    static F gather(const float* base, I index) {
        int32_t k[4];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(k), index);
        return _mm_setr_ps(base[k[0]], base[k[1]], base[k[2]], base[k[3]]);
    }
};

static_assert(loops::isVectorSet<Sse2>(), "Sse2 provides every operation the loops call");

void feedSse2(block::FeedStage& s) { loops::feed<Sse2>(s); }
void preDelaySse2(block::PreDelayStage& s) { loops::preDelay<Sse2>(s); }
void networkSse2(block::NetworkStage& s) { loops::network<Sse2>(s); }

const block::Kernels kSse2Kernels{"sse2", feedSse2, preDelaySse2, networkSse2};

}  // namespace

const block::Kernels& block::genericKernels() { return kSse2Kernels; }

}  // namespace ZEPHRA2F9C41D07
