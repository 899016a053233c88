// The knob: its box and dead zone, the Circular jump, the four drag modes
// with and without smoothing, the wheel grid, the detent, and what its
// drawing writes and restores.
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
    }
    void TearDown() override { afx_knob_release(&knob); }

    // Presses at p, sets the value (a Circular press jumps), then moves the
    // pointer to q as one drag event.
    void turn(float from, float px, float py, float qx, float qy) {
        ASSERT_TRUE(afx_knob_press(&knob, px, py));
        afx_knob_set_value(&knob, from);
        afx_knob_drag(&knob, qx - px, py - qy);
    }

    static constexpr float cx = 32.0f, cy = 42.0f;
    afx_knob knob;
};

TEST_F(KnobTest, HitsItsBoxWithTheRightAndBottomEdgesIncluded) {
    // Corners, then just beyond each edge; x + 2r and y + 2r still hit.
    const struct {
        float x, y;
        bool hit;
    } points[] = {{10, 20, true},      {54, 64, true},     {54, 20, true},     {54.01f, 40, false},
                  {30, 64.01f, false}, {9.99f, 40, false}, {30, 19.99f, false}};
    for (const auto& k : points)
        EXPECT_EQ(afx_knob_hit(&knob, k.x, k.y), k.hit) << k.x << "," << k.y;
    afx_knob_set_value(&knob, 30);
    EXPECT_FALSE(afx_knob_press(&knob, 55, 42));  // a miss changes nothing
    EXPECT_EQ(knob.value, 30.0f);
}

TEST_F(KnobTest, CircularPressJumpsToTheAngleExceptInTheGapAndTheDeadZone) {
    // Up: 135 of 270 degrees; left: 45; right: 225; up-left: 90.
    const struct {
        float x, y, value;
    } jumps[] = {{cx, 20, 50.0f},
                 {10, cy, 100.0f / 6.0f},
                 {54, cy, 500.0f / 6.0f},
                 {cx - 10, cy - 10, 100.0f / 3.0f}};
    for (const auto& k : jumps) {
        ASSERT_TRUE(afx_knob_press(&knob, k.x, k.y));
        EXPECT_NEAR(knob.value, k.value, 1e-3f) << k.x << "," << k.y;
    }
    // Below the centre, in the 90-degree gap: the press is taken, the value stays.
    for (float x : {cx, cx - 9.0f, cx + 9.0f}) {
        EXPECT_TRUE(afx_knob_press(&knob, x, 63));
        EXPECT_NEAR(knob.value, 100.0f / 3.0f, 1e-3f) << x;
    }
    // Within the dead radius of 6 pixels: no jump.
    EXPECT_TRUE(afx_knob_press(&knob, cx, cy - 6));
    EXPECT_NEAR(knob.value, 100.0f / 3.0f, 1e-3f);
    EXPECT_TRUE(afx_knob_in_dead_zone(&knob));
    EXPECT_TRUE(afx_knob_press(&knob, cx, cy - 7));
    EXPECT_NEAR(knob.value, 50.0f, 1e-3f);
    EXPECT_FALSE(afx_knob_in_dead_zone(&knob));
    afx_knob_set_dead_radius(&knob, 16.0f);
    EXPECT_TRUE(afx_knob_in_dead_zone(&knob));
}

TEST_F(KnobTest, OtherModesNeverJumpOnAPress) {
    for (uint32_t mode : {kAfxKnobRelative, kAfxKnobLinear, kAfxKnobDefault}) {
        afx_knob_set_mode(&knob, mode);
        afx_knob_set_value(&knob, 12);
        EXPECT_TRUE(afx_knob_press(&knob, 54, cy));
        EXPECT_EQ(knob.value, 12.0f) << mode;
        EXPECT_EQ(knob.pointer_x, 54.0f);
        EXPECT_EQ(knob.pointer_y, cy);
    }
}

