// Pixel buffers: the pixel-data loader, fills, single pixels, runs, copies
// and the blend rule, including the vector rows against the scalar ones.
#include <cstring>
#include <random>
#include <vector>

#include "afx/afx_pixbuf.h"
#include "afx/afx_pixel_rows.h"
#include "afx_test_support.h"

namespace {

uint32_t rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    return r | g << 8 | b << 16 | a << 24;
}

// The blend rule written out once more, from its definition.
uint32_t blendExpected(uint32_t oldWord, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    auto ch = [a](int o, int c) {
        return static_cast<uint32_t>(o + (((c - o) * static_cast<int>(a)) >> 8)) & 255u;
    };
    return ch(oldWord & 255, r) | ch((oldWord >> 8) & 255, g) << 8 |
           ch((oldWord >> 16) & 255, b) << 16 | (oldWord & 0xFF000000u);
}

// The test image of resource 100, from the formula it was made with.
uint32_t gradientPixel(int x, int y) {
    return rgba(x * 16, y * 20, (x * 7 + y * 13) & 255, 255 - x - y);
}

afx_pixbuf* filled(afx_context* c, uint32_t w, uint32_t h, uint32_t word) {
    afx_pixbuf* p = afx_pixbuf_new(c, w, h);
    afx_pixbuf_fill(c, p, word & 255, (word >> 8) & 255, (word >> 16) & 255, word >> 24);
    return p;
}

using PixbufTest = ToolkitTest;

TEST_F(PixbufTest, ResourceImageIsReadInPlaceFromItsBigEndianHeader) {
    afx_pixbuf* p = afx_pixbuf_new_from_inline(ctx, 100);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->width, 16u);
    EXPECT_EQ(p->height, 12u);
    EXPECT_EQ(p->stride, 64u);
    EXPECT_EQ(p->bytes_per_pixel, 4u);
    EXPECT_EQ(p->owns_pixels, 0);
    uint32_t size = 0;
    const uint8_t* bytes =
        static_cast<const uint8_t*>(afxp_resource_find(afx_get_module(), 100, &size));
    EXPECT_EQ(size, 24u + 64u * 12u);
    EXPECT_EQ(p->pixels, bytes + 24);  // no copy: the pixels stay in the resource
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(afx_pixbuf_pixel(p, x, y), gradientPixel(x, y)) << x << "," << y;
    }
    afx_pixbuf_free(ctx, p);  // frees the record only
    EXPECT_EQ(bytes[0], 'G');
    // A resource listed by a script that the main script includes.
    afx_pixbuf* included = afx_pixbuf_new_from_inline(ctx, 120);
    ASSERT_NE(included, nullptr);
    EXPECT_EQ(afx_pixbuf_pixel(included, 15, 11), gradientPixel(15, 11));
    afx_pixbuf_free(ctx, included);
}

