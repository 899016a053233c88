// Bicubic resampling of a pixbuf region into a window bitmap: a horizontal
// pass over the source rows the region needs into a scratch buffer, then a
// vertical pass into the bitmap. Positions are 16.16 fixed point; the filter
// phase is the top 8 bits of the fraction. Each column's taps and phase are
// found once per call and shared by every source row; the rows themselves
// are filtered by the row kernels.
#include "afx/afx_resample.h"

#include <cstdlib>

#include "afx/afx_dib.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_resample_rows.h"

namespace {

// Regions are limited to this many pixels on each axis.
constexpr int32_t kMaxRegion = 8192;

struct cubic_table {
    int32_t w[256][4];

    // Catmull-Rom weights at t = p / 256, times 256, computed exactly in
    // integers (each numerator over 2 x 65536). Each weight is its exact value
    // rounded down or up: the units that make the row sum to 256 go to the
    // taps with the largest remainders, so no weight is a whole unit off.
    cubic_table() {
        const int64_t den = 131072;
        for (int64_t p = 0; p < 256; ++p) {
            const int64_t p2 = p * p, p3 = p2 * p;
            const int64_t num[4] = {-p3 + 512 * p2 - 65536 * p, 3 * p3 - 1280 * p2 + 2 * 16777216,
                                    -3 * p3 + 1024 * p2 + 65536 * p, p3 - 256 * p2};
            int64_t remainder[4];
            int32_t sum = 0;
            for (int k = 0; k < 4; ++k) {
                const int64_t floor = num[k] >= 0 ? num[k] / den : -((-num[k] + den - 1) / den);
                w[p][k] = static_cast<int32_t>(floor);
                remainder[k] = num[k] - floor * den;
                sum += w[p][k];
            }
            for (; sum < 256; ++sum) {
                int best = 0;
                for (int k = 1; k < 4; ++k)
                    if (remainder[k] > remainder[best]) best = k;
                ++w[p][best];
                remainder[best] = -1;
            }
        }
    }
};

const cubic_table& table() {
    static const cubic_table t;
    return t;
}

inline int32_t clampi(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

const int32_t* afx_cubic_weights(uint32_t phase) { return table().w[phase & 255u]; }

void afx_dib_scale_from(afx_context*, const afx_pixbuf* source, afx_dib* dib, int32_t x, int32_t y,
                        int32_t width, int32_t height, int32_t offset_x, int32_t offset_y,
                        float scale) {
    if (!source || !source->pixels || !dib || !dib->pixels || !(scale > 0.0f)) return;
    if (width < 1 || height < 1) return;
    // A region that starts left of or above the source's placement starts
    // where the source does, so source column 0 always lands at offset_x.
    if (x < offset_x) {
        width -= offset_x - x;
        x = offset_x;
    }
    if (y < offset_y) {
        height -= offset_y - y;
        y = offset_y;
    }
    if (x < 0) {
        width += x;
        x = 0;
    }
    if (y < 0) {
        height += y;
        y = 0;
    }
    const int32_t bw = static_cast<int32_t>(dib->width), bh = static_cast<int32_t>(dib->height);
    if (width < 1 || height < 1 || x >= bw || y >= bh || offset_x >= bw || offset_y >= bh) return;
    width = clampi(width, 0, kMaxRegion < bw - x ? kMaxRegion : bw - x);
    height = clampi(height, 0, kMaxRegion < bh - y ? kMaxRegion : bh - y);

    const int64_t step = static_cast<int64_t>(65536.0f / scale);
    const int32_t c0 = x - offset_x, r0 = y - offset_y;
    const int32_t sw = static_cast<int32_t>(source->width),
                  sh = static_cast<int32_t>(source->height);

    int32_t columns = 0;
    while (columns < width && ((c0 + columns) * step >> 16) <= sw - 1) ++columns;
    const int32_t first = clampi(static_cast<int32_t>((r0 * step) >> 16) - 1, 0, sh - 1);
    const int32_t last =
        clampi(static_cast<int32_t>(((r0 + height - 1) * step) >> 16) + 3, 0, sh - 1);
    if (columns < 1 || last < first) return;
    const int32_t rows = last - first + 1;

    // One allocation: the columns' taps, then the scratch rows, row by row
    // (each needed source row filtered across every destination column).
    const size_t column_bytes =
        (sizeof(afx_resample_column) * static_cast<size_t>(columns) + 15u) & ~size_t(15);
    uint8_t* block = static_cast<uint8_t*>(
        std::malloc(column_bytes +
                    sizeof(uint32_t) * static_cast<size_t>(columns) * static_cast<size_t>(rows)));
    if (!block) return;
    afx_resample_column* taps = reinterpret_cast<afx_resample_column*>(block);
    uint32_t* scratch = reinterpret_cast<uint32_t*>(block + column_bytes);
    for (int32_t i = 0; i < columns; ++i) {
        const int64_t p = (c0 + i) * step;
        taps[i].first_tap = static_cast<int32_t>(p >> 16) - 1;
        taps[i].phase = static_cast<uint32_t>(p >> 8) & 255u;
    }

    // Horizontal pass: each needed source row into one scratch row.
    for (int32_t sr = first; sr <= last; ++sr) {
        afx_resample_hrow(source->pixels + static_cast<size_t>(sr) * source->stride, sw, taps,
                          scratch + static_cast<size_t>(sr - first) * columns, columns);
    }

    // Vertical pass: four scratch rows into each bitmap row, as blue, green, red.
    for (int32_t j = 0; j < height; ++j) {
        const int64_t p = (r0 + j) * step;
        const int32_t sy = static_cast<int32_t>(p >> 16);
        if (sy > sh - 1) break;
        const uint32_t* tap_rows[4];
        for (int k = 0; k < 4; ++k) {
            tap_rows[k] =
                scratch + static_cast<size_t>(clampi(sy - first - 1 + k, 0, rows - 1)) * columns;
        }
        uint8_t* out =
            dib->pixels + static_cast<size_t>(y + j) * dib->stride + static_cast<size_t>(x) * 3u;
        afx_resample_vrow(tap_rows, afx_cubic_weights(static_cast<uint32_t>(p >> 8)), out, columns);
    }
    std::free(block);
}
