// The bicubic resampler: its filter table, exactness at scale 1, the phase
// pattern at scale 2, the source rows it reads at the edges, agreement with
// a direct two-dimensional evaluation of the filter at other scales, and the
// vector row kernels against the scalar ones.
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "afx/afx_dib.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_resample.h"
#include "afx/afx_resample_rows.h"
#include "afx_test_support.h"

namespace {

void fillDib(afx_dib* d, uint32_t rgb) {
    for (uint32_t y = 0; y < d->height; ++y)
        for (uint32_t x = 0; x < d->width; ++x) {
            uint8_t* p = d->pixels + static_cast<size_t>(y) * d->stride + x * 3;
            p[0] = rgb & 255;
            p[1] = (rgb >> 8) & 255;
            p[2] = rgb >> 16;
        }
}

uint32_t srcRgb(const afx_pixbuf* s, int x, int y) {
    const uint32_t w = afx_pixbuf_pixel(s, x, y);
    return (w & 255) << 16 | (w & 0xFF00) | ((w >> 16) & 255);
}

int clampi(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The filter applied directly at bitmap pixel (X, Y): the four source rows
// around the position, each filtered horizontally (rounded to 8 bits as the
// two-pass method does), then filtered vertically.
uint32_t reference(const afx_pixbuf* s, int X, int Y, int ox, int oy, float scale) {
    const int64_t step = static_cast<int64_t>(65536.0f / scale);
    const int64_t px = (X - ox) * step, py = (Y - oy) * step;
    const int sx = static_cast<int>(px >> 16), sy = static_cast<int>(py >> 16);
    const int32_t* wx = afx_cubic_weights(static_cast<uint32_t>(px >> 8));
    const int32_t* wy = afx_cubic_weights(static_cast<uint32_t>(py >> 8));
    const int sw = static_cast<int>(s->width), sh = static_cast<int>(s->height);
    uint32_t out = 0;
    for (int ch = 0; ch < 3; ++ch) {
        int vsum = 0;
        for (int j = 0; j < 4; ++j) {
            const int row = clampi(sy - 1 + j, 0, sh - 1);
            int hsum = 0;
            for (int i = 0; i < 4; ++i) {
                const uint32_t w = afx_pixbuf_pixel(s, clampi(sx - 1 + i, 0, sw - 1), row);
                hsum += wx[i] * static_cast<int>((w >> (8 * ch)) & 255);
            }
            vsum += wy[j] * (clampi(hsum, 0, 65280) >> 8);
        }
        out |= static_cast<uint32_t>(clampi(vsum, 0, 65280) >> 8) << (8 * (2 - ch));
    }
    return out;
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
    const int32_t rows[4][5] = {{0, 0, 256, 0, 0},
                                {64, -18, 222, 58, -6},
                                {128, -16, 144, 144, -16},
                                {192, -6, 58, 222, -18}};
    for (const auto& r : rows) {
        const int32_t* w = afx_cubic_weights(static_cast<uint32_t>(r[0]));
        EXPECT_EQ(w[0], r[1]);
        EXPECT_EQ(w[1], r[2]);
        EXPECT_EQ(w[2], r[3]);
        EXPECT_EQ(w[3], r[4]);
    }
}

using ResampleTest = ToolkitTest;

TEST_F(ResampleTest, ScaleOneCopiesExactlyWithinTheRegionAndFromTheOffset) {
    afx_pixbuf* src = afx_pixbuf_new_from_inline(ctx, 110);
    ASSERT_NE(src, nullptr);
    afx_dib* dib = afx_dib_new(ctx, 80, 60, -1);
    const uint32_t marker = 0x123456;
    struct Case {
        int x, y, w, h, ox, oy;
    } cases[] = {
        {0, 0, 48, 40, 0, 0},     // the whole source
        {25, 12, 10, 6, 20, 10},  // the source at (20, 10), only part of it drawn
        {0, 0, 80, 60, 20, 10},  // a region from left of and above the source: starts at its corner
    };
    for (const Case& c : cases) {
        fillDib(dib, marker);
        afx_dib_scale_from(ctx, src, dib, c.x, c.y, c.w, c.h, c.ox, c.oy, 1.0f);
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 80; ++x) {
                const bool inside = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h &&
                                    x >= c.ox && y >= c.oy && x < c.ox + 48 && y < c.oy + 40;
                ASSERT_EQ(dib_pixel(dib, x, y), inside ? srcRgb(src, x - c.ox, y - c.oy) : marker)
                    << "region at " << c.x << "," << c.y << ": pixel " << x << "," << y;
            }
        }
    }
    // Blue first in memory: the picture's pixel (0, 0) is red 0, green 0, blue 255.
    afx_dib_scale_from(ctx, src, dib, 0, 0, 1, 1, 0, 0, 1.0f);
    EXPECT_EQ(dib->pixels[0], 255);
    EXPECT_EQ(dib->pixels[2], 0);
    afx_dib_free(ctx, dib);
    afx_pixbuf_free(ctx, src);
}

