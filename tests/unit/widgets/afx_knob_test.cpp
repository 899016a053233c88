// The knob's pointer, wheel and value rules, and what its drawing writes and restores.
#include <gtest/gtest.h>

#include <cmath>

#include "afx/widgets/afx_knob.h"
#include "widget_test_support.h"

namespace {

// A knob of radius 22 with its box at (10, 20): centre (32, 42).
class KnobTest : public ::testing::Test {
protected:
    void SetUp() override {
        afx_knob_init(&knob, nullptr);
        afx_knob_set_x(&knob, 10);
        afx_knob_set_y(&knob, 20);
        afx_knob_set_radius(&knob, 22);
        afx_knob_set_background_colour(&knob, 40, 41, 42);
    }
    void TearDown() override { afx_knob_release(&knob); }
    static constexpr float cx = 32.0f, cy = 42.0f;
    afx_knob knob;
};

TEST_F(KnobTest, ACircularPressJumpsToTheAngleExceptInTheGapAndTheDeadZone) {
    EXPECT_FALSE(afx_knob_press(&knob, 55, 42));
    // Of 270 degrees from down-left: up 135, left 45, right 225; the gap and dead zone keep it.
    const float sixth = 100 / 6.0f;
    const float presses[][4] = {
        {cx, 20, 3 * sixth, 0},           {10, cy, sixth, 0},         {54, cy, 5 * sixth, 0},
        {cx - 10, cy - 10, 2 * sixth, 0}, {cx, 63, 2 * sixth, 0},     {cx - 9, 63, 2 * sixth, 0},
        {cx + 9, 63, 2 * sixth, 0},       {cx, cy - 6, 2 * sixth, 1}, {cx, cy - 7, 3 * sixth, 0}};
    for (const auto& k : presses) {
        EXPECT_TRUE(afx_knob_press(&knob, k[0], k[1]));
        EXPECT_NEAR(knob.value, k[2], 1e-3f) << k[0] << "," << k[1];
        EXPECT_EQ(afx_knob_in_dead_zone(&knob), k[3] > 0) << k[0] << "," << k[1];
    }
    for (uint32_t mode : {kAfxKnobRelative, kAfxKnobLinear, kAfxKnobDefault}) {
        afx_knob_set_mode(&knob, mode);  // the other modes never jump on a press
        EXPECT_TRUE(afx_knob_press(&knob, 54, cy));
        EXPECT_NEAR(knob.value, 50, 1e-3f) << mode;
    }
}

TEST_F(KnobTest, DragsMoveAPercentPerPixelUpOrADegreeAPercentAroundTheCentre) {
    afx_knob_set_smoothing(&knob, false);
    const float r = 20.0f, c = r * std::cos(0.0872665f), s = r * std::sin(0.0872665f);  // 5 degrees
    // Mode, value, press at, drag to: value after. Linear: upward travel only, held in 0..100;
    // quarter turns at the radius, at half of it, beyond it and back; 10 degrees.
    const float drags[][7] = {
        {kAfxKnobLinear, 40, 20, 30, 25, 20, 50},
        {kAfxKnobLinear, 40, 20, 30, 20, -470, 100},
        {kAfxKnobLinear, 40, 20, 30, 20, 1030, 0},
        {kAfxKnobDefault, 40, 20, 30, 20, 55, 15},
        {kAfxKnobCircular, 5, 54, cy, cx, 64, 95},
        {kAfxKnobCircular, 5, 43, cy, cx, 53, 50},
        {kAfxKnobRelative, 5, 54, cy, cx, cy + 40, 95},
        {kAfxKnobRelative, 95, cx, 64, 54, cy, 5},
        {kAfxKnobRelative, 50, cx - c, cy + s, cx - c, cy - s, 50 + 10 * r / 22}};
    for (const auto& k : drags) {
        afx_knob_set_mode(&knob, uint32_t(k[0]));
        ASSERT_TRUE(afx_knob_press(&knob, k[2], k[3]));
        afx_knob_set_value(&knob, k[1]);  // after the press: a Circular press jumps
        afx_knob_drag(&knob, k[4] - k[2], k[3] - k[5]);
        EXPECT_NEAR(knob.value, k[6], 1e-2f) << "mode " << k[0] << " to " << k[4] << "," << k[5];
    }
}

TEST_F(KnobTest, TheWheelSnapsToAGridOfFortyNineAndTheDetentHoldsStrictlyNearANonZeroDefault) {
    // Steps of 100 / 48 from a value held in 0..100: 10 is 4.8 steps, snapped to 5 first.
    const float wheel[][3] = {{10, 1, 12.5f}, {10, -1, 400 / 48.0f}, {-3, 3, 6.25f},
                              {0, -1, 0},     {99.5f, 1, 100},       {100, 5, 100}};
    for (const auto& k : wheel) {
        afx_knob_set_value(&knob, k[0]);
        afx_knob_step(&knob, int32_t(k[1]));
        EXPECT_FLOAT_EQ(knob.value, k[2]) << k[0] << " " << k[1];
    }
    EXPECT_FALSE(afx_knob_at_default(&knob));  // default 0: none
    afx_knob_set_default(&knob, 50);
    for (float v : {48.01f, 51.99f, 48.0f, 52.0f, 0.0f}) {
        afx_knob_set_value(&knob, v);
        EXPECT_EQ(afx_knob_at_default(&knob), v > 48.0f && v < 52.0f) << v;
    }
}

TEST_F(KnobTest, DrawingStaysInItsDirtyRectangleWhichRestoreAndRedrawErase) {
    const Box dirty{8, 18, 48, 48};
    Canvas c(80, 90, 40, 40, 40), cleared(80, 90, 40, 40, 40);
    afx_knob_set_shadow(&knob, true);
    afx_knob_set_value(&knob, 100);
    afx_knob_draw(&knob, c.pixbuf);
    EXPECT_NE(c.at(9, 42), rgba(40, 40, 40));  // the outer ring reaches left of the box
    fillBox(c, dirty, 40, 40, 40);
    EXPECT_TRUE(golden_compare("knob-outside", cleared.picture(), c.picture()));
    // Without a picture restore fills (x, y, 2r + 2, 2r + 2) with the colour.
    expectRects(&knob, {54, 64, dirty, dirty, {10, 20, 46, 46}}, afx_knob_hit, afx_knob_dirty_rect,
                afx_knob_set_background, afx_knob_restore);
    Canvas ground(80, 90, 40, 40, 40), fresh(80, 90, 40, 40, 40), redrawn(80, 90, 40, 40, 40);
    afx_knob_set_background(&knob, ground.pixbuf);
    afx_knob_set_value(&knob, 10);
    EXPECT_TRUE(afx_knob_redraw(&knob, redrawn.pixbuf));
    afx_knob_set_value(&knob, 90);
    EXPECT_TRUE(afx_knob_redraw(&knob, redrawn.pixbuf));
    afx_knob_draw(&knob, fresh.pixbuf);
    EXPECT_TRUE(golden_compare("knob-redraw", fresh.picture(), redrawn.picture()));  // old one gone
    // At the canvas corner the dirty rectangle starts at (-2, -2): clipped.
    afx_knob_set_background(&knob, nullptr);
    afx_knob_set_x(&knob, 0);
    afx_knob_set_y(&knob, 0);
    Canvas corner(60, 60, 1, 2, 3);
    afx_knob_redraw(&knob, corner.pixbuf);
    EXPECT_EQ(corner.at(0, 5), rgba(40, 41, 42));  // restored; the pen never writes column 0
    EXPECT_EQ(corner.at(46, 22), rgba(1, 2, 3));   // beyond the fill and the ring
    EXPECT_NE(corner.at(45, 22), rgba(40, 41, 42));
}

}  // namespace