TEST_F(PixbufTest, WrongMagicFailsWithTheLoadersMessageAndOtherFailuresAreSilent) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(afx_pixbuf_new_from_inline(ctx, 101), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "afx_pixbuf_new_from_inline - pixbuf is not a pixbuf test failed\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(afx_pixbuf_new_from_inline_quiet(ctx, 101), nullptr);  // the atlas variant
    EXPECT_EQ(afx_pixbuf_new_from_inline(ctx, 999), nullptr);        // missing
    EXPECT_EQ(afx_pixbuf_new_from_inline(ctx, 102), nullptr);        // rows beyond the resource
    EXPECT_EQ(afx_pixbuf_new_from_inline(ctx, -5), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    afx_pixbuf* quiet = afx_pixbuf_new_from_inline_quiet(ctx, 100);
    ASSERT_NE(quiet, nullptr);
    EXPECT_EQ(quiet->width, 16u);
    afx_pixbuf_free(ctx, quiet);
    const uint8_t tooShort[10] = {'G', 'd', 'k', 'P'};
    EXPECT_EQ(afx_pixbuf_new_from_pixdata(tooShort, sizeof(tooShort), false), nullptr);
}

TEST_F(PixbufTest, NewBufferIsOpaqueBlackWithAWritableMarginAndSetPixelWritesInsideIt) {
    afx_pixbuf* p = afx_pixbuf_new(ctx, 5, 3);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->stride, 20u);
    EXPECT_EQ(p->owns_pixels, 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(afx_pixbuf_pixel(p, x, y), 0xFF000000u);
    // The array reaches (5 + 8) x (3 + 8) pixels; the sanitizer build checks the last byte.
    p->pixels[(5 + 8) * (3 + 8) * 4 - 1] = 0x5A;
    // A single pixel: all four bytes, alpha last; points outside are ignored.
    afx_pixbuf_set_pixel(ctx, p, 4, 2, 10, 20, 30, 40);
    afx_pixbuf_set_pixel(ctx, p, 5, 0, 1, 1, 1, 1);
    afx_pixbuf_set_pixel(ctx, p, 0, -1, 1, 1, 1, 1);
    EXPECT_EQ(afx_pixbuf_pixel(p, 4, 2), rgba(10, 20, 30, 40));
    EXPECT_EQ(p->pixels[2 * 20 + 4 * 4 + 3], 40);
    EXPECT_EQ(afx_pixbuf_pixel(p, 0, 0), 0xFF000000u);
    EXPECT_EQ(afx_pixbuf_pixel(p, 0, 1), 0xFF000000u);
    afx_pixbuf_free(ctx, p);
    EXPECT_EQ(afx_pixbuf_new(ctx, 0, 10), nullptr);
    EXPECT_EQ(afx_pixbuf_new(ctx, 10, 0), nullptr);
    afx_pixbuf_free(ctx, nullptr);
}

TEST_F(PixbufTest, FillSetsEveryPixelAndAllocatesAnAbsentArray) {
    afx_pixbuf* p = afx_pixbuf_new(ctx, 13, 4);  // 13: one vector step and a tail
    afx_pixbuf_fill(ctx, p, 1, 2, 3, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(afx_pixbuf_pixel(p, x, y), rgba(1, 2, 3, 4));
    afx_pixbuf_clear(ctx, p);
    EXPECT_EQ(afx_pixbuf_pixel(p, 12, 3), 0xFF000000u);
    afx_pixbuf_free(ctx, p);

    afx_pixbuf bare{7, 2, 0, 0, nullptr, 0};
    afx_pixbuf_fill(ctx, &bare, 9, 8, 7, 6);
    ASSERT_NE(bare.pixels, nullptr);
    EXPECT_EQ(bare.stride, 28u);
    EXPECT_EQ(afx_pixbuf_pixel(&bare, 6, 1), rgba(9, 8, 7, 6));
    std::free(bare.pixels);
}

TEST_F(PixbufTest, FillRectIsOpaqueInclusiveOfItsAreaAndClipped) {
    afx_pixbuf* p = filled(ctx, 10, 8, rgba(5, 5, 5, 0));
    afx_pixbuf_fill_rect(ctx, p, 2, 3, 4, 2, 200, 100, 50);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 6 && y >= 3 && y < 5;
            ASSERT_EQ(afx_pixbuf_pixel(p, x, y),
                      inside ? rgba(200, 100, 50, 255) : rgba(5, 5, 5, 0));
        }
    }
    afx_pixbuf_fill_rect(ctx, p, -3, -2, 5, 4, 1, 1, 1);  // off the top-left corner
    EXPECT_EQ(afx_pixbuf_pixel(p, 1, 1), rgba(1, 1, 1, 255));
    EXPECT_EQ(afx_pixbuf_pixel(p, 2, 1), rgba(5, 5, 5, 0));
    EXPECT_EQ(afx_pixbuf_pixel(p, 1, 2), rgba(5, 5, 5, 0));
    afx_pixbuf_fill_rect(ctx, p, 8, 6, 50, 50, 2, 2, 2);  // off the bottom-right corner
    EXPECT_EQ(afx_pixbuf_pixel(p, 9, 7), rgba(2, 2, 2, 255));
    EXPECT_EQ(afx_pixbuf_pixel(p, 7, 7), rgba(5, 5, 5, 0));
    afx_pixbuf_fill_rect(ctx, p, 0, 0, 10, 0, 3, 3, 3);  // height below 1
    afx_pixbuf_fill_rect(ctx, p, 0, 0, 10, -4, 3, 3, 3);
    afx_pixbuf_fill_rect(ctx, p, 20, 0, 4, 4, 3, 3, 3);  // wholly outside
    afx_pixbuf_fill_rect(ctx, nullptr, 0, 0, 4, 4, 3, 3, 3);
    EXPECT_EQ(afx_pixbuf_pixel(p, 5, 0), rgba(5, 5, 5, 0));
    afx_pixbuf_free(ctx, p);
}