TEST_F(ResampleTest, ScaleTwoAlternatesPhasesZeroAndHalf) {
    // One source row: vertically every tap is that row, so each output row
    // is the horizontal filter alone.
    afx_pixbuf* src = afx_pixbuf_new(ctx, 8, 1);
    const int values[8] = {0, 255, 30, 200, 90, 90, 10, 250};
    for (int x = 0; x < 8; ++x)
        afx_pixbuf_set_pixel(ctx, src, x, 0, values[x], 255 - values[x], 128, 255);
    afx_dib* dib = afx_dib_new(ctx, 16, 2, -1);
    afx_dib_scale_from(ctx, src, dib, 0, 0, 16, 2, 0, 0, 2.0f);
    for (int c = 0; c < 16; ++c) {
        const int k = c / 2;
        int want;
        if (c % 2 == 0) {
            want = values[k];  // phase 0: (0, 256, 0, 0)
        } else {               // phase 128: (-16, 144, 144, -16)
            const int s = -16 * values[clampi(k - 1, 0, 7)] + 144 * values[k] +
                          144 * values[clampi(k + 1, 0, 7)] - 16 * values[clampi(k + 2, 0, 7)];
            want = clampi(s, 0, 65280) >> 8;
        }
        EXPECT_EQ(dib_pixel(dib, c, 0) >> 16, static_cast<uint32_t>(want)) << c;
        EXPECT_EQ(dib_pixel(dib, c, 1) >> 16, static_cast<uint32_t>(want)) << c;
        EXPECT_EQ(dib_pixel(dib, c, 0) & 255, 128u);  // a flat channel stays flat
    }
    afx_dib_free(ctx, dib);
    afx_pixbuf_free(ctx, src);
}

TEST_F(ResampleTest, RowsAboveAndBelowTheTapsAreNeverRead) {
    // A region needing source rows 10..12 at scale 1.5 reads rows 9 to 15 at
    // most (one above, three below); poison everything else and the result
    // must not change.
    afx_pixbuf* clean = afx_pixbuf_new(ctx, 20, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 20; ++x)
            afx_pixbuf_set_pixel(ctx, clean, x, y, x * 12, y * 8, 100, 255);
    afx_pixbuf* poisoned = afx_pixbuf_new(ctx, 20, 30);
    afx_pixbuf_copy(ctx, clean, poisoned, 0, 0, 0, 0, 20, 30);
    const int y0 = 15, h = 4;  // rows 15..18 map to source rows 10, 10, 11, 12
    afx_pixbuf_fill_rect(ctx, poisoned, 0, 0, 20, 9, 255, 0, 255);
    afx_pixbuf_fill_rect(ctx, poisoned, 0, 16, 20, 14, 255, 0, 255);
    afx_dib* a = afx_dib_new(ctx, 30, 45, -1);
    afx_dib* b = afx_dib_new(ctx, 30, 45, -1);
    afx_dib_scale_from(ctx, clean, a, 0, y0, 30, h, 0, 0, 1.5f);
    afx_dib_scale_from(ctx, poisoned, b, 0, y0, 30, h, 0, 0, 1.5f);
    EXPECT_EQ(std::vector<uint8_t>(a->pixels, a->pixels + a->stride * 45),
              std::vector<uint8_t>(b->pixels, b->pixels + b->stride * 45));
    afx_dib_free(ctx, a);
    afx_dib_free(ctx, b);
    afx_pixbuf_free(ctx, clean);
    afx_pixbuf_free(ctx, poisoned);
}

