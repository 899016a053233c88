// The read-out's bitmap font: its gamma tables and glyph records, the global
// instance, gamma-corrected drawing, the "..." ending and the marks for
// multi-byte characters, and the measures.
#include <algorithm>
#include <cmath>
#include <string>

#include "afx/afx_bitmap_font.h"
#include "afx_text_test_support.h"

namespace {

// truncate(clamp((i / 255)^exponent, 0, 1) x 255), in long double.
int gamma_byte(int i, long double exponent) {
    long double v = std::pow(static_cast<long double>(i) / 255.0L, exponent);
    v = v < 0.0L ? 0.0L : (v > 1.0L ? 1.0L : v);
    return static_cast<int>(v * 255.0L);
}

int glyph_width(const uint8_t* g) { return g[0]; }
int glyph_height(const uint8_t* g) { return g[1]; }
int glyph_advance(const uint8_t* g) { return g[2]; }
int glyph_x_offset(const uint8_t* g) { return static_cast<int8_t>(g[4]); }
int glyph_y_offset(const uint8_t* g) { return static_cast<int8_t>(g[5]); }
int coverage(const uint8_t* g, int column, int row) { return g[6 + row * g[0] + column]; }

class BitmapFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(afx_bitmap_font_get(false), nullptr);
        font = afx_bitmap_font_get(true);
        ASSERT_NE(font, nullptr);
    }
    void TearDown() override {
        afx_bitmap_font_release(font);
        afx_bitmap_font_free(font);
    }

    // Draws into two fresh strips and tells whether they came out the same.
    bool drawsAlike(const char* a, int32_t max_a, const char* b, int32_t max_b) {
        afx_pixbuf* pa = filled_pixbuf(200, 24, 0, 0, 0);
        afx_pixbuf* pb = filled_pixbuf(200, 24, 0, 0, 0);
        const int32_t xa = afx_bitmap_font_draw(font, pa, a, 4, 16, max_a);
        const int32_t xb = afx_bitmap_font_draw(font, pb, b, 4, 16, max_b);
        const bool alike = xa == xb && same_pixels(pa, pb);
        afx_pixbuf_free(nullptr, pa);
        afx_pixbuf_free(nullptr, pb);
        return alike;
    }

    afx_bitmap_font* font = nullptr;
};

TEST_F(BitmapFontTest, GammaTablesFollowTheirPowerLaws) {
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(font->decode[i], gamma_byte(i, 1.8L)) << i;
        EXPECT_EQ(font->encode[i], gamma_byte(i, 0.5555556L)) << i;
    }
    EXPECT_EQ(font->decode[128], 73);  // (128/255)^1.8 = 0.2893
    EXPECT_EQ(font->encode[73], 127);  // and back, one step short
}

TEST_F(BitmapFontTest, GlyphRecordsFollowOneAnotherWithTheFixedShapes) {
    for (int c = 0; c < 256; ++c) {
        const uint8_t* g = font->glyphs[c];
        ASSERT_NE(g, nullptr) << c;
        EXPECT_EQ(g[3], 0) << c;
        if (c < 255) {  // each record is 6 bytes plus its coverage, then the next one
            EXPECT_EQ(font->glyphs[c + 1] - g, 6 + glyph_width(g) * glyph_height(g)) << c;
        }
    }
    // Control codes show an outlined 6 x 12 box.
    for (int c = 0; c < 128; ++c) {
        if (c >= 32 && c != 127) continue;
        const uint8_t* g = font->glyphs[c];
        ASSERT_EQ(glyph_width(g), 6) << c;
        ASSERT_EQ(glyph_height(g), 12) << c;
        for (int row = 0; row < 12; ++row) {
            for (int column = 0; column < 6; ++column) {
                const bool edge = row == 0 || row == 11 || column == 0 || column == 5;
                EXPECT_EQ(coverage(g, column, row) > 0, edge)
                    << c << " at " << column << "," << row;
            }
        }
    }
    const uint8_t *space = font->glyphs[' '], *a = font->glyphs['A'];
    EXPECT_EQ(glyph_width(space) * glyph_height(space), 0);
    EXPECT_EQ(glyph_advance(space), 3);
    EXPECT_EQ(glyph_width(a), 8);
    EXPECT_EQ(glyph_height(a), 9);
    EXPECT_EQ(glyph_advance(a), 7);
    // The tallest glyph sets the height, which the read-out's 16-pixel strip
    // holds with the capitals above the baseline; the widest box or advance
    // bounds any one character's cell.
    int tallest = 0, widest = 0;
    for (int c = 0; c < 255; ++c) {
        const uint8_t* g = font->glyphs[c];
        tallest = std::max(tallest, glyph_height(g));
        widest = std::max({widest, glyph_width(g), glyph_advance(g)});
    }
    EXPECT_EQ(afx_bitmap_font_height(font), tallest);
    EXPECT_EQ(afx_bitmap_font_width_max(font), widest);
    EXPECT_LE(tallest, 16);
    EXPECT_GE(afx_bitmap_font_baseline(font), glyph_y_offset(font->glyphs['H']));
}