TEST_F(KnobTest, LinearDragAddsOnePercentPerPixelUp) {
    afx_knob_set_smoothing(&knob, false);
    for (uint32_t mode : {kAfxKnobLinear, kAfxKnobDefault}) {
        afx_knob_set_mode(&knob, mode);
        afx_knob_set_value(&knob, 40);
        ASSERT_TRUE(afx_knob_press(&knob, 20, 30));
        afx_knob_drag(&knob, 5, 10);  // sideways travel does not count
        EXPECT_FLOAT_EQ(knob.value, 50.0f) << mode;
        afx_knob_drag(&knob, 0, -25);
        EXPECT_FLOAT_EQ(knob.value, 25.0f) << mode;
        EXPECT_EQ(knob.pointer_x, 25.0f);  // the real pointer position: up is -y
        EXPECT_EQ(knob.pointer_y, 45.0f);
    }
}

TEST_F(KnobTest, SmoothingEasesGrowingStepsAndRestartsOnAReversal) {
    afx_knob_set_mode(&knob, kAfxKnobLinear);
    ASSERT_TRUE(afx_knob_press(&knob, 20, 30));
    afx_knob_drag(&knob, 0, 10);
    EXPECT_NEAR(knob.value, 2.8f, 1e-5f);  // 0.28 x 10
    afx_knob_drag(&knob, 0, 10);
    EXPECT_NEAR(knob.value, 2.8f + 4.816f, 1e-4f);  // 2.8 + (10 - 2.8) x 0.28
    EXPECT_NEAR(knob.last_delta, 4.816f, 1e-5f);
    afx_knob_drag(&knob, 0, 3);  // smaller than the last step: taken as it is
    EXPECT_NEAR(knob.value, 10.616f, 1e-4f);
    // A zero delta changes nothing, not even the memory.
    afx_knob_drag(&knob, 4, 0);
    EXPECT_NEAR(knob.value, 10.616f, 1e-4f);
    EXPECT_NEAR(knob.last_delta, 3.0f, 1e-6f);
    // Reversal: damped from rest again.
    afx_knob_drag(&knob, 0, -10);
    EXPECT_NEAR(knob.value, 10.616f - 2.8f, 1e-4f);
    EXPECT_NEAR(knob.last_delta, -2.8f, 1e-5f);
    // A new press forgets the last step.
    ASSERT_TRUE(afx_knob_press(&knob, 20, 30));
    EXPECT_EQ(knob.last_delta, 0.0f);
}

TEST_F(KnobTest, TurningAroundTheCentreAddsADegreeAPercentSlowerInside) {
    afx_knob_set_smoothing(&knob, false);
    for (uint32_t mode : {kAfxKnobCircular, kAfxKnobRelative}) {
        afx_knob_set_mode(&knob, mode);
        // Clockwise quarter turns from the right edge to the bottom edge: at
        // the radius, at half of it (half as much), ending beyond it (a full
        // quarter, no more); then counter-clockwise, back down.
        const struct {
            float from, px, py, qx, qy, to;
        } turns[] = {{5, 54, cy, cx, 64, 95},
                     {5, 43, cy, cx, 53, 50},
                     {5, 54, cy, cx, cy + 40, 95},
                     {95, cx, 64, 54, cy, 5}};
        for (const auto& k : turns) {
            turn(k.from, k.px, k.py, k.qx, k.qy);
            EXPECT_NEAR(knob.value, k.to, 1e-3f)
                << "mode " << mode << " to (" << k.qx << ", " << k.qy << ")";
        }
    }
}

TEST_F(KnobTest, ATurnAcrossTheLeftSideIsSmallNotAFullCircle) {
    afx_knob_set_smoothing(&knob, false);
    afx_knob_set_mode(&knob, kAfxKnobRelative);
    // From just below to just above the left end of the horizontal axis:
    // clockwise on the screen by about 10 degrees.
    const float r = 20.0f, a = 5.0f * 3.14159265f / 180.0f;
    turn(50, cx - r * std::cos(a), cy + r * std::sin(a), cx - r * std::cos(a),
         cy - r * std::sin(a));
    EXPECT_NEAR(knob.value, 50.0f + 10.0f * r / 22.0f, 1e-2f);
}