TEST_F(ResampleTest, EmptyAndOffBitmapRegionsDrawNothing) {
    afx_pixbuf* src = afx_pixbuf_new_from_inline(ctx, 110);
    afx_dib* dib = afx_dib_new(ctx, 20, 20, -1);
    fillDib(dib, 0x010203);
    const std::vector<uint8_t> before(dib->pixels, dib->pixels + dib->stride * 20);
    afx_dib_scale_from(ctx, src, dib, 0, 0, 0, 10, 0, 0, 1.0f);
    afx_dib_scale_from(ctx, src, dib, 0, 0, 10, -1, 0, 0, 1.0f);
    afx_dib_scale_from(ctx, src, dib, 20, 0, 10, 10, 0, 0, 1.0f);  // x beyond the last column
    afx_dib_scale_from(ctx, src, dib, 0, 25, 10, 10, 0, 0, 1.0f);
    afx_dib_scale_from(ctx, src, dib, 0, 0, 10, 10, 20, 0, 1.0f);  // offset beyond the bitmap
    afx_dib_scale_from(ctx, src, dib, 0, 0, 10, 10, 0, 0, 0.0f);
    afx_dib_scale_from(ctx, nullptr, dib, 0, 0, 10, 10, 0, 0, 1.0f);
    EXPECT_EQ(before, std::vector<uint8_t>(dib->pixels, dib->pixels + dib->stride * 20));
    // A region reaching past the bitmap is cut at its edge.
    afx_dib_scale_from(ctx, src, dib, 15, 15, 100, 100, 0, 0, 1.0f);
    EXPECT_EQ(dib_pixel(dib, 19, 19), srcRgb(src, 19, 19));
    EXPECT_EQ(dib_pixel(dib, 14, 19), 0x010203u);
    afx_dib_free(ctx, dib);
    afx_pixbuf_free(ctx, src);
}

// A channel byte that is 0 or 255 half the time: hard edges make the filter
// ring past both ends of the range, so the clamps are exercised.
uint8_t harsh(std::mt19937& rng) {
    const uint32_t r = rng();
    return (r & 3u) == 0 ? 0 : ((r & 3u) == 1 ? 255 : static_cast<uint8_t>(r >> 8));
}

