// The read-out's bitmap font: blending, clipping, the "..." ending and the
// measures; its glyphs are pinned by the golden text specimen.
#include <algorithm>
#include <cmath>
#include <string>

#include "afx/afx_bitmap_font.h"
#include "afx_test_support.h"

namespace {

// truncate(clamp((i / 255)^exponent, 0, 1) x 255), in long double.
int gamma_byte(int i, long double exponent) {
    const long double v = std::pow(static_cast<long double>(i) / 255.0L, exponent);
    return static_cast<int>(std::clamp(v, 0.0L, 1.0L) * 255.0L);
}

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
    // Draws into a fresh strip: the pen after it and the pixels.
    std::pair<int32_t, std::vector<uint32_t>> drawn(const char* text, int32_t max) {
        afx_pixbuf* p = filled_pixbuf(200, 24, 0, 0, 0);
        const int32_t x = afx_bitmap_font_draw(font, p, text, 4, 16, max);
        const std::vector<uint32_t> words = pixel_words(p);
        afx_pixbuf_free(nullptr, p);
        return {x, words};
    }
    afx_bitmap_font* font = nullptr;
};

TEST_F(BitmapFontTest, GlyphsBlendInLinearLightKeepTheAlphaAndAreCutAtThePixbuf) {
    // Amber over grey at every placement around a small pixbuf's edges:
    // each pixel of a glyph box is decoded to linear light, mixed by the
    // coverage and encoded back, coverage 0 included (grey 100 comes back as
    // 99); pixels outside the boxes and the pixbuf stay.
    afx_bitmap_font_set_colour(font, 218, 120, 4);
    EXPECT_EQ(font->colour[0], uint32_t(gamma_byte(218, 1.8L)));
    const int fg[3] = {218, 120, 4};
    const char* text = "Ag@\x01";
    for (int y0 = -14; y0 <= 26; y0 += 2) {
        for (int x0 = -30; x0 <= 12; x0 += 3) {
            afx_pixbuf* q = filled_pixbuf(12, 10, 100, 60, 40, 77);
            std::vector<uint32_t> want(120, 0x4D283C64u);
            int pen = x0;
            for (const char* s = text; *s; ++s) {
                const uint8_t* g = font->glyphs[uint8_t(*s)];
                const int left = pen + int8_t(g[4]), top = y0 - int8_t(g[5]);
                for (int r = 0; r < g[1]; ++r)
                    for (int k = 0; k < g[0]; ++k) {
                        if (left + k < 0 || left + k >= 12 || top + r < 0 || top + r >= 10)
                            continue;
                        uint32_t& w = want[(top + r) * 12 + left + k];
                        uint32_t out = 77u << 24;
                        for (int ch = 0; ch < 3; ++ch) {
                            const int lin = gamma_byte(int(w >> (8 * ch) & 255), 1.8L),
                                      col = gamma_byte(fg[ch], 1.8L);
                            out |= uint32_t(gamma_byte(
                                       (lin + (((col - lin) * g[6 + r * g[0] + k]) >> 8)) & 255,
                                       0.5555556L))
                                   << (8 * ch);
                        }
                        w = out;
                    }
                pen += g[2];
            }
            EXPECT_EQ(afx_bitmap_font_draw(font, q, text, x0, y0, 10), pen);
            ASSERT_EQ(pixel_words(q), want) << "at " << x0 << "," << y0;
            afx_pixbuf_free(nullptr, q);
        }
    }
}

TEST_F(BitmapFontTest, TextCutAtTheMaximumEndsInAnEllipsisAndMultiByteCharactersShowADash) {
    afx_bitmap_font_set_colour(font, 255, 255, 255);
    const struct {
        const char* text;
        int32_t max;
        const char* shown;
    } cases[] = {
        {"Hello", 5, "Hello..."},  // exactly as long as the maximum
        {"Hello", 3, "Hel..."},
        {"Hello", 6, "Hello"},  // the terminator came first
        {"Hello", 0, ""},
        {"\xC3\xA9t\xC3\xA9", 100, "-t-"},  // two-byte characters
        {"\xE2\x82\xAC"
         "5",
         100, "-5"},                // three bytes
        {"\xE9t\xFF", 100, "-t-"},  // Latin-1 bytes from 192
        {"a\x80\xBF"
         "b",
         100, "ab"},               // stray continuation bytes
        {"\xC3\xA9t", 2, "-..."},  // bytes count, not characters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(drawn(c.text, c.max), drawn(c.shown, 100)) << c.text << " at most " << c.max;
        EXPECT_TRUE(c.max < 100 ||
                    afx_bitmap_font_width(font, c.text) == afx_bitmap_font_width(font, c.shown));
    }
    EXPECT_NE(drawn("Hello", 5), drawn("Hello", 100));  // the comparison can tell
}

TEST_F(BitmapFontTest, WidthSumsTheAdvancesDrawingMovesByOverAtMost1024Bytes) {
    const int i_advance = font->glyphs[int('i')][2];
    EXPECT_EQ(afx_bitmap_font_width(font, "A A"), 7 + 3 + 7);
    EXPECT_EQ(afx_bitmap_font_width(font, std::string(1500, 'i').c_str()), 1024 * i_advance);
    EXPECT_EQ(drawn("RT60 Time 1.20 sec", 64).first - 4,
              afx_bitmap_font_width(font, "RT60 Time 1.20 sec"));
    EXPECT_EQ(afx_bitmap_font_width(font, nullptr), 0);
    EXPECT_EQ(afx_bitmap_font_width(nullptr, "x"), 0);
    EXPECT_EQ(afx_bitmap_font_draw(nullptr, nullptr, "x", 5, 5, 3), 5);
    EXPECT_EQ(afx_bitmap_font_height(nullptr), 0);
}

}  // namespace