TEST_F(KnobTest, TheValueNeverLeavesZeroToHundred) {
    afx_knob_set_smoothing(&knob, false);
    afx_knob_set_mode(&knob, kAfxKnobLinear);
    afx_knob_set_value(&knob, 150);
    EXPECT_EQ(afx_knob_get_value(&knob), 100.0f);
    afx_knob_set_value(&knob, -3);
    EXPECT_EQ(afx_knob_get_value(&knob), 0.0f);
    ASSERT_TRUE(afx_knob_press(&knob, 20, 30));
    afx_knob_drag(&knob, 0, 500);
    EXPECT_EQ(knob.value, 100.0f);
    afx_knob_drag(&knob, 0, -1000);
    EXPECT_EQ(knob.value, 0.0f);
    afx_knob_set_mode(&knob, kAfxKnobRelative);
    for (int i = 0; i < 20; ++i) afx_knob_drag(&knob, 7, 3);
    EXPECT_GE(knob.value, 0.0f);
    EXPECT_LE(knob.value, 100.0f);
    knob.value = 250.0f;  // a value forced from outside is clamped by the next press
    ASSERT_TRUE(afx_knob_press(&knob, 20, 30));
    EXPECT_EQ(knob.value, 100.0f);
}

TEST_F(KnobTest, WheelNotchesSnapToAGridOfFortyNine) {
    afx_knob_step(&knob, 1);
    afx_knob_step(&knob, 1);
    afx_knob_step(&knob, 1);
    EXPECT_FLOAT_EQ(knob.value, 6.25f);  // 3 / 48
    // 10 is 4.8 steps: up snaps to 5 and adds one, down to 5 less one.
    const struct {
        float from;
        int32_t notches;
        float to;
    } cases[] = {{10, 1, 12.5f},
                 {10, -1, 400.0f / 48.0f},
                 {0, -1, 0.0f},
                 {99.5f, 1, 100.0f},
                 {100, 5, 100.0f}};
    for (const auto& k : cases) {
        afx_knob_set_value(&knob, k.from);
        afx_knob_step(&knob, k.notches);
        EXPECT_FLOAT_EQ(knob.value, k.to) << k.from << " " << k.notches;
    }
}

TEST_F(KnobTest, TheDetentHoldsStrictlyWithinTwoOfANonZeroDefault) {
    EXPECT_FALSE(afx_knob_at_default(&knob));  // default 0: none
    afx_knob_set_default(&knob, 50);
    for (float v : {48.01f, 50.0f, 51.99f, 48.0f, 52.0f, 0.0f, 100.0f}) {
        afx_knob_set_value(&knob, v);
        EXPECT_EQ(afx_knob_at_default(&knob), v > 48.0f && v < 52.0f) << v;
    }
}

// ---- Drawing ----------------------------------------------------------------

// A channel after full-coverage layers (alpha 255 pens: 254 effective) over a start.
int32_t layers(int32_t start, std::initializer_list<int32_t> colours) {
    for (int32_t c : colours) start = referenceBlend(start, c, 254);
    return start;
}
// The cap's grey over the canvas grey 40: outer ring 22, inner ring 80 at alpha 64, cap 96.
int32_t capGrey() { return layers(referenceBlend(layers(40, {22}), 80, 63), {96}); }

class KnobDrawTest : public KnobTest {
protected:
    void SetUp() override {
        KnobTest::SetUp();
        afx_knob_set_arc_colour(&knob, 253, 125, 43);
    }
    // Pixel at angle degrees (0 down, clockwise) and distance from the centre.
    uint32_t around(const Canvas& c, float degrees, float distance) {
        const float t = degrees * 3.14159265f / 180.0f;
        return c.at(int32_t(std::lround(cx - distance * std::sin(t))),
                    int32_t(std::lround(cy + distance * std::cos(t))));
    }
};

