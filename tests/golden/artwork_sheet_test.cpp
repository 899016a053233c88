// The library's pictures as the editor and the dialogs load them, laid out
// at 1:1 and 3x, against the reviewed contact sheet.
#include <cstdint>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"
#include "golden_image.h"

void* golden_artwork_resources_module();

namespace {

constexpr int32_t kGap = 8;

// Lays src over dst at (x, y), each pixel as a scale x scale block, so
// that a picture's clear parts show the sheet's grey.
void put(const afx_pixbuf* src, afx_pixbuf* dst, int32_t x, int32_t y, int32_t scale) {
    for (int32_t j = 0; j < int32_t(src->height) * scale; ++j)
        for (int32_t i = 0; i < int32_t(src->width) * scale; ++i) {
            const uint8_t* s =
                src->pixels + (size_t(j / scale) * src->width + size_t(i / scale)) * 4u;
            const uint32_t under = afx_pixbuf_pixel(dst, x + i, y + j);
            uint8_t c[3];
            for (int k = 0; k < 3; ++k)
                c[k] = uint8_t((s[k] * s[3] + (under >> (8 * k) & 255u) * (255u - s[3]) + 127u) /
                               255u);
            afx_pixbuf_set_pixel(nullptr, dst, x + i, y + j, c[0], c[1], c[2], 255);
        }
}

TEST(ArtworkSheet, MatchesTheReviewedContactSheet) {
    afx_set_module(golden_artwork_resources_module());
    // Left: the panel at 1:1, every other image below it; right: the panel
    // and the small images at 3x.
    const int32_t small[] = {131, 132, 134, 135, 137, 136, 198, 251, 252, 253};
    afx_pixbuf* sheet = afx_pixbuf_new(nullptr, 1072, 1640);
    ASSERT_NE(sheet, nullptr);
    afx_pixbuf_fill(nullptr, sheet, 92, 92, 92, 255);

    afx_pixbuf* panel = afx_pixbuf_new_from_inline(nullptr, 128);
    afx_pixbuf* banner = afx_pixbuf_new_from_inline(nullptr, 199);
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(banner, nullptr);
    put(panel, sheet, kGap, kGap, 1);
    put(banner, sheet, kGap, 538 + 2 * kGap, 1);
    put(panel, sheet, 520, kGap, 3);
    int32_t x = 144 + 2 * kGap, y = kGap, x3 = 520 + 432 + kGap, y3 = kGap;
    for (int32_t id : small) {
        afx_pixbuf* pb = afx_pixbuf_new_from_inline(nullptr, id);
        ASSERT_NE(pb, nullptr) << id;
        if (x + int32_t(pb->width) > 512) {
            x = 144 + 2 * kGap;
            y += 82 + kGap;
        }
        put(pb, sheet, x, y, 1);
        x += int32_t(pb->width) + kGap;
        if (id == 198) {
            put(pb, sheet, kGap, 1540, 3);
        } else {
            if (y3 + int32_t(pb->height) * 3 > 1610) {
                y3 = kGap;
                x3 += 32 * 3 + kGap;
            }
            put(pb, sheet, x3, y3, 3);
            y3 += int32_t(pb->height) * 3 + kGap;
        }
        afx_pixbuf_free(nullptr, pb);
    }
    afx_pixbuf_free(nullptr, panel);
    afx_pixbuf_free(nullptr, banner);
    EXPECT_TRUE(golden_match("artwork-contact-sheet", sheet));
    afx_pixbuf_free(nullptr, sheet);
    afx_set_module(nullptr);
}

}  // namespace
