// Vector resampling kernels for x86-64, where SSE2 is part of every processor.
// Four taps of one channel are two pairs: the pixels of taps -1 and 0 are
// interleaved channel by channel into 16-bit lanes and multiplied by the
// weight pair with a multiply-add, which sums each pair into a 32-bit lane;
// taps +1 and +2 likewise. Sums stay exact in 32 bits; the arithmetic shift
// by 8 and the saturating packs to 16 and then to unsigned 8 bits clamp
// exactly as the scalar kernel does (a sum clamped to 0..65280 and shifted
// is the shifted sum clamped to 0..255).
#include <emmintrin.h>

#include <cstddef>
#include <cstring>

#include "afx/afx_resample.h"
#include "afx/afx_resample_rows.h"

namespace {

// The weights of one phase as two 16-bit pair patterns: (w0, w1) and (w2, w3)
// repeated over the four channels.
struct weight_pairs {
    __m128i near_pair, far_pair;
};

weight_pairs make_pairs(const int32_t* w) {
    return {
        _mm_set_epi16(static_cast<short>(w[1]), static_cast<short>(w[0]), static_cast<short>(w[1]),
                      static_cast<short>(w[0]), static_cast<short>(w[1]), static_cast<short>(w[0]),
                      static_cast<short>(w[1]), static_cast<short>(w[0])),
        _mm_set_epi16(static_cast<short>(w[3]), static_cast<short>(w[2]), static_cast<short>(w[3]),
                      static_cast<short>(w[2]), static_cast<short>(w[3]), static_cast<short>(w[2]),
                      static_cast<short>(w[3]), static_cast<short>(w[2]))};
}

struct pair_table {
    weight_pairs phase[256];
    pair_table() {
        for (uint32_t p = 0; p < 256; ++p) phase[p] = make_pairs(afx_cubic_weights(p));
    }
};

const pair_table& pairs() {
    static const pair_table t;
    return t;
}

inline __m128i load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }

// One filtered pixel as four 32-bit sums from two pixels interleaved per
// channel in each of near (taps -1, 0) and far (taps +1, +2).
inline __m128i sum4(__m128i near_taps, __m128i far_taps, const weight_pairs& w) {
    return _mm_add_epi32(_mm_madd_epi16(near_taps, w.near_pair),
                         _mm_madd_epi16(far_taps, w.far_pair));
}

// Four pixels' sums to four pixels of bytes, each channel clamped to 0..255.
inline __m128i to_bytes(__m128i s0, __m128i s1, __m128i s2, __m128i s3) {
    const __m128i lo = _mm_packs_epi32(_mm_srai_epi32(s0, 8), _mm_srai_epi32(s1, 8));
    const __m128i hi = _mm_packs_epi32(_mm_srai_epi32(s2, 8), _mm_srai_epi32(s3, 8));
    return _mm_packus_epi16(lo, hi);
}

// The horizontal filter of the four source pixels in px (R, G, B, A bytes).
inline __m128i filter_taps(__m128i px, const weight_pairs& w) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = _mm_unpacklo_epi8(px, zero), hi = _mm_unpackhi_epi8(px, zero);
    return sum4(_mm_unpacklo_epi16(lo, _mm_srli_si128(lo, 8)),
                _mm_unpacklo_epi16(hi, _mm_srli_si128(hi, 8)), w);
}

// The four taps of one column, read as one load when none needs clamping.
inline __m128i column_taps(const uint8_t* row, int32_t width, int32_t first) {
    if (first >= 0 && first + 3 < width) return load(row + static_cast<size_t>(first) * 4u);
    uint32_t t[4];
    for (int k = 0; k < 4; ++k) {
        const int32_t x = first + k < 0 ? 0 : (first + k > width - 1 ? width - 1 : first + k);
        std::memcpy(&t[k], row + static_cast<size_t>(x) * 4u, 4);
    }
    return load(t);
}

// Red and blue change places in each pixel of a 16-bit-lane register.
inline __m128i swap_red_blue(__m128i v) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, _MM_SHUFFLE(3, 0, 1, 2)),
                               _MM_SHUFFLE(3, 0, 1, 2));
}