TEST_F(PixbufTest, BlendRuleEndpoints) {
    afx_pixbuf* p = filled(ctx, 1, 1, rgba(0, 0, 0, 77));
    afx_pixbuf_blend_hline(ctx, p, 0, 0, 0, 255, 255, 255, 255);
    EXPECT_EQ(afx_pixbuf_pixel(p, 0, 0), rgba(254, 254, 254, 77));  // 255 over 0 gives 254
    afx_pixbuf_blend_hline(ctx, p, 0, 0, 0, 0, 0, 0, 255);
    EXPECT_EQ(afx_pixbuf_pixel(p, 0, 0),
              rgba(0, 0, 0, 77));  // the shift rounds down: falling reaches 0
    afx_pixbuf_fill(ctx, p, 200, 10, 128, 0);
    afx_pixbuf_blend_hline(ctx, p, 0, 0, 0, 100, 255, 128, 0);  // alpha 0: nothing moves
    EXPECT_EQ(afx_pixbuf_pixel(p, 0, 0), rgba(200, 10, 128, 0));
    afx_pixbuf_blend_hline(ctx, p, 0, 0, 0, 100, 255, 0, 128);
    // 200 + (-100 x 128 >> 8) = 150; 10 + (245 x 128 >> 8) = 132; 128 + (-128 x 128 >> 8) = 64.
    EXPECT_EQ(afx_pixbuf_pixel(p, 0, 0), rgba(150, 132, 64, 0));
    afx_pixbuf_free(ctx, p);
}

TEST_F(PixbufTest, RunsIncludeBothEndsInEitherOrderAndClip) {
    const uint32_t ground = rgba(10, 20, 30, 99);
    afx_pixbuf* p = filled(ctx, 20, 6, ground);
    afx_pixbuf_blend_hline(ctx, p, 14, 2, 3, 250, 0, 100, 200);  // reversed ends
    for (int x = 0; x < 20; ++x) {
        const uint32_t want =
            (x >= 3 && x <= 14) ? blendExpected(ground, 250, 0, 100, 200) : ground;
        ASSERT_EQ(afx_pixbuf_pixel(p, x, 2), want) << x;
        ASSERT_EQ(afx_pixbuf_pixel(p, x, 1), ground);
    }
    afx_pixbuf_blend_vline(ctx, p, 17, 5, 1, 0, 255, 0, 255);
    for (int y = 0; y < 6; ++y) {
        const uint32_t want = y >= 1 ? blendExpected(ground, 0, 255, 0, 255) : ground;
        ASSERT_EQ(afx_pixbuf_pixel(p, 17, y), want) << y;
        ASSERT_EQ(afx_pixbuf_pixel(p, 16, y), ground);
    }
    afx_pixbuf_blend_hline(ctx, p, -5, 0, 40, 0, 0, 0, 255);  // beyond both ends
    EXPECT_EQ(afx_pixbuf_pixel(p, 0, 0), blendExpected(ground, 0, 0, 0, 255));
    EXPECT_EQ(afx_pixbuf_pixel(p, 19, 0), blendExpected(ground, 0, 0, 0, 255));
    afx_pixbuf_blend_vline(ctx, p, 25, 0, 5, 0, 0, 0, 255);  // wholly outside
    afx_pixbuf_blend_hline(ctx, p, 0, 6, 5, 0, 0, 0, 255);
    EXPECT_EQ(afx_pixbuf_pixel(p, 5, 5), ground);
    afx_pixbuf_free(ctx, p);
}

TEST_F(PixbufTest, CopyMovesARectangleUnchangedAndClipsBothSides) {
    afx_pixbuf* src = afx_pixbuf_new_from_inline(ctx, 100);
    const uint32_t ground = rgba(1, 2, 3, 4);
    afx_pixbuf* dst = filled(ctx, 12, 10, ground);
    afx_pixbuf_copy(ctx, src, dst, 3, 2, 5, 4, 6, 3);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 5 && x < 11 && y >= 4 && y < 7;
            ASSERT_EQ(afx_pixbuf_pixel(dst, x, y), inside ? gradientPixel(x - 2, y - 2) : ground)
                << x << "," << y;
        }
    }
    afx_pixbuf_fill(ctx, dst, 1, 2, 3, 4);
    // Destination corner above-left of the buffer: source moves with it.
    afx_pixbuf_copy(ctx, src, dst, 4, 4, -2, -1, 5, 5);
    EXPECT_EQ(afx_pixbuf_pixel(dst, 0, 0), gradientPixel(6, 5));
    EXPECT_EQ(afx_pixbuf_pixel(dst, 2, 3), gradientPixel(8, 8));
    EXPECT_EQ(afx_pixbuf_pixel(dst, 3, 0), ground);
    EXPECT_EQ(afx_pixbuf_pixel(dst, 0, 4), ground);
    // Source rectangle leaving the source on the right: cut there.
    afx_pixbuf_fill(ctx, dst, 1, 2, 3, 4);
    afx_pixbuf_copy(ctx, src, dst, 14, 0, 0, 0, 6, 1);
    EXPECT_EQ(afx_pixbuf_pixel(dst, 1, 0), gradientPixel(15, 0));
    EXPECT_EQ(afx_pixbuf_pixel(dst, 2, 0), ground);
    afx_pixbuf_free(ctx, dst);
    afx_pixbuf_free(ctx, src);
}

