// The value read-out: the strip's size and rows, the text written into it
// with its shadow, frame and corners, the window blended onto the target,
// scrolling by the scroll speed until the end of a long text is in view, and
// the "..." ending of a text cut at the maximum number of characters.
#include <algorithm>

#include "afx/afx_bitmap_font.h"
#include "afx/widgets/afx_lcd.h"
#include "widget_text_fixture.h"

namespace {

// The editor's read-out: 108 x 16 at (18, 64), amber on black, 64 characters.
class LcdTest : public CaptionTest {
protected:
    void SetUp() override {
        CaptionTest::SetUp();
        ASSERT_EQ(afx_bitmap_font_get(false), nullptr);
        font = afx_bitmap_font_get(true);
        ASSERT_NE(font, nullptr);
        afx_lcd_init(&lcd, nullptr, font);
        afx_lcd_set_x(&lcd, 18);
        afx_lcd_set_y(&lcd, 64);
        afx_lcd_set_width(&lcd, 108);
        afx_lcd_set_height(&lcd, 16);
        afx_lcd_set_text_colour(&lcd, 218, 120, 4);
        afx_lcd_set_background_colour(&lcd, 0, 0, 0);
        afx_lcd_set_max_chars(&lcd, 64);
    }
    void TearDown() override {
        afx_lcd_release(&lcd);
        afx_bitmap_font_release(font);
        afx_bitmap_font_free(font);
        CaptionTest::TearDown();
    }
    uint32_t strip(int32_t x, int32_t y) { return afx_pixbuf_pixel(lcd.strip, x, y); }
    // True when any pixel of strip columns from..to (inclusive) differs from black.
    bool inked(int32_t from, int32_t to) {
        for (int32_t y = 0; y < int32_t(lcd.strip->height); ++y)
            for (int32_t x = from; x <= to; ++x)
                if ((strip(x, y) & 0xFFFFFFu) != 0) return true;
        return false;
    }
    afx_bitmap_font* font = nullptr;
    afx_lcd lcd;
};

TEST_F(LcdTest, PrepareSizesTheStripForTheLongestTextAndPlacesTheRows) {
    const int32_t widest = afx_bitmap_font_width_max(font), tallest = afx_bitmap_font_height(font);
    ASSERT_TRUE(afx_lcd_prepare(&lcd));
    ASSERT_NE(lcd.strip, nullptr);
    EXPECT_EQ(lcd.strip->width, uint32_t(widest * 64));  // 64 characters outgrow the read-out
    EXPECT_EQ(lcd.strip->height, uint32_t(2 * tallest));
    EXPECT_EQ(lcd.baseline_row, uint32_t(tallest));
    EXPECT_EQ(lcd.top_row, uint32_t(tallest - afx_bitmap_font_baseline(font)));
    EXPECT_EQ(strip(5, 5), rgba(0, 0, 0));
    // A short limit: one character more than the read-out.
    afx_lcd_set_max_chars(&lcd, 2);
    EXPECT_TRUE(afx_lcd_prepare(&lcd));
    EXPECT_EQ(lcd.strip_width, uint32_t(widest + 108));
    afx_lcd no_font;
    afx_lcd_init(&no_font, nullptr, nullptr);
    EXPECT_FALSE(afx_lcd_prepare(&no_font));
    afx_lcd_set_text(&no_font, "nothing to draw with");
    afx_lcd_release(&no_font);
}

TEST_F(LcdTest, TextIsWrittenAtColumnEightWithAnOptionalDimShadow) {
    ASSERT_TRUE(afx_lcd_prepare(&lcd));
    afx_lcd_set_text(&lcd, "Mix 50.00 %");
    // The same text drawn by the font alone at column 8 on the baseline row.
    Canvas reference(lcd.strip->width, lcd.strip->height, 0, 0, 0);
    afx_bitmap_font_set_colour(font, 218, 120, 4);
    afx_bitmap_font_draw(font, reference.pixbuf, "Mix 50.00 %", 8, int32_t(lcd.baseline_row), 64);
    for (int32_t y = int32_t(lcd.top_row) + 1; y < int32_t(lcd.top_row) + 15; ++y)
        for (int32_t x = 1; x < 107; ++x)
            ASSERT_EQ(strip(x, y), reference.at(x, y)) << x << "," << y;
    EXPECT_EQ(lcd.text_width, afx_bitmap_font_width(font, "Mix 50.00 %"));

    // With the shadow the text is first drawn one column right in the colour / 2.5, rounded.
    afx_lcd_set_shadow(&lcd, true);
    afx_lcd_set_text(&lcd, "Mix 50.00 %");
    Canvas shadowed(lcd.strip->width, lcd.strip->height, 0, 0, 0);
    afx_bitmap_font_set_colour(font, 87, 48, 2);
    afx_bitmap_font_draw(font, shadowed.pixbuf, "Mix 50.00 %", 9, int32_t(lcd.baseline_row), 64);
    afx_bitmap_font_set_colour(font, 218, 120, 4);
    afx_bitmap_font_draw(font, shadowed.pixbuf, "Mix 50.00 %", 8, int32_t(lcd.baseline_row), 64);
    for (int32_t y = int32_t(lcd.top_row) + 1; y < int32_t(lcd.top_row) + 15; ++y)
        for (int32_t x = 1; x < 107; ++x)
            ASSERT_EQ(strip(x, y), shadowed.at(x, y)) << x << "," << y;
    EXPECT_EQ(font->colour[0], font->decode[218]);  // the font's colour is the text colour again
}

TEST_F(LcdTest, TheBorderLiesOnTheStripsFirstWidthColumnsWithHalfTransparentCorners) {
    ASSERT_TRUE(afx_lcd_prepare(&lcd));
    afx_lcd_set_frame_colour(&lcd, 48, 48, 48);
    afx_lcd_set_background_colour(&lcd, 0, 0, 30);
    const int32_t top = int32_t(lcd.top_row), bottom = top + 15;
    const int32_t last_row = std::min(bottom + 1, int32_t(lcd.strip->height) - 1);
    for (bool framed : {false, true}) {
        afx_lcd_set_frame(&lcd, framed);
        afx_lcd_set_text(&lcd, "");
        // Strip columns 0 and 107 (the width - 1), rows top and top + 15: the
        // frame colour blended at 255 along the edges between the corners,
        // which take the border colour (frame, or else background) at 127.
        const uint32_t ground = rgba(0, 0, 30);
        const int32_t on_black = referenceBlend(0, 48, 255);
        const uint32_t edge =
            framed ? rgba(on_black, on_black, referenceBlend(30, 48, 255)) : ground;
        const uint32_t corner = framed ? rgba(48, 48, 48, 127) : rgba(0, 0, 30, 127);
        for (int32_t y = std::max(top - 1, 0); y <= last_row; ++y) {
            for (int32_t x = 0; x < 116; ++x) {
                const bool across = x == 0 || x == 107, down = y == top || y == bottom;
                const bool in_border = x <= 107 && y >= top && y <= bottom && (across || down);
                const uint32_t expected = !in_border ? ground : across && down ? corner : edge;
                ASSERT_EQ(strip(x, y), expected) << x << "," << y << " framed " << framed;
            }
        }
    }
}

TEST_F(LcdTest, DrawBlendsTheWindowFromColumnSixAtTheOriginAndRestoreCopiesBack) {
    ASSERT_TRUE(afx_lcd_prepare(&lcd));
    afx_lcd_set_origin_x(&lcd, 3);
    afx_lcd_set_origin_y(&lcd, -2);
    afx_lcd_set_text(&lcd, "RT60 Time 1.5 sec");
    Canvas panel(150, 100, 40, 40, 40);
    afx_lcd_draw(&lcd, panel.pixbuf);
    const Box window{21, 62, 108, 16};
    EXPECT_EQ(firstMiss(panel,
                        [&](int32_t x, int32_t y) {
                            if (!window.contains(x, y)) return rgba(40, 40, 40);
                            const uint32_t s = strip(x - 21 + 6, y - 62 + int32_t(lcd.top_row)),
                                           a = s >> 24;
                            return rgba(referenceBlend(40, s & 255, a),
                                        referenceBlend(40, (s >> 8) & 255, a),
                                        referenceBlend(40, (s >> 16) & 255, a));
                        }),
              "");
    EXPECT_EQ(boxOf(afx_lcd_dirty_rect, &lcd), window);
    Canvas picture(150, 100, 5, 6, 7);
    afx_lcd_set_background(&lcd, picture.pixbuf);
    afx_lcd_restore(&lcd, panel.pixbuf);
    EXPECT_EQ(panel.at(21, 62), rgba(5, 6, 7));
    EXPECT_EQ(panel.at(128, 77), rgba(5, 6, 7));
    EXPECT_EQ(panel.at(129, 77), rgba(40, 40, 40));
}

TEST_F(LcdTest, AShortTextStaysPutAndALongOneScrollsUntilItsEndIsInView) {
    ASSERT_TRUE(afx_lcd_prepare(&lcd));
    afx_lcd_set_scroll_speed(&lcd, 3.0f);
    afx_lcd_set_text(&lcd, "Width 100.00 %");
    ASSERT_LE(lcd.text_width, 108 + 8);
    EXPECT_FALSE(lcd.scrolling);
    EXPECT_FALSE(afx_lcd_needs_draw(&lcd));
    afx_lcd_set_visible(&lcd, true);
    EXPECT_TRUE(afx_lcd_needs_draw(&lcd));
    afx_lcd_set_visible(&lcd, false);

    const char* long_text = "KORVEX52  V3.1.4  Plate Reverb by Corvane Audio Systems Ltd";
    Canvas panel(150, 100, 40, 40, 40);
    afx_lcd_set_text(&lcd, long_text);
    const int32_t end = lcd.text_width + 8;
    ASSERT_GT(lcd.text_width, 116);
    EXPECT_TRUE(lcd.scrolling);
    EXPECT_TRUE(afx_lcd_needs_draw(&lcd));
    int32_t draws = 0;
    while (lcd.scrolling && draws < 1000) {
        afx_lcd_draw(&lcd, panel.pixbuf);
        ++draws;
        if (lcd.scrolling) {
            ASSERT_EQ(lcd.scroll_offset, int32_t(3.0f * float(draws) + 0.5f));
        }
    }
    EXPECT_EQ(draws, end / 3 + 1);  // the first offset beyond the end stops it there
    EXPECT_EQ(lcd.scroll_offset, end);
    EXPECT_FALSE(afx_lcd_needs_draw(&lcd));
    afx_lcd_draw(&lcd, panel.pixbuf);  // stays at the end
    EXPECT_EQ(lcd.scroll_offset, end);

    // A new text starts from the beginning again; with speed 0 it never moves
    // and the read-out keeps asking to be drawn.
    afx_lcd_set_scroll_speed(&lcd, 0.0f);
    afx_lcd_set_text(&lcd, long_text);
    EXPECT_EQ(lcd.scroll_offset, 0);
    for (int i = 0; i < 5; ++i) afx_lcd_draw(&lcd, panel.pixbuf);
    EXPECT_EQ(lcd.scroll_offset, 0);
    EXPECT_TRUE(afx_lcd_needs_draw(&lcd));
    // Scrolling back below 0 stops at 0.
    afx_lcd_set_scroll_speed(&lcd, -2.0f);
    afx_lcd_set_scroll_position(&lcd, 3.9f);
    EXPECT_EQ(lcd.scroll_offset, 3);
    for (int i = 0; i < 3; ++i) afx_lcd_draw(&lcd, panel.pixbuf);
    EXPECT_EQ(lcd.scroll_offset, 0);
    EXPECT_FALSE(lcd.scrolling);
}

TEST_F(LcdTest, ATextCutAtTheCharacterLimitEndsInAnEllipsis) {
    afx_lcd_set_max_chars(&lcd, 5);
    ASSERT_TRUE(afx_lcd_prepare(&lcd));
    const int32_t five = afx_bitmap_font_width(font, "ABCDE");
    const int32_t dots = afx_bitmap_font_width(font, "...");
    afx_lcd_set_text(&lcd, "ABCDE");  // exactly the limit: still cut
    EXPECT_TRUE(inked(8 + five, 8 + five + dots - 1));
    Canvas reference(lcd.strip->width, lcd.strip->height, 0, 0, 0);
    afx_bitmap_font_draw(font, reference.pixbuf, "ABCDE...", 8, int32_t(lcd.baseline_row), 100);
    for (int32_t y = int32_t(lcd.top_row) + 1; y < int32_t(lcd.top_row) + 15; ++y)
        for (int32_t x = 1; x < 107; ++x)
            ASSERT_EQ(strip(x, y), reference.at(x, y)) << x << "," << y;
    afx_lcd_set_text(&lcd, "ABCD");  // shorter: no dots
    EXPECT_FALSE(inked(8 + five, 8 + five + dots + 4));
}

}  // namespace
