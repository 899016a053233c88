// The value helpers, the picture widget and the film strip: frame choice,
// placement by the centre with integer halves, the hit box and hover, and
// the background copied back under a frame.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "afx/widgets/afx_filmstrip.h"
#include "afx/widgets/afx_image.h"
#include "afx/widgets/afx_widget.h"
#include "widget_test_support.h"

namespace {

TEST(WidgetHelpers, ClampAndValueToIndex) {
    EXPECT_EQ(afx_clamp(5, 0, 10), 5.0f);
    EXPECT_EQ(afx_clamp(-1, 0, 10), 0.0f);
    EXPECT_EQ(afx_clamp(11, 0, 10), 10.0f);
    EXPECT_EQ(afx_clamp(std::numeric_limits<float>::quiet_NaN(), 2, 10), 2.0f);

    EXPECT_EQ(afx_value_to_index(0.7f, 0), 0);
    EXPECT_EQ(afx_value_to_index(0.7f, -4), 0);
    EXPECT_EQ(afx_value_to_index(1.0f, 1), 0);
    EXPECT_EQ(afx_value_to_index(-3.0f, 5), 0);
    EXPECT_EQ(afx_value_to_index(7.0f, 5), 4);
    EXPECT_EQ(afx_value_to_index(0.25f, 3), 1);  // 0.5 + 0.5 rounds up
    EXPECT_EQ(afx_value_to_index(0.24f, 3), 0);
    EXPECT_EQ(afx_value_to_index(0.5f, 2), 1);
    EXPECT_EQ(afx_value_to_index(0.499f, 2), 0);
    // Every step of an 11-position switch is reached at its own value.
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(afx_value_to_index(i / 10.0f, 11), i);
}

// A picture whose every pixel tells its position.
void paintPositions(Canvas& c, uint32_t alpha) {
    for (uint32_t y = 0; y < c.pixbuf->height; ++y)
        for (uint32_t x = 0; x < c.pixbuf->width; ++x)
            afx_pixbuf_set_pixel(nullptr, c.pixbuf, int32_t(x), int32_t(y), x * 3, y * 3, 99, alpha);
}

TEST(Image, DrawsItsPictureOpaquelyAtItsPlace) {
    Canvas picture(6, 5);
    paintPositions(picture, 17);  // alpha is copied, not blended
    Canvas c(20, 20, 1, 1, 1);
    afx_image image;
    afx_image_init(&image, nullptr);
    afx_image_draw(&image, c.pixbuf);  // no picture: nothing
    EXPECT_EQ(c.countNot(rgba(1, 1, 1)), 0);
    afx_image_set_pixbuf(&image, picture.pixbuf);
    afx_image_set_x(&image, 3);
    afx_image_set_y(&image, 4);
    afx_image_set_width(&image, 4);
    afx_image_set_height(&image, 5);
    afx_image_draw(&image, c.pixbuf);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x < 7 && y >= 4 && y < 9;
            ASSERT_EQ(c.at(x, y), inside ? rgba((x - 3) * 3, (y - 4) * 3, 99, 17) : rgba(1, 1, 1)) << x << "," << y;
        }
    }
    afx_image_set_x(&image, 18);  // past the right edge: clipped
    afx_image_draw(&image, c.pixbuf);
    EXPECT_EQ(c.at(19, 4), rgba(3, 0, 99, 17));
}

// Two 32 x 16 frames: the first red, the second blue, both half transparent.
class FilmstripTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                afx_pixbuf_set_pixel(nullptr, strip.pixbuf, x, y, y < 16 ? 240 : 0, 0, y < 16 ? 0 : 240, 128);
        paintPositions(background, 255);
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
    Canvas strip{32, 32};
    Canvas background{80, 40};
    afx_filmstrip film;
};

TEST_F(FilmstripTest, ValueChoosesTheFrameByRounding) {
    EXPECT_EQ(afx_filmstrip_frame(&film, 0), 0);
    EXPECT_EQ(afx_filmstrip_frame(&film, 49.9f), 0);
    EXPECT_EQ(afx_filmstrip_frame(&film, 50), 1);
    EXPECT_EQ(afx_filmstrip_frame(&film, 100), 1);
    EXPECT_EQ(afx_filmstrip_frame(&film, 250), 1);
    EXPECT_EQ(afx_filmstrip_frame(&film, -20), 0);
    afx_filmstrip_set_frame_count(&film, 5);
    EXPECT_EQ(afx_filmstrip_frame(&film, 12.4f), 0);
    EXPECT_EQ(afx_filmstrip_frame(&film, 12.5f), 1);
    EXPECT_EQ(afx_filmstrip_frame(&film, 87.5f), 4);
    afx_filmstrip_set_frame_count(&film, 0);
    EXPECT_EQ(afx_filmstrip_frame(&film, 100), 0);
}

