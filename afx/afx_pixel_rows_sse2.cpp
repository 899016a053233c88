// Vector row kernels for x86-64, where SSE2 is part of every processor: 8
// pixels per step (two registers of 4), the scalar kernel for the rest.
// Each channel is widened to 16 bits; the product (colour - old) x alpha
// needs 17 bits, so it is formed in 32-bit lanes from the low and high halves
// of the 16-bit multiply, shifted arithmetically, and narrowed again.
#include <emmintrin.h>

#include "afx/afx_pixel_rows.h"

namespace {

const __m128i kAlphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));

// Blends 2 pixels widened to 16-bit lanes.
inline __m128i blend_half(__m128i colour, __m128i old, __m128i alpha) {
    const __m128i diff = _mm_sub_epi16(colour, old);
    const __m128i lo = _mm_mullo_epi16(diff, alpha);
    const __m128i hi = _mm_mulhi_epi16(diff, alpha);
    const __m128i p0 = _mm_srai_epi32(_mm_unpacklo_epi16(lo, hi), 8);
    const __m128i p1 = _mm_srai_epi32(_mm_unpackhi_epi16(lo, hi), 8);
    return _mm_add_epi16(old, _mm_packs_epi32(p0, p1));
}

inline __m128i broadcast_alpha(__m128i widened) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(widened, _MM_SHUFFLE(3, 3, 3, 3)),
                               _MM_SHUFFLE(3, 3, 3, 3));
}

// Blends 4 source pixels over 4 destination pixels; destination alpha kept.
inline __m128i blend4(__m128i src, __m128i dst) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i s_lo = _mm_unpacklo_epi8(src, zero), s_hi = _mm_unpackhi_epi8(src, zero);
    const __m128i d_lo = _mm_unpacklo_epi8(dst, zero), d_hi = _mm_unpackhi_epi8(dst, zero);
    const __m128i r_lo = blend_half(s_lo, d_lo, broadcast_alpha(s_lo));
    const __m128i r_hi = blend_half(s_hi, d_hi, broadcast_alpha(s_hi));
    const __m128i blended = _mm_packus_epi16(r_lo, r_hi);
    return _mm_or_si128(_mm_andnot_si128(kAlphaMask, blended), _mm_and_si128(kAlphaMask, dst));
}

inline __m128i load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void store(uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

}  // namespace

bool afx_vector_rows_available() { return true; }

void afx_blend_row_vector(const uint8_t* src, uint8_t* dst, int32_t count) {
    int32_t i = 0;
    for (; i + 8 <= count; i += 8, src += 32, dst += 32) {
        store(dst, blend4(load(src), load(dst)));
        store(dst + 16, blend4(load(src + 16), load(dst + 16)));
    }
    afx_blend_row_scalar(src, dst, count - i);
}

void afx_blend_colour_row_vector(uint32_t colour, uint8_t* dst, int32_t count) {
    const __m128i src = _mm_set1_epi32(static_cast<int>(colour));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8, dst += 32) {
        store(dst, blend4(src, load(dst)));
        store(dst + 16, blend4(src, load(dst + 16)));
    }
    afx_blend_colour_row_scalar(colour, dst, count - i);
}

void afx_fill_row_vector(uint32_t word, uint8_t* dst, int32_t count) {
    const __m128i v = _mm_set1_epi32(static_cast<int>(word));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8, dst += 32) {
        store(dst, v);
        store(dst + 16, v);
    }
    afx_fill_row_scalar(word, dst, count - i);
}