TEST_F(ResampleTest, EveryScaleAndRegionAgreesWithTheDirectFilter) {
    // The test picture, and a harsh random one whose ringing drives sums past
    // both ends of the range so the clamps are exercised.
    std::mt19937 rng(1952);
    afx_pixbuf* harshSrc = afx_pixbuf_new(ctx, 61, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 61; ++x)
            afx_pixbuf_set_pixel(ctx, harshSrc, x, y, harsh(rng), harsh(rng), harsh(rng),
                                 harsh(rng));
    afx_pixbuf* picture = afx_pixbuf_new_from_inline(ctx, 110);
    afx_dib* dib = afx_dib_new(ctx, 190, 110, -1);
    struct Region {
        int x, y, w, h, ox, oy;
    };
    struct Source {
        afx_pixbuf* src;
        std::vector<Region> regions;
    } sources[] = {
        {picture,
         {{0, 0, 130, 110, 0, 0},    // whole: top and left edges clamp their taps
          {7, 5, 40, 30, 3, 2},      // inner region: its rows come from the middle
          {31, 60, 9, 50, 3, 2},     // down to the bottom edge of the source
          {90, 0, 40, 110, 3, 2}}},  // the right edge
        {harshSrc, {{1, 2, 189, 73, 1, 2}}},
    };
    int clipped_high = 0, clipped_low = 0;
    for (const Source& source : sources) {
        afx_pixbuf* src = source.src;
        const bool isPicture = src == picture;
        for (float scale : {0.5f, 0.7f, 0.75f, 1.0f, 1.25f, 1.5f, 2.0f, 2.37f, 3.1f}) {
            for (const Region& r : source.regions) {
                fillDib(dib, 0x00FF00);
                afx_dib_scale_from(ctx, src, dib, r.x, r.y, r.w, r.h, r.ox, r.oy, scale);
                const int64_t step = static_cast<int64_t>(65536.0f / scale);
                for (int y = 0; y < 110; ++y) {
                    for (int x = 0; x < 190; ++x) {
                        const bool covered = ((x - r.ox) * step >> 16) < int(src->width) &&
                                             ((y - r.oy) * step >> 16) < int(src->height);
                        // Source column 0 always lands at the offset: nothing is drawn before it.
                        const bool inside = x >= r.x && x < r.x + r.w && y >= r.y &&
                                            y < r.y + r.h && x >= r.ox && y >= r.oy && covered;
                        const uint32_t want =
                            inside ? reference(src, x, y, r.ox, r.oy, scale) : 0x00FF00u;
                        ASSERT_EQ(dib_pixel(dib, x, y), want)
                            << "scale " << scale << " at " << x << "," << y;
                        if (!isPicture && inside && scale == 2.0f) {
                            clipped_high += (want & 255) == 255;
                            clipped_low += (want & 255) == 0;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(clipped_high, 100);
    EXPECT_GT(clipped_low, 100);
    afx_dib_free(ctx, dib);
    afx_pixbuf_free(ctx, picture);
    afx_pixbuf_free(ctx, harshSrc);
}

TEST(ResampleRows, VectorHorizontalRowEqualsScalarForAnyTapsAndPhases) {
    std::mt19937 rng(364);
    for (int width : {1, 2, 3, 4, 5, 9, 37}) {
        std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
        for (int count = 0; count <= 23; ++count) {
            for (int round = 0; round < 12; ++round) {
                for (uint8_t& b : row) b = harsh(rng);
                std::vector<afx_resample_column> columns(static_cast<size_t>(count));
                for (afx_resample_column& c : columns) {
                    // From wholly left of the row to wholly right of it.
                    c.first_tap =
                        static_cast<int32_t>(rng() % static_cast<uint32_t>(width + 8)) - 4;
                    c.phase = rng() & 255u;
                }
                std::vector<uint32_t> a(static_cast<size_t>(count) + 1, 0x5A5A5A5Au), b = a;
                afx_resample_hrow_scalar(row.data(), width, columns.data(), a.data(), count);
                afx_resample_hrow_vector(row.data(), width, columns.data(), b.data(), count);
                ASSERT_EQ(a, b) << width << " wide, " << count << " columns";
                EXPECT_EQ(b[static_cast<size_t>(count)],
                          0x5A5A5A5Au);  // nothing past the last column
            }
        }
    }
}

TEST(ResampleRows, VectorVerticalRowEqualsScalarAtEveryPhase) {
    std::mt19937 rng(538);
    for (uint32_t phase = 0; phase < 256; ++phase) {
        for (int count : {0, 1, 3, 4, 5, 8, 11, 16, 19}) {
            std::vector<uint32_t> rows[4];
            for (auto& r : rows) {
                r.resize(static_cast<size_t>(count));
                for (uint32_t& v : r)
                    v = uint32_t(harsh(rng)) | uint32_t(harsh(rng)) << 8 |
                        uint32_t(harsh(rng)) << 16 | 0xFF000000u;
            }
            const uint32_t* const taps[4] = {rows[0].data(), rows[1].data(), rows[2].data(),
                                             rows[3].data()};
            // Three bytes a pixel, and a guard byte after them.
            std::vector<uint8_t> a(static_cast<size_t>(count) * 3 + 1, 0xA5), b = a;
            afx_resample_vrow_scalar(taps, afx_cubic_weights(phase), a.data(), count);
            afx_resample_vrow_vector(taps, afx_cubic_weights(phase), b.data(), count);
            ASSERT_EQ(a, b) << "phase " << phase << ", " << count << " pixels";
            EXPECT_EQ(b.back(), 0xA5);
        }
    }
}

TEST(ResampleRows, ScalarRowsFilterEachChannelAndClamp) {
    // Phase 128 weighs (-16, 144, 144, -16): a bright pair between dark
    // neighbours overshoots (288 x 255 / 256 = 286, held at 255), a dark
    // pair between bright ones undershoots (-32 x 255 / 256, held at 0).
    const uint8_t row[4 * 4] = {0, 255, 10, 7, 255, 0, 20, 7, 255, 0, 30, 7, 0, 255, 40, 7};
    const afx_resample_column columns[2] = {{0, 128}, {-2, 0}};
    uint32_t out[2];
    afx_resample_hrow_scalar(row, 4, columns, out, 2);
    const int blue = (-16 * 10 + 144 * 20 + 144 * 30 - 16 * 40) >> 8;  // 25
    EXPECT_EQ(out[0], 0xFF000000u | 255u << 16 | 0u << 8 | static_cast<uint32_t>(blue));
    EXPECT_EQ(out[1],
              0xFF000000u | 0u << 16 | 255u << 8 | 10u);  // taps clamped to column 0, phase 0
    const uint32_t r0[1] = {0x0000FF}, r1[1] = {0x00FF00}, r2[1] = {0x00FF00}, r3[1] = {0x0000FF};
    const uint32_t* const taps[4] = {r0, r1, r2, r3};
    uint8_t bgr[3];
    afx_resample_vrow_scalar(taps, afx_cubic_weights(128), bgr, 1);
    EXPECT_EQ(bgr[0], 0);    // blue: -32 x 255 held at 0
    EXPECT_EQ(bgr[1], 255);  // green: 288 x 255 held at 255
    EXPECT_EQ(bgr[2], 0);
}

}  // namespace