TEST_F(FilmstripTest, ValueAndShownValueAreClampedAndShowLeavesTheValue) {
    afx_filmstrip_set_value(&film, 130);
    EXPECT_EQ(afx_filmstrip_get_value(&film), 100.0f);
    EXPECT_EQ(film.shown_value, 100.0f);
    afx_filmstrip_show(&film, -5);
    EXPECT_EQ(film.shown_value, 0.0f);
    EXPECT_EQ(afx_filmstrip_get_value(&film), 100.0f);
}

TEST_F(FilmstripTest, TheHitBoxIsTheFrameWithBothEndsAndKeepsHover) {
    // Centre (52, 11), frame 32 x 16: the box runs from (36, 3) to (68, 19).
    for (auto [x, y] : {std::pair{36, 3}, {68, 19}, {68, 3}, {36, 19}, {52, 11}}) {
        EXPECT_TRUE(afx_filmstrip_hit(&film, x, y)) << x << "," << y;
        EXPECT_TRUE(afx_filmstrip_is_hover(&film));
    }
    for (auto [x, y] : {std::pair{35, 10}, {69, 10}, {50, 2}, {50, 20}}) {
        EXPECT_FALSE(afx_filmstrip_hit(&film, x, y)) << x << "," << y;
        EXPECT_FALSE(afx_filmstrip_is_hover(&film));
    }
    // The offsets and the origin move the box.
    afx_filmstrip_set_hit_offset_x(&film, 4);
    afx_filmstrip_set_hit_offset_y(&film, 2);
    afx_filmstrip_set_hit_width(&film, 10);
    afx_filmstrip_set_hit_height(&film, 5);
    afx_filmstrip_set_origin_x(&film, 100);
    afx_filmstrip_set_origin_y(&film, -3);
    EXPECT_TRUE(afx_filmstrip_hit(&film, 140, 2));
    EXPECT_TRUE(afx_filmstrip_hit(&film, 150, 7));
    EXPECT_FALSE(afx_filmstrip_hit(&film, 139, 4));
    EXPECT_FALSE(afx_filmstrip_hit(&film, 145, 8));
}

TEST_F(FilmstripTest, DrawBlendsTheShownFrameAtTheCentreWithIntegerHalves) {
    afx_filmstrip_set_frame_width(&film, 31);  // 31 / 2 = 15
    afx_filmstrip_set_frame_height(&film, 15);  // 15 / 2 = 7
    int32_t x, y, w, h;
    afx_filmstrip_dirty_rect(&film, &x, &y, &w, &h);
    EXPECT_EQ(x, 37);
    EXPECT_EQ(y, 4);
    EXPECT_EQ(w, 31);
    EXPECT_EQ(h, 15);
    afx_filmstrip_set_frame_height(&film, 16);
    Canvas c(80, 40, 20, 20, 20);
    afx_filmstrip_show(&film, 50);  // the second frame, blue, from row 16 of the strip
    afx_filmstrip_draw(&film, c.pixbuf);
    const uint32_t blue = rgba(referenceBlend(20, 0, 128), 10, referenceBlend(20, 240, 128));
    for (int py = 0; py < 40; ++py) {
        for (int px = 0; px < 80; ++px) {
            const bool inside = px >= 37 && px < 68 && py >= 3 && py < 19;
            ASSERT_EQ(c.at(px, py), inside ? blue : rgba(20, 20, 20)) << px << "," << py;
        }
    }
    afx_filmstrip_set_strip(&film, nullptr);  // without a strip nothing is drawn
    Canvas d(80, 40, 20, 20, 20);
    afx_filmstrip_draw(&film, d.pixbuf);
    EXPECT_EQ(d.countNot(rgba(20, 20, 20)), 0);
}

TEST_F(FilmstripTest, RedrawPutsTheBackgroundBackUnderTheFrame) {
    afx_filmstrip_set_origin_x(&film, 5);
    afx_filmstrip_set_origin_y(&film, 7);
    Canvas c(90, 50, 20, 20, 20);
    afx_filmstrip_set_value(&film, 100);
    afx_filmstrip_draw(&film, c.pixbuf);
    afx_filmstrip_set_value(&film, 0);
    afx_filmstrip_redraw(&film, c.pixbuf);
    // The frame sits at (36 + 5, 3 + 7); the background comes from (36, 3).
    for (int py = 0; py < 50; ++py) {
        for (int px = 0; px < 90; ++px) {
            const bool inside = px >= 41 && px < 73 && py >= 10 && py < 26;
            if (!inside) {
                ASSERT_EQ(c.at(px, py), rgba(20, 20, 20)) << px << "," << py;
                continue;
            }
            const int32_t bx = px - 5, by = py - 7;  // background pixel under it
            const uint32_t red = rgba(referenceBlend(bx * 3, 240, 128), referenceBlend(by * 3, 0, 128),
                                      referenceBlend(99, 0, 128));
            ASSERT_EQ(c.at(px, py), red) << px << "," << py;
        }
    }
}

}  // namespace
