// Pixel buffers and the vector rows against a model written from the rules.
#include <random>
#include <vector>

#include "afx/afx_pixbuf.h"
#include "afx/afx_pixel_rows.h"
#include "afx_test_support.h"

namespace {

uint32_t rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    return r | g << 8 | b << 16 | a << 24;
}

// One channel: old + ((colour - old) x alpha >> 8), arithmetic shift; the
// destination alpha stays.
uint32_t blended(uint32_t old, uint32_t colour) {
    const int a = int(colour >> 24);
    uint32_t out = old & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int o = int(old >> shift & 255), c = int(colour >> shift & 255);
        out |= uint32_t(o + ((c - o) * a >> 8)) << shift;
    }
    return out;
}

// The test image of resource 100, from the formula it was made with.
uint32_t gradient(int x, int y) {
    return rgba(x * 16, y * 20, (x * 7 + y * 13) & 255, 255 - x - y);
}

using PixbufTest = ToolkitTest;

TEST_F(PixbufTest, ResourceImagesAreReadInPlaceAndBadOnesRefused) {
    afx_pixbuf* p = afx_pixbuf_new_from_inline(ctx, 100);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->width * 100 + p->height, 1612u);
    std::vector<uint32_t> want;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) want.push_back(gradient(x, y));
    EXPECT_EQ(pixel_words(p), want);
    afx_pixbuf_free(ctx, p);
    afx_pixbuf* included = afx_pixbuf_new_from_inline_quiet(ctx, 120);  // from an included script
    ASSERT_NE(included, nullptr);
    EXPECT_EQ(afx_pixbuf_pixel(included, 15, 11), gradient(15, 11));
    afx_pixbuf_free(ctx, included);

    testing::internal::CaptureStderr();
    EXPECT_EQ(afx_pixbuf_new_from_inline(ctx, 101), nullptr);  // wrong magic
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "afx_pixbuf_new_from_inline - pixbuf is not a pixbuf test failed\n");
    for (const int32_t id : {999, 102, -5})  // missing; rows beyond the resource
        EXPECT_EQ(afx_pixbuf_new_from_inline(ctx, id), nullptr) << id;
    const uint8_t tooShort[10] = {'G', 'd', 'k', 'P'};
    EXPECT_EQ(afx_pixbuf_new_from_pixdata(tooShort, sizeof(tooShort), false), nullptr);
}

TEST_F(PixbufTest, NewBuffersAreOpaqueBlackWithAMarginAndFillsFollowTheRules) {
    EXPECT_EQ(afx_pixbuf_new(ctx, 0, 10), nullptr);
    afx_pixbuf* p = afx_pixbuf_new(ctx, 13, 9);  // 13: one vector step and a tail
    ASSERT_NE(p, nullptr);
    std::vector<uint32_t> model(13 * 9, 0xFF000000u);
    EXPECT_EQ(pixel_words(p), model);
    p->pixels[(13 + 8) * (9 + 8) * 4 - 1] = 0x5A;  // the margin: the sanitizer build checks it
    afx_pixbuf_fill(ctx, p, 1, 2, 3, 4);
    model.assign(13 * 9, rgba(1, 2, 3, 4));
    // Opaque rectangles, clipped on every side; single pixels inside only.
    const int rects[][4] = {{2, 3, 4, 2},   {-3, -2, 5, 4}, {8, 6, 50, 50}, {0, 0, 13, 0},
                            {0, 0, 13, -4}, {20, 0, 4, 4},  {12, 8, 1, 1}};
    for (const auto& r : rects) {
        afx_pixbuf_fill_rect(ctx, p, r[0], r[1], r[2], r[3], 200, 100, r[0] & 255);
        for (int y = std::max(r[1], 0); y < std::min(r[1] + r[3], 9); ++y)
            for (int x = std::max(r[0], 0); x < std::min(r[0] + r[2], 13); ++x)
                model[y * 13 + x] = rgba(200, 100, r[0] & 255, 255);
    }
    for (const int xy : {-1, 0, 12, 13})
        afx_pixbuf_set_pixel(ctx, p, xy, 8 - xy % 8, 9, 8, 7, xy & 255);
    model[8 * 13] = rgba(9, 8, 7, 0);
    model[4 * 13 + 12] = rgba(9, 8, 7, 12);
    EXPECT_EQ(pixel_words(p), model);
    afx_pixbuf_fill_rect(ctx, nullptr, 0, 0, 4, 4, 3, 3, 3);
    afx_pixbuf_clear(ctx, p);
    EXPECT_EQ(pixel_words(p), std::vector<uint32_t>(13 * 9, 0xFF000000u));
    afx_pixbuf_free(ctx, p);

    afx_pixbuf bare{7, 2, 0, 0, nullptr, 0};  // no array yet: the fill makes one
    afx_pixbuf_fill(ctx, &bare, 9, 8, 7, 6);
    EXPECT_EQ(bare.stride, 28u);
    EXPECT_EQ(pixel_words(&bare), std::vector<uint32_t>(14, rgba(9, 8, 7, 6)));
    std::free(bare.pixels);
}

