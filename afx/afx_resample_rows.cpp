// The scalar resampling kernels, which define the results, and the choice
// between them and the vector kernels.
#include "afx/afx_resample_rows.h"

#include <cstddef>

#include "afx/afx_pixel_rows.h"
#include "afx/afx_resample.h"

namespace {

// Chosen once, at the first call; the vector resampling kernels are built
// with the vector pixel rows.
const bool g_vector = afx_vector_rows_available();

// A weighted sum in 1/256 units back to a channel: clamped to 0..255 x 256, >> 8.
inline uint32_t channel(int32_t sum) {
    return static_cast<uint32_t>((sum < 0 ? 0 : (sum > 65280 ? 65280 : sum)) >> 8);
}

// Filters the three colour channels of four words (bits 0-7, 8-15, 16-23).
inline uint32_t filter(const uint32_t px[4], const int32_t* w) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int32_t sum = 0;
        for (int k = 0; k < 4; ++k) sum += w[k] * static_cast<int32_t>((px[k] >> shift) & 0xFFu);
        out |= channel(sum) << shift;
    }
    return out;
}

// A source pixel (R, G, B, A bytes) as a word in the bitmap's order.
inline uint32_t bitmap_order(const uint8_t* p) {
    return p[2] | (uint32_t(p[1]) << 8) | (uint32_t(p[0]) << 16);
}

}  // namespace

void afx_resample_hrow_scalar(const uint8_t* source_row, int32_t source_width,
                              const afx_resample_column* columns, uint32_t* out, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        uint32_t taps[4];
        for (int k = 0; k < 4; ++k) {
            int32_t x = columns[i].first_tap + k;
            x = x < 0 ? 0 : (x > source_width - 1 ? source_width - 1 : x);
            taps[k] = bitmap_order(source_row + static_cast<size_t>(x) * 4u);
        }
        out[i] = filter(taps, afx_cubic_weights(columns[i].phase)) | 0xFF000000u;
    }
}

void afx_resample_vrow_scalar(const uint32_t* const rows[4], const int32_t w[4], uint8_t* out,
                              int32_t count) {
    for (int32_t i = 0; i < count; ++i, out += 3) {
        const uint32_t taps[4] = {rows[0][i], rows[1][i], rows[2][i], rows[3][i]};
        const uint32_t v = filter(taps, w);
        out[0] = static_cast<uint8_t>(v);
        out[1] = static_cast<uint8_t>(v >> 8);
        out[2] = static_cast<uint8_t>(v >> 16);
    }
}

void afx_resample_hrow(const uint8_t* source_row, int32_t source_width,
                       const afx_resample_column* columns, uint32_t* out, int32_t count) {
    if (g_vector) afx_resample_hrow_vector(source_row, source_width, columns, out, count);
    else afx_resample_hrow_scalar(source_row, source_width, columns, out, count);
}

void afx_resample_vrow(const uint32_t* const rows[4], const int32_t w[4], uint8_t* out,
                       int32_t count) {
    if (g_vector) afx_resample_vrow_vector(rows, w, out, count);
    else afx_resample_vrow_scalar(rows, w, out, count);
}
