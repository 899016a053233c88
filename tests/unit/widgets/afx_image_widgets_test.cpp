// The film strip and the value read-out: frame choice, placement, hit box, what
// they put back, scrolling and the cut text's "...". The gallery pins their looks.
#include <gtest/gtest.h>

#include <limits>

#include "afx/afx_bitmap_font.h"
#include "afx/widgets/afx_filmstrip.h"
#include "afx/widgets/afx_lcd.h"
#include "widget_test_support.h"

namespace {

// Two half-transparent 32 x 16 frames, red then blue, centred at (52, 11): box (36, 3)-(68, 19).
class FilmstripTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                afx_pixbuf_set_pixel(nullptr, strip.pixbuf, x, y, y < 16 ? 240 : 0, 0,
                                     y < 16 ? 0 : 240, 128);
        for (uint32_t y = 0; y < 40; ++y)  // every pixel tells its position
            for (uint32_t x = 0; x < 80; ++x)
                afx_pixbuf_set_pixel(nullptr, background.pixbuf, int32_t(x), int32_t(y), x * 3,
                                     y * 3, 99, 255);
        afx_filmstrip_init(&film, nullptr);
        afx_filmstrip_set_centre_x(&film, 52);
        afx_filmstrip_set_centre_y(&film, 11);
        afx_filmstrip_set_frame_width(&film, 32);
        afx_filmstrip_set_frame_height(&film, 16);
        afx_filmstrip_set_frame_count(&film, 2);
        afx_filmstrip_set_hit_width(&film, 32);
        afx_filmstrip_set_hit_height(&film, 16);
        afx_filmstrip_set_strip(&film, strip.pixbuf);
        afx_filmstrip_set_background(&film, background.pixbuf);
    }
    Canvas strip{32, 32}, background{80, 40};
    afx_filmstrip film;
};

TEST_F(FilmstripTest, TheClampedValueChoosesTheFrameByRoundingAndTheHitBoxKeepsHover) {
    // Frames, value, frame shown: a value that is no number shows the first.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float frames[][3] = {{2, 0, 0},   {2, 49.9f, 0}, {2, 50, 1},    {2, 250, 1},
                               {2, -20, 0}, {5, 12.4f, 0}, {5, 12.5f, 1}, {5, 87.5f, 4},
                               {0, 100, 0}, {2, nan, 0}};
    for (const auto& k : frames) {
        afx_filmstrip_set_frame_count(&film, uint32_t(k[0]));
        EXPECT_EQ(afx_filmstrip_frame(&film, k[1]), int32_t(k[2])) << k[0] << " frames, " << k[1];
    }
    afx_filmstrip_set_value(&film, 130);
    EXPECT_EQ(afx_filmstrip_get_value(&film), 100.0f);
    afx_filmstrip_show(&film, -5);  // shows without changing the value
    EXPECT_EQ(film.shown_value, 0.0f);
    EXPECT_EQ(afx_filmstrip_get_value(&film), 100.0f);
    // Both ends of the box hit, and hover follows.
    const int32_t points[][3] = {{36, 3, 1},  {68, 19, 1}, {35, 10, 0},
                                 {69, 10, 0}, {50, 2, 0},  {50, 20, 0}};
    for (const auto& k : points) {
        EXPECT_EQ(afx_filmstrip_hit(&film, k[0], k[1]), k[2] > 0) << k[0] << "," << k[1];
        EXPECT_EQ(afx_filmstrip_is_hover(&film), k[2] > 0);
    }
}

TEST_F(FilmstripTest, TheFrameSitsAtTheCentreByIntegerHalvesAndRedrawPutsTheBackgroundBack) {
    afx_filmstrip_set_origin_x(&film, 5);
    afx_filmstrip_set_origin_y(&film, 7);
    Canvas c(90, 50, 20, 20, 20), want(90, 50, 20, 20, 20);
    afx_filmstrip_set_value(&film, 100);
    afx_filmstrip_draw(&film, c.pixbuf);
    afx_filmstrip_set_value(&film, 0);
    afx_filmstrip_redraw(&film, c.pixbuf);
    // At (36 + 5, 3 + 7) the red frame over the background from (36, 3).
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 32; ++x)
            afx_pixbuf_set_pixel(nullptr, want.pixbuf, 41 + x, 10 + y,
                                 uint32_t(referenceBlend((36 + x) * 3, 240, 128)),
                                 uint32_t(referenceBlend((3 + y) * 3, 0, 128)),
                                 uint32_t(referenceBlend(99, 0, 128)), 255);
    EXPECT_TRUE(golden_compare("filmstrip-redraw", want.picture(), c.picture()));
    afx_filmstrip_set_frame_width(&film, 31);   // 31 / 2 = 15
    afx_filmstrip_set_frame_height(&film, 15);  // 15 / 2 = 7
    EXPECT_EQ(boxOf(afx_filmstrip_dirty_rect, &film), (Box{52 - 15 + 5, 11 - 7 + 7, 31, 15}));
}