TEST_F(BitmapFontTest, GlyphsBlendInLinearLightAndKeepTheAlphaByte) {
    // Amber over grey, channel by channel: decode both to linear light, mix by
    // the coverage, encode back; every pixel of the glyph box, coverage 0
    // included (grey 100 comes back as 99). Pixels outside the box stay.
    afx_pixbuf* q = filled_pixbuf(20, 20, 100, 60, 40, 77);
    afx_bitmap_font_set_colour(font, 218, 120, 4);
    EXPECT_EQ(font->colour[0], uint32_t(gamma_byte(218, 1.8L)));
    EXPECT_EQ(afx_bitmap_font_draw(font, q, "A", 3, 14, 10), 3 + 7);
    const uint8_t* a = font->glyphs['A'];
    const int left = 3 + glyph_x_offset(a), top = 14 - glyph_y_offset(a);
    const int bg[3] = {100, 60, 40}, fg[3] = {218, 120, 4};
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool in_box = x >= left && x < left + 8 && y >= top && y < top + 9;
            const int cov = in_box ? coverage(a, x - left, y - top) : 0;
            uint32_t want = 77u << 24;
            for (int k = 0; k < 3; ++k) {
                const int lin = gamma_byte(bg[k], 1.8L), col = gamma_byte(fg[k], 1.8L);
                const int mixed = gamma_byte((lin + (((col - lin) * cov) >> 8)) & 255, 0.5555556L);
                want |= uint32_t(in_box ? mixed : bg[k]) << (8 * k);
            }
            ASSERT_EQ(afx_pixbuf_pixel(q, x, y), want) << x << "," << y;
        }
    }
    afx_pixbuf_free(nullptr, q);
}

TEST_F(BitmapFontTest, PixelsOutsideThePixbufAreLeftAlone) {
    // Cut at the pixbuf's edges: the part inside equals the same text drawn
    // whole into a larger pixbuf.
    afx_pixbuf* small = filled_pixbuf(9, 7, 0, 0, 0);
    afx_pixbuf* large = filled_pixbuf(40, 40, 0, 0, 0);
    afx_bitmap_font_draw(font, small, "W@g", -3, 4, 10);
    afx_bitmap_font_draw(font, large, "W@g", 7, 14, 10);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(afx_pixbuf_pixel(small, x, y), afx_pixbuf_pixel(large, x + 10, y + 10));
    }
    afx_bitmap_font_draw(font, small, "W@g", 500, -300, 10);
    afx_bitmap_font_draw(font, small, "W@g", -500, 300, 10);
    afx_pixbuf_free(nullptr, small);
    afx_pixbuf_free(nullptr, large);
}

