// The slide switch and the lamp: thumb sides, track colours, the caption
// only while on and in the free half, the lamp's half colour while off and
// its update answer, and their restore rectangles.
#include "afx/widgets/afx_led.h"
#include "afx/widgets/afx_switch.h"
#include "widget_text_fixture.h"

namespace {

// A 32 x 16 switch at (4, 4), as the editor's: track 28 x 12 at (6, 6), thumb
// 12.6 x 10.8 from row 6.6, either at column 20 (right half) or 7.4 (left).
class SwitchTest : public CaptionTest {
protected:
    void SetUp() override {
        CaptionTest::SetUp();
        afx_switch_init(&sw, nullptr);
        afx_widget_set_x(&sw.widget, 4);
        afx_widget_set_y(&sw.widget, 4);
        afx_switch_set_width(&sw, 32);
        afx_switch_set_height(&sw, 16);
        afx_widget_set_radius(&sw.widget, 2);
        afx_switch_set_thumb_colour(&sw, 96, 96, 96);
        afx_switch_set_track_on_colour(&sw, 48, 48, 48);
        afx_switch_set_background_colour(&sw, 40, 40, 40);
    }
    void TearDown() override {
        afx_switch_release(&sw);
        CaptionTest::TearDown();
    }
    bool thumbRight(const Canvas& c) { return c.red(27, 12) > 80 && c.red(13, 12) < 60; }
    bool thumbLeft(const Canvas& c) { return c.red(13, 12) > 80 && c.red(27, 12) < 60; }
    afx_switch sw;
};

TEST_F(SwitchTest, ThumbSideOnePutsTheThumbRightWhileOnAndSideZeroLeft) {
    EXPECT_EQ(sw.font_size, 8.0f);
    const struct {
        uint32_t side;
        bool on;
        float left;
    } cases[] = {
        {1, true, 20.0f}, {1, false, 7.4f}, {0, true, 7.4f}, {0, false, 20.0f}, {5, false, 20.0f}};
    for (const auto& k : cases) {
        afx_switch_set_thumb_side(&sw, k.side);
        afx_switch_set_on(&sw, k.on);
        EXPECT_NEAR(afx_switch_thumb_left(&sw), k.left, 1e-4f) << k.side << k.on;
        Canvas c(44, 28, 40, 40, 40);
        afx_switch_draw(&sw, c.pixbuf);
        EXPECT_TRUE(k.left > 10 ? thumbRight(c) : thumbLeft(c)) << k.side << k.on;
    }
    afx_switch_toggle(&sw);
    EXPECT_TRUE(afx_switch_is_on(&sw));
}

TEST_F(SwitchTest, FrameTrackAndThumbColours) {
    afx_switch_set_thumb_side(&sw, 1);
    for (bool on : {false, true}) {
        Canvas c(44, 28, 40, 40, 40);
        afx_switch_set_on(&sw, on);
        afx_switch_draw(&sw, c.pixbuf);
        const int32_t frame = referenceBlend(40, 22, 254);
        EXPECT_EQ(int32_t(c.red(4, 12)), frame);  // the frame's own edge column
        const int32_t track = referenceBlend(frame, on ? 48 : 40, 254);
        EXPECT_EQ(int32_t(c.red(on ? 8 : 32, 12)), track) << on;  // track beside the thumb
        EXPECT_EQ(int32_t(c.red(on ? 26 : 14, 12)), referenceBlend(track, 96, 254)) << on;
    }
    // The shade: black at its alpha on the thumb, one pixel inside it.
    afx_switch_set_thumb_highlight(&sw, true);
    afx_switch_set_on(&sw, true);
    Canvas c(44, 28, 40, 40, 40);
    afx_switch_draw(&sw, c.pixbuf);
    const int32_t thumb =
        referenceBlend(referenceBlend(referenceBlend(40, 22, 254), 48, 254), 96, 254);
    EXPECT_EQ(int32_t(c.red(26, 12)), referenceBlend(thumb, 0, 255 * 32 / 256));
}

TEST_F(SwitchTest, TheCaptionShowsOnlyWhileOnInTheHalfTheThumbLeavesFree) {
    // Centred by its floored width in the right half when the thumb sits on
    // the left (side 0), else in the left half; nothing while off.
    const float w = std::floor(referenceWidth("W", 8.0f));
    for (uint32_t side : {0u, 1u}) {
        afx_switch_set_thumb_side(&sw, side);
        for (bool on : {false, true}) {
            Canvas captioned(44, 28, 40, 40, 40), expected(44, 28, 40, 40, 40);
            afx_switch_set_on(&sw, on);
            afx_switch_draw(&sw, expected.pixbuf);
            afx_switch_set_caption(&sw, "W");
            afx_switch_draw(&sw, captioned.pixbuf);
            afx_switch_set_caption(&sw, nullptr);
            const float x = 4.0f + (16.0f - w) / 2.0f + (side == 0 ? 16.0f : 0.0f);
            if (on) referenceCaption(expected, "W", 8.0f, x, 4, 16, 240, 240, 240);
            EXPECT_TRUE(samePixels(captioned, expected)) << "side " << side << " on " << on;
        }
    }
}

TEST_F(SwitchTest, RestoreAndDirtyRectangleCoverTheFrame) {
    EXPECT_EQ(boxOf(afx_switch_dirty_rect, &sw), (Box{4, 4, 33, 17}));
    Canvas c(44, 28, 200, 200, 200);
    afx_switch_set_on(&sw, true);
    afx_switch_draw(&sw, c.pixbuf);
    afx_switch_set_dirty(&sw, true);
    afx_switch_restore(&sw, c.pixbuf);  // erases all the switch drew
    EXPECT_EQ(sw.dirty, 0);
    EXPECT_EQ(firstMiss(c, boxed({4, 4, 33, 17}, rgba(40, 40, 40), rgba(200, 200, 200))), "");
    EXPECT_TRUE(afx_switch_hit(&sw, 36, 20));
    EXPECT_FALSE(afx_switch_hit(&sw, 37, 20));
}

// ---- Lamp -----------------------------------------------------------------------

class LedTest : public CaptionTest {
protected:
    void SetUp() override {
        CaptionTest::SetUp();
        afx_led_init(&led, nullptr);
        afx_led_set_x(&led, 37);
        afx_led_set_y(&led, 10);
        afx_led_set_radius(&led, 6);
        afx_led_set_lamp_colour(&led, 240, 39, 16);
        afx_led_set_background_colour(&led, 40, 40, 40);
    }
    void TearDown() override {
        afx_led_release(&led);
        CaptionTest::TearDown();
    }
    afx_led led;
};

TEST_F(LedTest, OffShowsHalfTheLampColourInsideTheRing) {
    for (bool on : {false, true}) {
        Canvas c(60, 30, 40, 40, 40);
        afx_led_set_on(&led, on);
        afx_led_draw(&led, c.pixbuf);
        const int32_t ring = referenceBlend(40, 22, 254);
        const uint32_t shift = on ? 0 : 1;
        EXPECT_EQ(c.at(43, 16), rgba(referenceBlend(ring, 240 >> shift, 254),
                                     referenceBlend(ring, 39 >> shift, 254),
                                     referenceBlend(ring, 16 >> shift, 254)))
            << on;
        // 6 from the centre: inside the ring's rim (6.375), beyond the lamp's (4.5 + 0.5).
        EXPECT_EQ(int32_t(c.red(37, 16)), referenceShade(40, 22, 6.0 - 6.375));
        EXPECT_EQ(c.red(36, 16), 40u);  // 7 from the centre: beyond the ring's 6.375 + 0.5
    }
}

TEST_F(LedTest, UpdateRedrawsOnlyWhenTheStateChanged) {
    Canvas c(60, 30, 40, 40, 40);
    afx_led_redraw(&led, c.pixbuf);
    EXPECT_FALSE(afx_led_update(&led, c.pixbuf));
    afx_led_set_on(&led, true);
    EXPECT_TRUE(afx_led_update(&led, c.pixbuf));
    EXPECT_EQ(int32_t(c.red(43, 16)), referenceBlend(referenceBlend(40, 22, 254), 240, 254));
    EXPECT_FALSE(afx_led_update(&led, c.pixbuf));
    afx_led_set_on(&led, false);
    EXPECT_TRUE(afx_led_update(&led, c.pixbuf));
    EXPECT_EQ(int32_t(c.red(43, 16)),
              referenceBlend(referenceBlend(40, 22, 254), 120, 254));  // restored first
}

TEST_F(LedTest, DirtyRestoreAndHitRectangles) {
    EXPECT_EQ(boxOf(afx_led_dirty_rect, &led), (Box{36, 9, 14, 14}));
    Canvas c(60, 30, 200, 200, 200);
    afx_led_restore(&led, c.pixbuf);  // the colour fills (x, y, 2r + 1, 2r + 1)
    EXPECT_EQ(firstMiss(c, boxed({37, 10, 13, 13}, rgba(40, 40, 40), rgba(200, 200, 200))), "");
    Canvas picture(60, 30, 7, 8, 9), d(60, 30, 200, 200, 200);
    afx_led_set_background(&led, picture.pixbuf);  // the picture covers the dirty rectangle
    afx_led_restore(&led, d.pixbuf);
    EXPECT_EQ(firstMiss(d, boxed({36, 9, 14, 14}, rgba(7, 8, 9), rgba(200, 200, 200))), "");
    EXPECT_TRUE(afx_led_hit(&led, 49, 22));
    EXPECT_FALSE(afx_led_hit(&led, 50, 22));
}

}  // namespace