TEST_F(PixbufTest, RunsAndCopiesBlendByTheRuleAndClipBothBuffers) {
    const afx_pixbuf* src = afx_pixbuf_new_from_inline(ctx, 100);
    const uint32_t ground = rgba(200, 40, 90, 33);
    afx_pixbuf* dst = afx_pixbuf_new(ctx, 12, 10);
    std::mt19937 rng(100);
    for (int round = 0; round < 300; ++round) {
        afx_pixbuf_fill(ctx, dst, 200, 40, 90, 33);
        std::vector<uint32_t> model(12 * 10, ground);
        auto pick = [&rng](int lo, int hi) { return lo + int(rng() % uint32_t(hi - lo + 1)); };
        const int a = pick(-6, 18), b = pick(-6, 18), at = pick(-2, 11), kind = round % 4;
        const uint32_t colour = rgba(pick(0, 255), pick(0, 255), pick(0, 255),
                                     round % 5 == 0 ? 255 : (round % 5 == 1 ? 0 : pick(0, 255)));
        if (kind < 2) {  // a run, ends in either order and both included
            const int w = kind == 0 ? 12 : 10, h = kind == 0 ? 10 : 12;
            for (int i = std::max(std::min(a, b), 0); i <= std::min(std::max(a, b), w - 1); ++i)
                if (at >= 0 && at < h) {
                    uint32_t& m = kind == 0 ? model[at * 12 + i] : model[i * 12 + at];
                    m = blended(m, colour);
                }
            if (kind == 0)
                afx_pixbuf_blend_hline(ctx, dst, a, at, b, colour & 255, colour >> 8 & 255,
                                       colour >> 16 & 255, colour >> 24);
            else
                afx_pixbuf_blend_vline(ctx, dst, at, a, b, colour & 255, colour >> 8 & 255,
                                       colour >> 16 & 255, colour >> 24);
        } else {  // a rectangle of the picture, opaque or by its own alpha
            const int sx = pick(-4, 14), sy = pick(-4, 10), dx = pick(-5, 11), dy = pick(-5, 9),
                      w = pick(0, 14), h = pick(0, 11);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (sx + x >= 0 && sx + x < 16 && sy + y >= 0 && sy + y < 12 && dx + x >= 0 &&
                        dx + x < 12 && dy + y >= 0 && dy + y < 10) {
                        uint32_t& m = model[(dy + y) * 12 + dx + x];
                        m = kind == 2 ? gradient(sx + x, sy + y)
                                      : blended(m, gradient(sx + x, sy + y));
                    }
            if (kind == 2) afx_pixbuf_copy(ctx, src, dst, sx, sy, dx, dy, w, h);
            else afx_pixbuf_blend(ctx, src, dst, sx, sy, dx, dy, w, h);
        }
        ASSERT_EQ(pixel_words(dst), model) << "round " << round << " kind " << kind;
    }
    afx_pixbuf_free(ctx, dst);
    afx_pixbuf_free(ctx, const_cast<afx_pixbuf*>(src));
}

TEST(PixelRows, VectorAndScalarRowsFollowTheRuleOnRandomPixels) {
    // Counts around the 8-pixel vector step; alpha 0 and 255 are the edges of
    // the rule, so they are made common.
    std::mt19937 rng(52);
    for (int count = 0; count <= 41; ++count) {
        for (int round = 0; round < 40; ++round) {
            std::vector<uint32_t> src(count), a(count), b, want(count);
            for (int i = 0; i < count; ++i) {
                src[i] = rng();
                a[i] = rng();
                if (i % 3 == 0) src[i] = (src[i] & 0xFFFFFFu) | (rng() % 2 ? 0xFF000000u : 0u);
                want[i] = blended(a[i], src[i]);
            }
            const uint32_t colour = src.empty() ? rng() : src[0];
            for (auto* row : {afx_blend_row_scalar, afx_blend_row_vector}) {
                b = a;
                row(reinterpret_cast<const uint8_t*>(src.data()),
                    reinterpret_cast<uint8_t*>(b.data()), count);
                ASSERT_EQ(b, want) << "blend, " << count << " pixels";
            }
            for (int i = 0; i < count; ++i) want[i] = blended(a[i], colour);
            for (auto* row : {afx_blend_colour_row_scalar, afx_blend_colour_row_vector}) {
                b = a;
                row(colour, reinterpret_cast<uint8_t*>(b.data()), count);
                ASSERT_EQ(b, want) << "colour, " << count << " pixels";
            }
            for (auto* row : {afx_fill_row_scalar, afx_fill_row_vector}) {
                b = a;
                row(colour, reinterpret_cast<uint8_t*>(b.data()), count);
                ASSERT_EQ(b, std::vector<uint32_t>(count, colour)) << "fill, " << count;
            }
        }
    }
}

}  // namespace
