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
    // Value, low, high, result: a value that is no number takes the low end.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float clamps[][4] = {{5, 0, 10, 5}, {-1, 0, 10, 0}, {11, 0, 10, 10}, {nan, 2, 10, 2}};
    for (const auto& k : clamps) EXPECT_EQ(afx_clamp(k[0], k[1], k[2]), k[3]) << k[0];
    // No steps, too few, out of range; 0.25 of 3 steps is 0.5 + 0.5 and rounds up.
    const struct {
        float value;
        int32_t steps, index;
    } cases[] = {{0.7f, 0, 0},  {0.7f, -4, 0}, {1.0f, 1, 0}, {-3.0f, 5, 0}, {7.0f, 5, 4},
                 {0.25f, 3, 1}, {0.24f, 3, 0}, {0.5f, 2, 1}, {0.499f, 2, 0}};
    for (const auto& k : cases)
        EXPECT_EQ(afx_value_to_index(k.value, k.steps), k.index) << k.value << " " << k.steps;
    // Every step of an 11-position switch is reached at its own value.
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(afx_value_to_index(i / 10.0f, 11), i);
}

// A picture whose every pixel tells its position.
void paintPositions(Canvas& c, uint32_t alpha) {
    for (uint32_t y = 0; y < c.pixbuf->height; ++y)
        for (uint32_t x = 0; x < c.pixbuf->width; ++x)
            afx_pixbuf_set_pixel(nullptr, c.pixbuf, int32_t(x), int32_t(y), x * 3, y * 3, 99,
                                 alpha);
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
    EXPECT_EQ(firstMiss(c,
                        [](int32_t x, int32_t y) {
                            return Box{3, 4, 4, 5}.contains(x, y)
                                       ? rgba((x - 3) * 3, (y - 4) * 3, 99, 17)
                                       : rgba(1, 1, 1);
                        }),
              "");
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
                afx_pixbuf_set_pixel(nullptr, strip.pixbuf, x, y, y < 16 ? 240 : 0, 0,
                                     y < 16 ? 0 : 240, 128);
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
    const struct {
        uint32_t frames;
        float value;
        int32_t frame;
    } cases[] = {{2, 0, 0},   {2, 49.9f, 0}, {2, 50, 1},    {2, 100, 1},   {2, 250, 1},
                 {2, -20, 0}, {5, 12.4f, 0}, {5, 12.5f, 1}, {5, 87.5f, 4}, {0, 100, 0}};
    for (const auto& k : cases) {
        afx_filmstrip_set_frame_count(&film, k.frames);
        EXPECT_EQ(afx_filmstrip_frame(&film, k.value), k.frame)
            << k.frames << " frames, value " << k.value;
    }
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
    afx_filmstrip_set_frame_width(&film, 31);   // 31 / 2 = 15
    afx_filmstrip_set_frame_height(&film, 15);  // 15 / 2 = 7
    EXPECT_EQ(boxOf(afx_filmstrip_dirty_rect, &film), (Box{37, 4, 31, 15}));
    afx_filmstrip_set_frame_height(&film, 16);
    Canvas c(80, 40, 20, 20, 20);
    afx_filmstrip_show(&film, 50);  // the second frame, blue, from row 16 of the strip
    afx_filmstrip_draw(&film, c.pixbuf);
    const uint32_t blue = rgba(referenceBlend(20, 0, 128), 10, referenceBlend(20, 240, 128));
    EXPECT_EQ(firstMiss(c, boxed({37, 3, 31, 16}, blue, rgba(20, 20, 20))), "");
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
    EXPECT_EQ(firstMiss(c,
                        [](int32_t x, int32_t y) {
                            if (!Box{41, 10, 32, 16}.contains(x, y)) return rgba(20, 20, 20);
                            // The first frame, red, over the background pixel under it.
                            return rgba(referenceBlend((x - 5) * 3, 240, 128),
                                        referenceBlend((y - 7) * 3, 0, 128),
                                        referenceBlend(99, 0, 128));
                        }),
              "");
}

}  // namespace