TEST_F(PixbufTest, BlendedCopyUsesEachSourceAlphaAndKeepsTheDestinationAlpha) {
    afx_pixbuf* src = afx_pixbuf_new_from_inline(ctx, 100);
    const uint32_t ground = rgba(200, 40, 90, 33);
    afx_pixbuf* dst = filled(ctx, 16, 12, ground);
    afx_pixbuf_blend(ctx, src, dst, 0, 0, 0, 0, 16, 12);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            const uint32_t s = gradientPixel(x, y);
            ASSERT_EQ(afx_pixbuf_pixel(dst, x, y),
                      blendExpected(ground, s & 255, (s >> 8) & 255, (s >> 16) & 255, s >> 24));
        }
    }
    afx_pixbuf_free(ctx, dst);
    afx_pixbuf_free(ctx, src);
}

TEST(PixelRows, VectorRowsEqualScalarRowsOnRandomPixels) {
    std::mt19937 rng(52);
    std::uniform_int_distribution<int> byte(0, 255), pick(0, 3);
    for (int count = 0; count <= 41; ++count) {
        for (int round = 0; round < 20; ++round) {
            std::vector<uint8_t> src(count * 4), a(count * 4), b;
            for (size_t i = 0; i < src.size(); ++i) {
                src[i] = static_cast<uint8_t>(byte(rng));
                a[i] = static_cast<uint8_t>(byte(rng));
            }
            // Alpha 0 and 255 are the edges of the rule: make them common.
            for (int i = 0; i < count; ++i) {
                const int k = pick(rng);
                if (k == 0) src[i * 4 + 3] = 0;
                if (k == 1) src[i * 4 + 3] = 255;
            }
            b = a;
            afx_blend_row_scalar(src.data(), a.data(), count);
            afx_blend_row_vector(src.data(), b.data(), count);
            ASSERT_EQ(a, b) << "blend, " << count << " pixels";
            const uint32_t colour =
                static_cast<uint32_t>(byte(rng)) * 0x01010101u ^ static_cast<uint32_t>(rng());
            b = a;
            afx_blend_colour_row_scalar(colour, a.data(), count);
            afx_blend_colour_row_vector(colour, b.data(), count);
            ASSERT_EQ(a, b) << "colour, " << count << " pixels";
            afx_fill_row_scalar(colour, a.data(), count);
            afx_fill_row_vector(colour ^ 1u, b.data(), count);
            afx_fill_row_vector(colour, b.data(), count);
            ASSERT_EQ(a, b) << "fill, " << count << " pixels";
        }
    }
}

TEST(PixelRows, BothRowsFollowTheRuleForEveryAlpha) {
    // Eight pixels per call so the vector step itself is checked, not its scalar tail.
    std::vector<uint8_t> src(32), dst(32);
    for (auto* row : {afx_blend_row_scalar, afx_blend_row_vector}) {
        for (int c = 0; c < 256; c += 3) {
            for (int o = 0; o < 256; o += 5) {
                for (int a = 0; a < 256; a += 8) {
                    for (int k = 0; k < 8; ++k) {
                        const uint8_t s[4] = {uint8_t(c), uint8_t(255 - c), uint8_t(o),
                                              uint8_t(a + k)};
                        const uint8_t d[4] = {uint8_t(o), uint8_t(c), uint8_t(255 - o),
                                              uint8_t(17 + k)};
                        std::memcpy(&src[k * 4], s, 4);
                        std::memcpy(&dst[k * 4], d, 4);
                    }
                    row(src.data(), dst.data(), 8);
                    for (int k = 0; k < 8; ++k) {
                        const int al = a + k;
                        ASSERT_EQ(dst[k * 4 + 0], o + (((c - o) * al) >> 8))
                            << c << " over " << o << " at " << al;
                        ASSERT_EQ(dst[k * 4 + 1], c + (((255 - c - c) * al) >> 8));
                        ASSERT_EQ(dst[k * 4 + 2], (255 - o) + (((o - (255 - o)) * al) >> 8));
                        ASSERT_EQ(dst[k * 4 + 3], 17 + k);
                    }
                }
            }
        }
    }
}

}  // namespace