// Four pixel words to their low three bytes each, packed into 12 bytes at out.
inline void store_bgr4(uint8_t* out, __m128i v) {
    const __m128i p0 = _mm_and_si128(v, _mm_setr_epi32(0x00FFFFFF, 0, 0, 0));
    const __m128i p1 = _mm_srli_si128(_mm_and_si128(v, _mm_setr_epi32(0, 0x00FFFFFF, 0, 0)), 1);
    const __m128i p2 = _mm_srli_si128(_mm_and_si128(v, _mm_setr_epi32(0, 0, 0x00FFFFFF, 0)), 2);
    const __m128i p3 = _mm_srli_si128(_mm_and_si128(v, _mm_setr_epi32(0, 0, 0, 0x00FFFFFF)), 3);
    const __m128i packed = _mm_or_si128(_mm_or_si128(p0, p1), _mm_or_si128(p2, p3));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), packed);
    const int32_t tail = _mm_cvtsi128_si32(_mm_srli_si128(packed, 8));
    std::memcpy(out + 8, &tail, 4);
}

}  // namespace

void afx_resample_hrow_vector(const uint8_t* source_row, int32_t source_width,
                              const afx_resample_column* columns, uint32_t* out, int32_t count) {
    const pair_table& table = pairs();
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i s[4];
        for (int k = 0; k < 4; ++k) {
            const afx_resample_column& c = columns[i + k];
            s[k] = filter_taps(column_taps(source_row, source_width, c.first_tap),
                               table.phase[c.phase & 255u]);
        }
        // Sums are red, green, blue, alpha; the row is kept in the bitmap's order.
        const __m128i lo =
            swap_red_blue(_mm_packs_epi32(_mm_srai_epi32(s[0], 8), _mm_srai_epi32(s[1], 8)));
        const __m128i hi =
            swap_red_blue(_mm_packs_epi32(_mm_srai_epi32(s[2], 8), _mm_srai_epi32(s[3], 8)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_or_si128(_mm_packus_epi16(lo, hi), opaque));
    }
    afx_resample_hrow_scalar(source_row, source_width, columns + i, out + i, count - i);
}

void afx_resample_vrow_vector(const uint32_t* const rows[4], const int32_t w[4], uint8_t* out,
                              int32_t count) {
    int32_t i = 0;
    if (w[0] == 0 && w[1] == 256 && w[2] == 0 && w[3] == 0) {
        // Phase 0 weighs the middle row alone by exactly one: a copy.
        for (; i + 4 <= count; i += 4, out += 12) store_bgr4(out, load(rows[1] + i));
    } else {
        const weight_pairs pair = make_pairs(w);
        const __m128i zero = _mm_setzero_si128();
        for (; i + 4 <= count; i += 4, out += 12) {
            const __m128i a = load(rows[0] + i), b = load(rows[1] + i);
            const __m128i c = load(rows[2] + i), d = load(rows[3] + i);
            const __m128i al = _mm_unpacklo_epi8(a, zero), ah = _mm_unpackhi_epi8(a, zero);
            const __m128i bl = _mm_unpacklo_epi8(b, zero), bh = _mm_unpackhi_epi8(b, zero);
            const __m128i cl = _mm_unpacklo_epi8(c, zero), ch = _mm_unpackhi_epi8(c, zero);
            const __m128i dl = _mm_unpacklo_epi8(d, zero), dh = _mm_unpackhi_epi8(d, zero);
            store_bgr4(
                out, to_bytes(sum4(_mm_unpacklo_epi16(al, bl), _mm_unpacklo_epi16(cl, dl), pair),
                              sum4(_mm_unpackhi_epi16(al, bl), _mm_unpackhi_epi16(cl, dl), pair),
                              sum4(_mm_unpacklo_epi16(ah, bh), _mm_unpacklo_epi16(ch, dh), pair),
                              sum4(_mm_unpackhi_epi16(ah, bh), _mm_unpackhi_epi16(ch, dh), pair)));
        }
    }
    const uint32_t* const rest[4] = {rows[0] + i, rows[1] + i, rows[2] + i, rows[3] + i};
    afx_resample_vrow_scalar(rest, w, out, count - i);
}
