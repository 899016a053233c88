// The bicubic resampler against Catmull-Rom and a direct evaluation of the
// filter over its taps; the vector row kernels against the scalar ones.
#include <random>
#include <vector>

#include "afx/afx_dib.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_resample.h"
#include "afx/afx_resample_rows.h"
#include "afx_test_support.h"
#include "golden_image.h"

namespace {

int clampi(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The filter applied directly at bitmap pixel (X, Y) as 0x00RRGGBB: the four
// source rows around the position, each filtered horizontally (rounded to 8
// bits as the two-pass method does), then filtered vertically.
uint32_t reference(const afx_pixbuf* s, int X, int Y, int ox, int oy, float scale) {
    const int64_t step = static_cast<int64_t>(65536.0f / scale);
    const int64_t px = (X - ox) * step, py = (Y - oy) * step;
    const int sx = int(px >> 16), sy = int(py >> 16);
    const int32_t* wx = afx_cubic_weights(uint32_t(px >> 8) & 255u);
    const int32_t* wy = afx_cubic_weights(uint32_t(py >> 8) & 255u);
    uint32_t out = 0;
    for (int ch = 0; ch < 3; ++ch) {
        int vsum = 0;
        for (int j = 0; j < 4; ++j) {
            int hsum = 0;
            for (int i = 0; i < 4; ++i) {
                const uint32_t w = afx_pixbuf_pixel(s, clampi(sx - 1 + i, 0, int(s->width) - 1),
                                                    clampi(sy - 1 + j, 0, int(s->height) - 1));
                hsum += wx[i] * int(w >> (8 * ch) & 255);
            }
            vsum += wy[j] * (clampi(hsum, 0, 65280) >> 8);
        }
        out |= uint32_t(clampi(vsum, 0, 65280) >> 8) << (8 * (2 - ch));
    }
    return out;
}

// A channel byte that is 0 or 255 half the time: hard edges make the filter
// ring past both ends of the range, so the clamps are exercised.
uint8_t harsh(std::mt19937& rng) {
    const uint32_t r = rng();
    return (r & 3u) == 0 ? 0 : ((r & 3u) == 1 ? 255 : uint8_t(r >> 8));
}

TEST(CubicWeights, EveryPhaseSumsTo256AndFollowsCatmullRom) {
    for (uint32_t p = 0; p < 256; ++p) {
        const int32_t* w = afx_cubic_weights(p);
        EXPECT_EQ(w[0] + w[1] + w[2] + w[3], 256) << p;
        const double t = p / 256.0;
        const double exact[4] = {
            -0.5 * t * t * t + t * t - 0.5 * t, 1.5 * t * t * t - 2.5 * t * t + 1.0,
            -1.5 * t * t * t + 2.0 * t * t + 0.5 * t, 0.5 * t * t * t - 0.5 * t * t};
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(w[k], exact[k] * 256.0, 1.0) << p << " tap " << k;
    }
}

using ResampleTest = ToolkitTest;

TEST_F(ResampleTest, EveryScaleAndRegionAgreesWithTheDirectFilter) {
    // The test picture, and a harsh random one whose ringing drives sums past
    // both ends of the range.
    std::mt19937 rng(1952);
    afx_pixbuf* harshSrc = afx_pixbuf_new(ctx, 61, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 61; ++x)
            afx_pixbuf_set_pixel(ctx, harshSrc, x, y, harsh(rng), harsh(rng), harsh(rng),
                                 harsh(rng));
    afx_pixbuf* picture = afx_pixbuf_new_from_inline(ctx, 110);
    afx_dib* dib = afx_dib_new(ctx, 190, 110, -1);
    struct Region {
        afx_pixbuf* src;
        int x, y, w, h, ox, oy;
    } regions[] = {
        {picture, 0, 0, 130, 110, 0, 0},    // whole: top and left edges clamp their taps
        {picture, 7, 5, 40, 30, 3, 2},      // inner region: its rows come from the middle
        {picture, 31, 60, 9, 50, 3, 2},     // down to the bottom edge of the source
        {picture, 90, 0, 40, 110, 3, 2},    // the right edge
        {picture, 25, 12, 10, 6, 20, 10},   // the source further in, only part of it drawn
        {picture, 15, 15, 900, 900, 0, 0},  // past the bitmap: cut at its edge
        {harshSrc, 1, 2, 189, 73, 1, 2},
        // Nothing at all: empty, beyond the bitmap, offset beyond it.
        {picture, 0, 0, 0, 10, 0, 0},
        {picture, 0, 0, 10, -1, 0, 0},
        {picture, 190, 0, 10, 10, 0, 0},
        {picture, 0, 110, 10, 10, 0, 0},
        {picture, 0, 0, 10, 10, 190, 0},
    };
    int clipped_high = 0, clipped_low = 0;
    for (float scale : {0.5f, 0.7f, 0.75f, 1.0f, 1.25f, 1.5f, 2.0f, 2.37f, 3.1f}) {
        for (const Region& r : regions) {
            const afx_pixbuf* src = r.src;
            std::fill(dib->pixels, dib->pixels + dib->stride * 110, 0x5A);
            afx_dib_scale_from(ctx, src, dib, r.x, r.y, r.w, r.h, r.ox, r.oy, scale);
            const int64_t step = static_cast<int64_t>(65536.0f / scale);
            GoldenPicture want{190, 110, {}};
            for (int y = 0; y < 110; ++y) {
                for (int x = 0; x < 190; ++x) {
                    // Source column 0 lands at the offset: nothing is drawn before it.
                    const bool inside = x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h &&
                                        x >= r.ox && y >= r.oy &&
                                        ((x - r.ox) * step >> 16) < int(src->width) &&
                                        ((y - r.oy) * step >> 16) < int(src->height);
                    uint32_t v = inside ? reference(src, x, y, r.ox, r.oy, scale) : 0x5A5A5Au;
                    if (inside && scale == 1.0f) {  // exact: the source pixel, blue first in memory
                        const uint32_t s = afx_pixbuf_pixel(src, x - r.ox, y - r.oy);
                        EXPECT_EQ(v, (s & 255) << 16 | (s & 0xFF00) | (s >> 16 & 255));
                    }
                    clipped_high += src == harshSrc && inside && (v & 255) == 255;
                    clipped_low += src == harshSrc && inside && (v & 255) == 0;
                    want.pixels.push_back(v);
                }
            }
            ASSERT_TRUE(golden_compare("afx-resample", want, golden_picture(dib)))
                << "scale " << scale << ", region at " << r.x << "," << r.y;
        }
    }
    EXPECT_GT(clipped_high, 1000);
    EXPECT_GT(clipped_low, 1000);
    afx_dib_scale_from(ctx, nullptr, dib, 0, 0, 10, 10, 0, 0, 1.0f);  // no source: nothing
    afx_dib_scale_from(ctx, picture, dib, 0, 0, 10, 10, 0, 0, 0.0f);
    EXPECT_EQ(dib->pixels[0], 0x5A);
    afx_dib_free(ctx, dib);
    afx_pixbuf_free(ctx, picture);
    afx_pixbuf_free(ctx, harshSrc);
}

TEST(ResampleRows, VectorRowsEqualScalarForAnyTapsPhasesAndCounts) {
    std::mt19937 rng(364);
    for (int width : {1, 2, 3, 4, 5, 9, 37}) {
        std::vector<uint8_t> row(size_t(width) * 4);
        for (int count = 0; count <= 23; ++count) {
            for (int round = 0; round < 12; ++round) {
                for (uint8_t& b : row) b = harsh(rng);
                std::vector<afx_resample_column> columns(static_cast<size_t>(count));
                for (afx_resample_column& c :
                     columns) {  // from wholly left of the row to right of it
                    c.first_tap = int32_t(rng() % uint32_t(width + 8)) - 4;
                    c.phase = rng() & 255u;
                }
                std::vector<uint32_t> a(size_t(count) + 1, 0x5A5A5A5Au), b = a;
                afx_resample_hrow_scalar(row.data(), width, columns.data(), a.data(), count);
                afx_resample_hrow_vector(row.data(), width, columns.data(), b.data(), count);
                ASSERT_EQ(a, b) << width << " wide, " << count << " columns";
                EXPECT_EQ(b.back(), 0x5A5A5A5Au);  // nothing past the last column
            }
        }
    }
    for (uint32_t phase = 0; phase < 256; ++phase) {
        for (int count : {0, 1, 3, 4, 5, 8, 11, 16, 19}) {
            std::vector<uint32_t> rows[4];
            for (auto& r : rows)
                for (int i = 0; i < count; ++i)
                    r.push_back(uint32_t(harsh(rng)) | uint32_t(harsh(rng)) << 8 |
                                uint32_t(harsh(rng)) << 16 | 0xFF000000u);
            const uint32_t* const taps[4] = {rows[0].data(), rows[1].data(), rows[2].data(),
                                             rows[3].data()};
            // Three bytes a pixel, and a guard byte after them.
            std::vector<uint8_t> a(size_t(count) * 3 + 1, 0xA5), b = a;
            afx_resample_vrow_scalar(taps, afx_cubic_weights(phase), a.data(), count);
            afx_resample_vrow_vector(taps, afx_cubic_weights(phase), b.data(), count);
            ASSERT_EQ(a, b) << "phase " << phase << ", " << count << " pixels";
            EXPECT_EQ(b.back(), 0xA5);
        }
    }
}

}  // namespace