TEST_F(KnobDrawTest, DrawingStaysInsideTheDirtyRectangle) {
    const Box dirty = boxOf(afx_knob_dirty_rect, &knob);
    EXPECT_EQ(dirty, (Box{8, 18, 48, 48}));
    Canvas c(80, 90, 40, 40, 40);
    afx_knob_set_shadow(&knob, true);
    afx_knob_set_value(&knob, 100);
    afx_knob_draw(&knob, c.pixbuf);
    EXPECT_GT(c.countNot(rgba(40, 40, 40)), 1400);  // about the disc of radius 23.4
    // The outer ring reaches the column left of the box, not the one before.
    EXPECT_NE(c.at(9, 42), rgba(40, 40, 40));
    EXPECT_EQ(c.at(8, 42), rgba(40, 40, 40));
    afx_pixbuf_fill_rect(nullptr, c.pixbuf, dirty.x, dirty.y, dirty.w, dirty.h, 40, 40, 40);
    EXPECT_EQ(c.countNot(rgba(40, 40, 40)), 0);  // nothing outside the rectangle
}

TEST_F(KnobDrawTest, IndicatorAndPointerFollowTheValue) {
    // Indicator half-width 9.26 degrees; its centre runs from 55.26 at 0 to 304.74 at 100.
    const struct {
        float value, degrees;
    } cases[] = {{0, 55.26f}, {50, 180.0f}, {100, 304.74f}, {25, 117.63f}};
    for (const auto& k : cases) {
        Canvas c(80, 90, 40, 40, 40);
        afx_knob_set_value(&knob, k.value);
        afx_knob_draw(&knob, c.pixbuf);
        // Mid-band: outer ring, track and indicator over the canvas.
        const uint32_t arc =
            rgba(layers(40, {22, 64, 253}), layers(40, {22, 64, 125}), layers(40, {22, 64, 43}));
        const uint32_t track =
            rgba(layers(40, {22, 64}), layers(40, {22, 64}), layers(40, {22, 64}));
        EXPECT_EQ(around(c, k.degrees, 19.25f), arc) << k.value;
        // The track either side of the indicator, where the track runs on.
        if (k.degrees + 14 < 315) {
            EXPECT_EQ(around(c, k.degrees + 14, 19.25f), track) << k.value;
        }
        if (k.degrees - 14 > 45) {
            EXPECT_EQ(around(c, k.degrees - 14, 19.25f), track) << k.value;
        }
        // The pointer, from 0.3 to 0.75 of the cap radius (12.1) in the same direction.
        const uint32_t pointer = uint32_t(layers(capGrey(), {224}));
        EXPECT_EQ(around(c, k.degrees, 6.5f), rgba(pointer, pointer, pointer)) << k.value;
        const uint32_t cap = uint32_t(capGrey());
        EXPECT_EQ(around(c, k.degrees + 180, 6.5f), rgba(cap, cap, cap)) << k.value;
    }
}

TEST_F(KnobDrawTest, ValuesInsideTheDetentDrawExactlyAtTheDefault) {
    afx_knob_set_default(&knob, 50);
    Canvas at50(80, 90, 40, 40, 40);
    afx_knob_set_value(&knob, 50);
    afx_knob_draw(&knob, at50.pixbuf);
    for (float v : {48.01f, 49.0f, 51.99f, 47.99f, 52.0f}) {
        Canvas c(80, 90, 40, 40, 40);
        afx_knob_set_value(&knob, v);
        afx_knob_draw(&knob, c.pixbuf);
        EXPECT_EQ(samePixels(c, at50), v > 48.0f && v < 52.0f) << v;
    }
}