TEST_F(BitmapFontTest, TextCutAtTheMaximumCountEndsInAnEllipsis) {
    afx_bitmap_font_set_colour(font, 255, 255, 255);
    EXPECT_TRUE(drawsAlike("Hello", 5, "Hello...", 100));  // exactly as long as the maximum
    EXPECT_TRUE(drawsAlike("Hello", 3, "Hel...", 100));
    EXPECT_TRUE(drawsAlike("Hello", 6, "Hello", 100));  // the terminator came first
    EXPECT_TRUE(drawsAlike("Hello", 1, "H...", 100));
    EXPECT_FALSE(drawsAlike("Hello", 5, "Hello", 100));  // the comparison can tell
    afx_pixbuf* p = filled_pixbuf(30, 20, 0, 0, 0);
    EXPECT_EQ(afx_bitmap_font_draw(font, p, "Hello", 2, 15, 0), 2);
    EXPECT_EQ(afx_bitmap_font_draw(font, p, "", 2, 15, 0), 2);
    EXPECT_TRUE(all_pixels(p, 0xFF000000u));
    const int32_t hel = afx_bitmap_font_width(font, "Hel");
    EXPECT_EQ(afx_bitmap_font_draw(font, p, "Hello", 2, 15, 3),
              2 + hel + 3 * glyph_advance(font->glyphs['.']));
    afx_pixbuf_free(nullptr, p);
}

TEST_F(BitmapFontTest, EachMultiByteCharacterShowsAsOneDash) {
    afx_bitmap_font_set_colour(font, 255, 255, 255);
    EXPECT_TRUE(drawsAlike("\xC3\xA9t\xC3\xA9", 100, "-t-", 100));  // two-byte "é"
    EXPECT_TRUE(
        drawsAlike("\xE2\x82\xAC"
                   "5",
                   100, "-5", 100));                        // three-byte "€"
    EXPECT_TRUE(drawsAlike("\xE9t\xFF", 100, "-t-", 100));  // Latin-1 bytes from 192
    EXPECT_TRUE(
        drawsAlike("a\x80\xBF"
                   "b",
                   100, "ab", 100));                       // stray continuation bytes
    EXPECT_TRUE(drawsAlike("\xC3\xA9t", 2, "-...", 100));  // bytes count, not characters
    EXPECT_EQ(afx_bitmap_font_width(font, "a\xC3\xA9"), afx_bitmap_font_width(font, "a-"));
    EXPECT_EQ(afx_bitmap_font_width(font, "\x80\xBF"), 0);
}

TEST_F(BitmapFontTest, WidthSumsAdvancesOverAtMost1024Bytes) {
    const int i_advance = glyph_advance(font->glyphs['i']);
    EXPECT_EQ(afx_bitmap_font_width(font, "A A"), 7 + 3 + 7);
    EXPECT_EQ(afx_bitmap_font_width(font, ""), 0);
    EXPECT_EQ(afx_bitmap_font_width(font, std::string(1024, 'i').c_str()), 1024 * i_advance);
    EXPECT_EQ(afx_bitmap_font_width(font, std::string(1500, 'i').c_str()), 1024 * i_advance);
    // The same advances that drawing moves by.
    afx_pixbuf* p = filled_pixbuf(8, 8, 0, 0, 0);
    const char* text = "RT60 Time 1.20 sec";
    EXPECT_EQ(afx_bitmap_font_draw(font, p, text, 0, 6, 64), afx_bitmap_font_width(font, text));
    afx_pixbuf_free(nullptr, p);
}

TEST_F(BitmapFontTest, TheGlobalFontIsMadeOnceAndForgottenOnRelease) {
    EXPECT_EQ(afx_bitmap_font_get(true), font);
    EXPECT_EQ(afx_bitmap_font_get(false), font);
    EXPECT_EQ(font->colour[0], 0u);  // black until told otherwise
    afx_bitmap_font_release(font);
    EXPECT_EQ(afx_bitmap_font_get(false), nullptr);
    afx_bitmap_font_release(font);  // twice is harmless
    afx_bitmap_font_free(font);
    font = afx_bitmap_font_get(true);  // a new one; TearDown frees it
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(afx_bitmap_font_get(false), font);
    EXPECT_EQ(afx_bitmap_font_height(nullptr), 0);
    EXPECT_EQ(afx_bitmap_font_draw(nullptr, nullptr, "x", 5, 5, 3), 5);
}

}  // namespace