// The editor's read-out: 108 x 16 at (18, 64), amber on black, 64 characters.
class LcdTest : public CaptionTest {
protected:
    void SetUp() override {
        CaptionTest::SetUp();
        font = afx_bitmap_font_get(true);
        ASSERT_NE(font, nullptr);
        afx_lcd_init(&lcd, nullptr, font);
        afx_lcd_set_x(&lcd, 18);
        afx_lcd_set_y(&lcd, 64);
        afx_lcd_set_width(&lcd, 108);
        afx_lcd_set_height(&lcd, 16);
        afx_lcd_set_text_colour(&lcd, 218, 120, 4);
        afx_lcd_set_max_chars(&lcd, 64);
        ASSERT_TRUE(afx_lcd_prepare(&lcd));
    }
    void TearDown() override {
        afx_lcd_release(&lcd);
        afx_bitmap_font_release(font);
        afx_bitmap_font_free(font);
        CaptionTest::TearDown();
    }
    afx_bitmap_font* font = nullptr;
    afx_lcd lcd;
};

TEST_F(LcdTest, TheWindowIsDrawnAtTheOriginInsideItsDirtyRectangleAndRestored) {
    afx_lcd_set_origin_x(&lcd, 3);
    afx_lcd_set_origin_y(&lcd, -2);
    afx_lcd_set_text(&lcd, "RT60 Time 1.5 sec");
    const Box window{21, 62, 108, 16};
    EXPECT_EQ(boxOf(afx_lcd_dirty_rect, &lcd), window);
    EXPECT_TRUE(
        restoresBox("lcd-restore", true, window, [&](afx_pixbuf* picture, afx_pixbuf* target) {
            afx_lcd_draw(&lcd, target);
            EXPECT_NE(afx_pixbuf_pixel(target, 21, 62), rgba(200, 0, 0));  // the read-out shows
            afx_lcd_set_background(&lcd, picture);
            afx_lcd_restore(&lcd, target);  // and nothing was drawn beyond it
        }));
}

TEST_F(LcdTest, AShortTextStaysPutAndALongOneScrollsUntilItsEndIsInView) {
    afx_lcd_set_scroll_speed(&lcd, 3.0f);
    afx_lcd_set_text(&lcd, "Width 100.00 %");
    ASSERT_LE(lcd.text_width, 108 + 8);
    EXPECT_FALSE(afx_lcd_needs_draw(&lcd));
    afx_lcd_set_visible(&lcd, true);
    EXPECT_TRUE(afx_lcd_needs_draw(&lcd));
    afx_lcd_set_visible(&lcd, false);
    Canvas panel(150, 100, 40, 40, 40);
    afx_lcd_set_text(&lcd, "KORVEX52  V3.1.4  Plate Reverb by Corvane Audio Systems Ltd");
    const int32_t end = lcd.text_width + 8;
    int32_t draws = 0;
    while (afx_lcd_needs_draw(&lcd) && draws < 1000) {
        afx_lcd_draw(&lcd, panel.pixbuf);
        ++draws;
        if (lcd.scrolling) {
            EXPECT_EQ(lcd.scroll_offset, int32_t(3.0f * float(draws) + 0.5f));
        }
    }
    EXPECT_EQ(draws, end / 3 + 1);  // the first offset beyond the end stops it there
    EXPECT_EQ(lcd.scroll_offset, end);
    EXPECT_FALSE(lcd.scrolling);
}

TEST_F(LcdTest, TheFrameLiesOnTheShownRowsAndAFullTextEndsInAnEllipsis) {
    afx_lcd_set_frame_colour(&lcd, 48, 48, 48);
    afx_lcd_set_frame(&lcd, true);
    afx_lcd_set_text(&lcd, "");
    for (int32_t y = 0, top = int32_t(lcd.top_row); y < int32_t(lcd.strip->height); ++y)
        EXPECT_EQ((afx_pixbuf_pixel(lcd.strip, 0, y) & 0xFFFFFFu) != 0, y >= top && y <= top + 15)
            << y;
    afx_lcd_set_frame(&lcd, false);
    afx_lcd_set_max_chars(&lcd, 5);
    ASSERT_TRUE(afx_lcd_prepare(&lcd));
    const int32_t five = afx_bitmap_font_width(font, "ABCDE"),
                  dots = afx_bitmap_font_width(font, "...");
    const auto inked = [&](int32_t from, int32_t to) {
        for (int32_t y = 0; y < int32_t(lcd.strip->height); ++y)
            for (int32_t x = from; x <= to; ++x)
                if ((afx_pixbuf_pixel(lcd.strip, x, y) & 0xFFFFFFu) != 0) return true;
        return false;
    };
    afx_lcd_set_text(&lcd, "ABCDE");  // exactly the limit: still cut
    EXPECT_TRUE(inked(8 + five, 8 + five + dots - 1));
    EXPECT_FALSE(inked(8 + five + dots + 1, 8 + five + dots + 8));
    afx_lcd_set_text(&lcd, "ABCD");
    EXPECT_FALSE(inked(8 + five, 8 + five + dots + 4));
}

}  // namespace