TEST_F(KnobDrawTest, TheShadowIsACapSizedDiscThreePixelsLower) {
    Canvas plain(80, 90, 40, 40, 40), shaded(80, 90, 40, 40, 40);
    afx_knob_set_value(&knob, 50);
    afx_knob_draw(&knob, plain.pixbuf);
    afx_knob_set_shadow(&knob, true);
    afx_knob_draw(&knob, shaded.pixbuf);
    const int32_t x = 32, y = 42;  // the centre
    // Low on the cap: black at alpha 32 over the cap grey.
    EXPECT_EQ(int32_t(plain.red(x, y + 10)), capGrey());
    EXPECT_EQ(int32_t(shaded.red(x, y + 10)), referenceBlend(capGrey(), 0, 255 * 32 / 256));
    // Below the cap (radius 12.1) the shadow still reaches to 3 + 12.1 + 0.5;
    // high on the cap, past that reach and beside the cap it leaves nothing.
    EXPECT_LT(shaded.red(x, y + 14), plain.red(x, y + 14));
    for (auto [px, py] : {std::pair{x, y - 10}, {x, y + 16}, {x - 14, y}})
        EXPECT_EQ(plain.at(px, py), shaded.at(px, py)) << px << "," << py;
}

TEST_F(KnobDrawTest, RestoreCopiesTheBackgroundOrFillsTheBoxWithTheColour) {
    Canvas picture(80, 90);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 80; ++x)
            afx_pixbuf_set_pixel(nullptr, picture.pixbuf, x, y, x, y, 7, 255);
    Canvas c(80, 90, 200, 0, 0);
    afx_knob_set_background(&knob, picture.pixbuf);  // the picture covers the dirty rectangle
    afx_knob_restore(&knob, c.pixbuf);
    EXPECT_EQ(
        firstMiss(c,
                  [](int32_t x, int32_t y) {
                      return Box{8, 18, 48, 48}.contains(x, y) ? rgba(x, y, 7) : rgba(200, 0, 0);
                  }),
        "");
    Canvas d(80, 90, 200, 0, 0);
    afx_knob_set_background(&knob, nullptr);
    afx_knob_set_background_colour(&knob, 40, 41, 42);
    afx_knob_restore(&knob, d.pixbuf);  // the colour fills (x, y, 2r + 2, 2r + 2)
    EXPECT_EQ(firstMiss(d, boxed({10, 20, 46, 46}, rgba(40, 41, 42), rgba(200, 0, 0))), "");
}

TEST_F(KnobDrawTest, RedrawErasesTheOldIndicator) {
    Canvas picture(80, 90, 40, 40, 40);
    afx_knob_set_background(&knob, picture.pixbuf);
    Canvas fresh(80, 90, 40, 40, 40), c(80, 90, 40, 40, 40);
    afx_knob_set_value(&knob, 10);
    EXPECT_TRUE(afx_knob_redraw(&knob, c.pixbuf));
    afx_knob_set_value(&knob, 90);
    EXPECT_TRUE(afx_knob_redraw(&knob, c.pixbuf));
    afx_knob_draw(&knob, fresh.pixbuf);
    EXPECT_TRUE(samePixels(c, fresh));
}

TEST_F(KnobDrawTest, AKnobAtTheCanvasCornerIsClipped) {
    afx_knob_set_x(&knob, 0);
    afx_knob_set_y(&knob, 0);
    afx_knob_set_background_colour(&knob, 40, 40, 40);
    Canvas c(60, 60, 1, 2, 3);
    afx_knob_redraw(&knob, c.pixbuf);         // dirty rectangle starts at (-2, -2)
    EXPECT_EQ(c.at(0, 5), rgba(40, 40, 40));  // restored; the pen never writes the first column
    EXPECT_EQ(c.at(46, 22), rgba(1, 2, 3));   // beyond the fill (x, y, 2r + 2, 2r + 2) and the ring
    EXPECT_NE(c.at(45, 22), rgba(40, 40, 40));
    EXPECT_NE(c.at(22, 1), rgba(40, 40, 40));
}

}  // namespace
