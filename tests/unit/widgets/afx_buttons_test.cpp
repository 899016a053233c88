// Buttons, switch, lamp and text box: behaviour and edges (the gallery pins their looks).
#include "afx/widgets/afx_led.h"
#include "afx/widgets/afx_push_button.h"
#include "afx/widgets/afx_switch.h"
#include "afx/widgets/afx_text_box.h"
#include "afx/widgets/afx_toggle_button.h"
#include "widget_test_support.h"

namespace {

// A widget at (x, y), its width, height and corner radius, on (40, 41, 42).
template <class W>
void build(W* w, void (*init)(W*, afx_context*), void (*setWidth)(W*, uint32_t),
           void (*setHeight)(W*, uint32_t), void (*setBack)(W*, uint32_t, uint32_t, uint32_t),
           const uint32_t (&place)[5]) {
    init(w, nullptr);
    afx_widget_set_x(&w->widget, place[0]);
    afx_widget_set_y(&w->widget, place[1]);
    setWidth(w, place[2]);
    setHeight(w, place[3]);
    afx_widget_set_radius(&w->widget, place[4]);
    setBack(w, 40, 41, 42);
}

class ButtonTest : public CaptionTest {
protected:
    void SetUp() override {
        CaptionTest::SetUp();
        build(&push, afx_push_button_init, afx_push_button_set_width, afx_push_button_set_height,
              afx_push_button_set_background_colour, {10, 20, 40, 16, 3});
        afx_push_button_set_fill(&push, 80, 80, 80);
        build(&toggle, afx_toggle_button_init, afx_toggle_button_set_width,
              afx_toggle_button_set_height, afx_toggle_button_set_background_colour,
              {48, 20, 48, 24, 2});
        build(&sw, afx_switch_init, afx_switch_set_width, afx_switch_set_height,
              afx_switch_set_background_colour, {4, 4, 32, 16, 2});
        build(&text, afx_text_box_init, afx_text_box_set_width, afx_text_box_set_height,
              afx_text_box_set_background_colour, {20, 10, 100, 20, 1});
        afx_led_init(&led, nullptr);
        afx_led_set_x(&led, 37);
        afx_led_set_y(&led, 10);
        afx_led_set_radius(&led, 6);
        afx_led_set_lamp_colour(&led, 240, 39, 16);
        afx_led_set_background_colour(&led, 40, 41, 42);
    }
    void TearDown() override {
        afx_push_button_release(&push);
        afx_toggle_button_release(&toggle);
        afx_switch_release(&sw);
        afx_led_release(&led);
        afx_text_box_release(&text);
        CaptionTest::TearDown();
    }
    afx_push_button push;
    afx_toggle_button toggle;
    afx_switch sw;
    afx_led led;
    afx_text_box text;
};

TEST_F(ButtonTest, EachWidgetHitsDirtiesAndRestoresItsBoxAndAPixelMore) {
    // Push and toggle dirty their box grown by the corner radius and a pixel.
    afx_toggle_button_set_dirty(&toggle, true);
    afx_switch_set_dirty(&sw, true);
    expectRects(&push, {50, 36, {6, 16, 48, 24}, {10, 20, 41, 17}, {10, 20, 41, 17}},
                afx_push_button_hit, afx_push_button_dirty_rect, afx_push_button_set_background,
                afx_push_button_restore);
    expectRects(&toggle, {96, 44, {45, 17, 54, 30}, {48, 20, 49, 25}, {48, 20, 49, 25}},
                afx_toggle_button_hit, afx_toggle_button_dirty_rect,
                afx_toggle_button_set_background, afx_toggle_button_restore);
    expectRects(&sw, {36, 20, {4, 4, 33, 17}, {4, 4, 33, 17}, {4, 4, 33, 17}}, afx_switch_hit,
                afx_switch_dirty_rect, afx_switch_set_background, afx_switch_restore);
    // Without a picture the lamp fills only (x, y, 2r + 1, 2r + 1).
    expectRects(&led, {49, 22, {36, 9, 14, 14}, {36, 9, 14, 14}, {37, 10, 13, 13}}, afx_led_hit,
                afx_led_dirty_rect, afx_led_set_background, afx_led_restore);
    expectRects(&text, {120, 30, {20, 10, 101, 21}, {20, 10, 101, 21}, {20, 10, 101, 21}},
                afx_text_box_hit, afx_text_box_dirty_rect, afx_text_box_set_background,
                afx_text_box_restore);
    afx_widget_set_x(&push.widget, 2);  // the rectangle stops at zero
    afx_widget_set_y(&push.widget, 0);
    EXPECT_EQ(boxOf(afx_push_button_dirty_rect, &push), (Box{0, 0, 46, 20}));
    EXPECT_EQ(toggle.dirty, 0);  // a restore leaves the widget clean
    EXPECT_EQ(sw.dirty, 0);
}

TEST_F(ButtonTest, AHiddenButtonIsErasedOnceThenNeitherDrawnNorHitUntilShown) {
    Canvas c(70, 50, 40, 41, 42);
    afx_push_button_redraw(&push, c.pixbuf);
    EXPECT_NE(c.countNot(rgba(40, 41, 42)), 0);
    afx_push_button_set_hidden(&push, true);
    EXPECT_FALSE(afx_push_button_hit(&push, 30, 28));
    EXPECT_EQ(push.dirty, 1);
    afx_push_button_redraw(&push, c.pixbuf);
    EXPECT_EQ(c.countNot(rgba(40, 41, 42)), 0);  // erased, nothing drawn
    // Hidden and clean, marked dirty or hidden again: the owner's pixels stay.
    fillBox(c, {12, 22, 5, 5}, 9, 9, 9);
    afx_push_button_set_dirty(&push, true);
    afx_push_button_set_hidden(&push, true);
    afx_push_button_redraw(&push, c.pixbuf);
    EXPECT_EQ(c.at(14, 24), rgba(9, 9, 9));
    afx_push_button_set_hidden(&push, false);  // showing marks dirty: drawn again
    afx_push_button_redraw(&push, c.pixbuf);
    EXPECT_EQ(int32_t(c.at(14, 24) & 255u), referenceBlend(40, 80, 254));
    char caption[8] = "Close";
    afx_push_button_set_caption(&push, caption);  // an owned copy
    caption[0] = 'X';
    EXPECT_STREQ(push.caption, "Close");
    afx_push_button_set_caption(&push, nullptr);  // cleared: no text left to draw
    EXPECT_EQ(push.caption, nullptr);
}

TEST_F(ButtonTest, TheToggleFlipsAndTheSwitchThumbSitsRightWhileOnForSideOneAndLeftForSideZero) {
    afx_toggle_button_toggle(&toggle);
    EXPECT_TRUE(afx_toggle_button_is_on(&toggle));
    // Side, on: the thumb's column in the track 28 x 12 at (6, 6), right or left.
    const float cases[][3] = {{1, 1, 20}, {1, 0, 7.4f}, {0, 1, 7.4f}, {0, 0, 20}, {5, 0, 20}};
    for (const auto& k : cases) {
        afx_switch_set_thumb_side(&sw, uint32_t(k[0]));
        afx_switch_set_on(&sw, k[1] > 0);
        EXPECT_NEAR(afx_switch_thumb_left(&sw), k[2], 1e-4f) << k[0] << k[1];
    }
    afx_switch_toggle(&sw);
    EXPECT_TRUE(afx_switch_is_on(&sw));
}

TEST_F(ButtonTest, TheLampRedrawsOnlyWhenItsStateChanged) {
    Canvas c(60, 30, 40, 41, 42), off(60, 30, 40, 41, 42);
    afx_led_redraw(&led, c.pixbuf);
    afx_led_redraw(&led, off.pixbuf);
    EXPECT_FALSE(afx_led_update(&led, c.pixbuf));
    afx_led_set_on(&led, true);
    EXPECT_TRUE(afx_led_update(&led, c.pixbuf));
    EXPECT_FALSE(golden_compare("led-on", off.picture(), c.picture()));
    afx_led_set_on(&led, false);
    EXPECT_TRUE(afx_led_update(&led, c.pixbuf));  // restored first: as never lit
    EXPECT_TRUE(golden_compare("led-off", off.picture(), c.picture()));
}

TEST_F(ButtonTest, TextStartsAfterTheInsetCentresOrKeepsItsEndInView) {
    // Alignment, text width: left edge. Inset 4; 1 centres; 2 keeps a wide text's end in view.
    const float starts[][3] = {
        {0, 30, 24}, {2, 30, 24}, {1, 30.5f, 55}, {0, 150, 24}, {2, 150, -34}};
    for (const auto& k : starts) {
        afx_text_box_set_alignment(&text, uint32_t(k[0]));
        EXPECT_FLOAT_EQ(afx_text_box_caption_x(&text, k[1]), k[2]) << k[0] << " " << k[1];
    }
}

}  // namespace
