// Reviewed sheets: every distance-field font at 8 to 64 pixels and the bitmap
// font, white on grey and amber on black; the library's pictures at 1:1 and
// 3x. Also the golden check itself: one changed pixel fails it and leaves the
// three pictures behind.
#include <cmath>
#include <cstdio>
#include <string>

#include "afx/afx_bitmap_font.h"
#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_text.h"
#include "golden_image.h"

void* golden_text_resources_module();

namespace {

struct Colour {
    uint32_t r, g, b;
};

struct Scheme {
    const char* title;
    Colour background, text, label;
};

const Scheme kSchemes[] = {
    {"White on dark", {28, 30, 34}, {240, 240, 240}, {140, 144, 150}},
    {"Amber on black", {0, 0, 0}, {218, 120, 4}, {150, 82, 3}},
};

const char kPrintable[] =
    " !\"#$%&'()*+,-./"
    "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";

struct SampleLine {
    float px;
    const char* text;
};

// Small sizes show every glyph; larger ones words, digits and the shapes
// where distance-field edges show their faults (curves, joins, thin serifs).
const SampleLine kLines[] = {
    {8.0f, kPrintable},
    {12.0f, kPrintable},
    {16.0f, "The quick brown fox jumps over the lazy dog. RT60 Time 1.20 sec, Pre Delay 25 ms"},
    {24.0f, "Plate Reverb  Damping 40.0 %  Width 100 %  (3.1.4)"},
    {48.0f, "Hamburgefonstiv 0123"},
    {64.0f, "KORVEX52 Rg&@"},
};

constexpr int32_t kSpecimenWidth = 1024;
constexpr int32_t kMargin = 12;
constexpr int32_t kTextLeft = 64;  // sample lines start here, their size label left of it

// Draws a line of distance-field text with its baseline at y (when the text
// has a target) and returns the baseline's distance to the next line's top.
float line(afx_text* text, const afx_font_desc* font, float px, float x, float y, const Colour& c,
           const char* string) {
    afx_text_set_font(text, font);
    afx_text_set_size(text, px);
    afx_set_colour(text, c.r, c.g, c.b, 255);
    afx_text_move_to(text, x, y);
    if (text->target) afx_text_draw(text, string);
    return std::ceil(px * 0.3f);
}

// Lays out (and with a target draws) one scheme's panel from row top;
// returns the panel's height.
int32_t panel(afx_text* text, afx_bitmap_font* bitmap, afx_pixbuf* sheet, const Scheme& s,
              int32_t top) {
    const afx_font_desc* heading = afx_font_find("DejaVu Sans");
    const afx_font_desc* label = afx_font_find("Arial Small");
    float y = float(top + kMargin);
    y += 20.0f;
    y += line(text, heading, 20.0f, kMargin, y, s.text, s.title) + 10.0f;
    for (int32_t f = 0; f < afx_font_count; ++f) {
        char name[96];
        std::snprintf(name, sizeof(name), "%s  (base %u px, atlas %u)", afx_fonts[f].name,
                      unsigned(afx_fonts[f].base_size), unsigned(afx_fonts[f].atlas_id));
        y += 16.0f;
        y += line(text, heading, 14.0f, kMargin, y, s.label, name) + 6.0f;
        for (const SampleLine& l : kLines) {
            y += std::ceil(l.px * 0.95f);
            char size[16];
            std::snprintf(size, sizeof(size), "%d px", int(l.px));
            line(text, label, 12.0f, kMargin, y, s.label, size);
            y += line(text, &afx_fonts[f], l.px, kTextLeft, y, s.text, l.text) + 4.0f;
        }
        y += 8.0f;
    }

    // The read-out's bitmap font, 1:1.
    y += 16.0f;
    y +=
        line(text, heading, 14.0f, kMargin, y, s.label, "Bitmap font (value read-out), 1:1") + 6.0f;
    const char* rows[] = {
        kPrintable,
        "KORVEX52  V3.1.4     RT60 Time 1.20 sec     Pre Delay 25.0 ms     Mix 35.0 %",
        "UTF-8 \"Caf\xC3\xA9 \xE2\x82\xAC"
        "5\" and Latin-1 \"\xE9\" show a dash; controls \x01\x09\x7f show a box",
    };
    afx_bitmap_font_set_colour(bitmap, s.text.r, s.text.g, s.text.b);
    const int32_t row_step = afx_bitmap_font_height(bitmap) + 5;
    int32_t baseline = int32_t(y) + afx_bitmap_font_baseline(bitmap);
    for (const char* row : rows) {
        if (sheet) afx_bitmap_font_draw(bitmap, sheet, row, kMargin, baseline, 1024);
        baseline += row_step;
    }
    // Cut at the read-out's limit: the ellipsis.
    if (sheet) {
        const int32_t x =
            afx_bitmap_font_draw(bitmap, sheet, "Cut at 24 bytes: ", kMargin, baseline, 64);
        afx_bitmap_font_draw(bitmap, sheet, "Out Trim -6.0 dB, In Trim 0.0 dB", x, baseline, 24);
    }
    baseline += row_step;
    return baseline - afx_bitmap_font_baseline(bitmap) + kMargin - top;
}

// The sheet; null when the font atlases are not among the resources.
afx_pixbuf* render_text_specimen() {
    afx_text text;
    afx_text_init(&text);
    if (!text.atlas) {
        afx_text_release(&text);
        return nullptr;
    }
    afx_bitmap_font* bitmap = afx_bitmap_font_get(true);
    const int32_t panel_height = panel(&text, bitmap, nullptr, kSchemes[0], 0);
    afx_pixbuf* sheet = afx_pixbuf_new(nullptr, kSpecimenWidth, uint32_t(panel_height) * 2u);
    if (sheet) {
        afx_text_set_target(&text, sheet);
        for (int32_t i = 0; i < 2; ++i) {
            const Colour& bg = kSchemes[i].background;
            afx_pixbuf_fill_rect(nullptr, sheet, 0, i * panel_height, kSpecimenWidth, panel_height,
                                 bg.r, bg.g, bg.b);
            panel(&text, bitmap, sheet, kSchemes[i], i * panel_height);
        }
    }
    afx_text_release(&text);
    return sheet;
}

class TextSpecimen : public GoldenFixture {
protected:
    void SetUp() override {
        useResources(golden_text_resources_module());
        sheet = render_text_specimen();
        ASSERT_NE(sheet, nullptr);
    }
    void TearDown() override {
        afx_pixbuf_free(nullptr, sheet);
        GoldenFixture::TearDown();
    }
    afx_pixbuf* sheet = nullptr;
};

// A picture the check left behind; empty when there is none.
GoldenPicture left_behind(const char* kind) {
    GoldenPicture p;
    golden_read_png(golden_output_path("golden-selftest", kind).c_str(), &p);
    return p;
}

TEST_F(TextSpecimen, MatchesTheReviewedSheet) {
    EXPECT_EQ(sheet->width, uint32_t(kSpecimenWidth));
#ifdef KORVEX_ASSET_PREVIEW_DIR
    EXPECT_TRUE(
        golden_write_png(KORVEX_ASSET_PREVIEW_DIR "/text-specimen.png", golden_picture(sheet)));
#endif
    EXPECT_TRUE(golden_match("text-specimen", sheet));
}

TEST_F(TextSpecimen, OneChangedPixelFailsAndLeavesExpectedActualAndDiff) {
    if (golden_updating()) GTEST_SKIP() << "updating: nothing to compare against";
    // A corner of the sheet with text in it is enough, and quick to write.
    const GoldenPicture whole = golden_picture(sheet);
    GoldenPicture corner{160, 48, {}};
    for (int32_t y = 0; y < corner.height; ++y)
        corner.pixels.insert(corner.pixels.end(), whole.pixels.begin() + y * whole.width,
                             whole.pixels.begin() + y * whole.width + corner.width);
    GoldenPicture changed = corner;
    changed.pixels[30 * 160 + 20] ^= 0x000100u;

    // No reviewed image of that name: a failure that says what to do.
    const ::testing::AssertionResult missing = golden_match("golden-selftest", changed);
    EXPECT_FALSE(missing);
    EXPECT_NE(std::string(missing.message()).find("make golden-update"), std::string::npos);
    EXPECT_EQ(left_behind("actual").pixels, changed.pixels);

    const ::testing::AssertionResult against = golden_compare("golden-selftest", corner, changed);
    EXPECT_FALSE(against);
    EXPECT_NE(std::string(against.message())
                  .find("1 pixels differ (up to 1 per channel), first at (20, 30)"),
              std::string::npos)
        << against.message();
    // The three pictures: what was rendered, the reviewed one, and the
    // difference in red over the reviewed one dimmed to a quarter.
    const GoldenPicture diff = left_behind("diff");
    EXPECT_EQ(left_behind("actual").pixels, changed.pixels);
    EXPECT_EQ(left_behind("expected").pixels, corner.pixels);
    ASSERT_EQ(diff.pixels.size(), corner.pixels.size());
    EXPECT_EQ(diff.pixels[30 * 160 + 20], 0xFF0000u);
    EXPECT_EQ(diff.pixels[0], (corner.pixels[0] >> 2) & 0x3F3F3Fu);
    corner.height -= 1;  // another size
    corner.pixels.resize(corner.pixels.size() - 160u);
    EXPECT_FALSE(golden_compare("golden-selftest", corner, changed));

    // A match clears what a failure left.
    EXPECT_TRUE(golden_compare("golden-selftest", corner, corner));
    for (const char* kind : {"actual", "expected", "diff"}) EXPECT_EQ(left_behind(kind).width, 0);
}

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
    afx_set_module(golden_text_resources_module());
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
