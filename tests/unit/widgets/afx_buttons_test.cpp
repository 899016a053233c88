// Push and toggle buttons: hit boxes, hiding and the dirty flag, dirty and
// restore rectangles, fills by state, the picture button's two frames, the
// toggle's border, and caption placement against a separately drawn caption.
#include <cstdio>
#include <cstring>

#include "afx/widgets/afx_push_button.h"
#include "afx/widgets/afx_toggle_button.h"
#include "widget_text_fixture.h"

namespace {

class PushButtonTest : public CaptionTest {
protected:
    void SetUp() override {
        CaptionTest::SetUp();
        afx_push_button_init(&button, nullptr);
        afx_widget_set_x(&button.widget, 10);
        afx_widget_set_y(&button.widget, 20);
        afx_push_button_set_width(&button, 40);
        afx_push_button_set_height(&button, 16);
        afx_push_button_set_fill(&button, 80, 80, 80);
        afx_push_button_set_hover_fill(&button, 100, 100, 100);
        afx_push_button_set_pressed_fill(&button, 200, 60, 30);
        afx_push_button_set_background_colour(&button, 40, 40, 40);
    }
    void TearDown() override {
        afx_push_button_release(&button);
        CaptionTest::TearDown();
    }
    afx_push_button button;
};

TEST_F(PushButtonTest, HitsItsBoxWithBothEndsButNeverWhileHidden) {
    // Both corners (right and bottom edges included), then one beyond each edge.
    const struct {
        float x, y;
        bool hit;
    } points[] = {{10, 20, true},  {50, 36, true}, {51, 30, false},
                  {30, 37, false}, {9, 30, false}, {30, 19, false}};
    for (const auto& k : points)
        EXPECT_EQ(afx_push_button_hit(&button, k.x, k.y), k.hit) << k.x << "," << k.y;
    afx_push_button_set_hidden(&button, true);
    EXPECT_FALSE(afx_push_button_hit(&button, 30, 28));
}

TEST_F(PushButtonTest, SizeSettersMakeTheFontHalfTheSmallerSide) {
    EXPECT_EQ(button.font_size, 8.0f);
    afx_push_button_set_height(&button, 100);
    EXPECT_EQ(button.font_size, 20.0f);
    afx_push_button_set_font_size(&button, 13.5f);
    EXPECT_EQ(button.font_size, 13.5f);
    EXPECT_EQ(button.widget.radius, 1u);  // corner radius after initialisation
}

TEST_F(PushButtonTest, DirtyRectangleGrowsByTheCornerRadiusAndStopsAtZero) {
    afx_widget_set_radius(&button.widget, 3);
    // From x - r - 1 to x + width + r + 1, the same down.
    EXPECT_EQ(boxOf(afx_push_button_dirty_rect, &button), (Box{6, 16, 48, 24}));
    afx_widget_set_x(&button.widget, 2);
    afx_widget_set_y(&button.widget, 0);
    EXPECT_EQ(boxOf(afx_push_button_dirty_rect, &button), (Box{0, 0, 46, 20}));
}

TEST_F(PushButtonTest, FillFollowsPressedThenHoverThenNormal) {
    const struct {
        bool pressed, hover;
        uint32_t expected;
    } cases[] = {{false, false, 80}, {false, true, 100}, {true, true, 200}, {true, false, 200}};
    for (const auto& k : cases) {
        Canvas c(70, 50, 40, 40, 40);
        afx_push_button_set_pressed(&button, k.pressed);
        afx_push_button_set_hover(&button, k.hover);
        afx_push_button_draw(&button, c.pixbuf);
        EXPECT_EQ(int32_t(c.red(30, 28)), referenceBlend(40, int32_t(k.expected), 254))
            << k.pressed << k.hover;
    }
}

TEST_F(PushButtonTest, HidingErasesOnTheNextRedrawAndThenDrawsNothing) {
    Canvas c(70, 50, 40, 40, 40);
    afx_push_button_redraw(&button, c.pixbuf);
    EXPECT_NE(c.countNot(rgba(40, 40, 40)), 0);
    afx_push_button_set_hidden(&button, true);
    EXPECT_EQ(button.dirty, 1);
    afx_push_button_redraw(&button, c.pixbuf);
    EXPECT_EQ(c.countNot(rgba(40, 40, 40)), 0);  // erased, nothing drawn
    EXPECT_EQ(button.dirty, 0);
    // Hidden and clean: restore leaves whatever the owner put there.
    afx_pixbuf_fill_rect(nullptr, c.pixbuf, 12, 22, 5, 5, 9, 9, 9);
    afx_push_button_redraw(&button, c.pixbuf);
    EXPECT_EQ(c.at(14, 24), rgba(9, 9, 9));
    // Marking dirty while hidden is ignored; hiding again changes nothing.
    afx_push_button_set_dirty(&button, true);
    afx_push_button_set_hidden(&button, true);
    EXPECT_EQ(button.dirty, 0);
    // Showing marks dirty again and the next redraw draws it.
    afx_push_button_set_hidden(&button, false);
    EXPECT_EQ(button.dirty, 1);
    afx_push_button_redraw(&button, c.pixbuf);
    EXPECT_EQ(int32_t(c.red(14, 24)), referenceBlend(40, 80, 254));
}

TEST_F(PushButtonTest, RestoreCoversTheBoxAndOnePixelMore) {
    Canvas picture(70, 50, 1, 2, 3);
    Canvas c(70, 50, 200, 200, 200);
    afx_push_button_set_background(&button, picture.pixbuf);
    afx_push_button_restore(&button, c.pixbuf);
    EXPECT_EQ(firstMiss(c, boxed({10, 20, 41, 17}, rgba(1, 2, 3), rgba(200, 200, 200))), "");
    afx_push_button_set_background(&button, nullptr);
    Canvas d(70, 50, 200, 200, 200);
    afx_push_button_restore(&button, d.pixbuf);
    EXPECT_EQ(d.at(50, 36), rgba(40, 40, 40));
    EXPECT_EQ(d.at(51, 36), rgba(200, 200, 200));
}

TEST_F(PushButtonTest, APictureButtonShowsItsUpperHalfAndItsLowerHalfWhilePressed) {
    Canvas image(24, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 24; ++x)
            afx_pixbuf_set_pixel(nullptr, image.pixbuf, x, y, y < 24 ? 250 : 0, x * 10,
                                 y < 24 ? 0 : 250, 255);
    afx_push_button_set_image(&button, image.pixbuf);
    afx_push_button_set_width(&button, 24);
    afx_push_button_set_height(&button, 24);
    afx_push_button_set_caption(&button, "Ok");  // a picture button draws no caption
    for (bool pressed : {false, true}) {
        Canvas c(60, 60, 40, 40, 40);
        afx_push_button_set_pressed(&button, pressed);
        afx_push_button_draw(&button, c.pixbuf);
        EXPECT_EQ(firstMiss(c,
                            [&](int32_t x, int32_t y) {
                                if (!Box{10, 20, 24, 24}.contains(x, y)) return rgba(40, 40, 40);
                                return rgba(referenceBlend(40, pressed ? 0 : 250, 255),
                                            referenceBlend(40, (x - 10) * 10, 255),
                                            referenceBlend(40, pressed ? 250 : 0, 255));
                            }),
                  "")
            << "pressed " << pressed;
    }
}

TEST_F(PushButtonTest, CaptionSitsIndentedByTheFontSizeOrCentredInTheTextColourOfItsState) {
    afx_push_button_set_caption(&button, "Ok");
    afx_push_button_set_text_colour(&button, 240, 240, 240);
    afx_push_button_set_pressed_text_colour(&button, 10, 200, 10);
    const float size = 8.0f, w = referenceWidth("Ok", size);
    for (uint32_t alignment : {0u, 1u}) {
        for (bool pressed : {false, true}) {
            Canvas c(70, 50, 40, 40, 40), expected(70, 50, 40, 40, 40);
            afx_push_button_set_alignment(&button, alignment);
            afx_push_button_set_pressed(&button, pressed);
            afx_push_button_draw(&button, c.pixbuf);
            // The same box without caption, then the caption where it belongs.
            afx_push_button_set_caption(&button, nullptr);
            afx_push_button_draw(&button, expected.pixbuf);
            afx_push_button_set_caption(&button, "Ok");
            const float x = alignment == 0 ? 10.0f + size : 10.0f + (40.0f - std::trunc(w)) * 0.5f;
            referenceCaption(expected, "Ok", size, x, 20, 16, pressed ? 10 : 240,
                             pressed ? 200 : 240, pressed ? 10 : 240);
            EXPECT_TRUE(samePixels(c, expected))
                << "alignment " << alignment << " pressed " << pressed;
            EXPECT_EQ(button.caption_width, uint32_t(w));
        }
    }
}

TEST_F(PushButtonTest, CaptionIsAnOwnedCopy) {
    char text[8];
    std::snprintf(text, sizeof(text), "%s", "Close");
    afx_push_button_set_caption(&button, text);
    text[0] = 'X';
    ASSERT_NE(button.caption, nullptr);
    EXPECT_STREQ(button.caption, "Close");
    afx_push_button_set_caption(&button, nullptr);
    EXPECT_EQ(button.caption, nullptr);
}

// ---- Toggle button -----------------------------------------------------------

class ToggleButtonTest : public CaptionTest {
protected:
    void SetUp() override {
        CaptionTest::SetUp();
        afx_toggle_button_init(&button, nullptr);
        afx_widget_set_x(&button.widget, 48);
        afx_widget_set_y(&button.widget, 20);
        afx_toggle_button_set_width(&button, 48);
        afx_toggle_button_set_height(&button, 24);
        afx_widget_set_radius(&button.widget, 2);
        afx_toggle_button_set_fill(&button, 80, 80, 80);
        afx_toggle_button_set_on_fill(&button, 183, 30, 22);
        afx_toggle_button_set_hover_fill(&button, 110, 110, 110);
        afx_toggle_button_set_text_colour(&button, 240, 240, 240);
        afx_toggle_button_set_on_text_colour(&button, 250, 250, 0);
        afx_toggle_button_set_background_colour(&button, 40, 40, 40);
    }
    void TearDown() override {
        afx_toggle_button_release(&button);
        CaptionTest::TearDown();
    }
    afx_toggle_button button;
};

TEST_F(ToggleButtonTest, ABorderOneSixteenthOfTheSmallerSideFramesTheBox) {
    EXPECT_EQ(button.font_size, 12.0f);
    EXPECT_EQ(button.border.r, 22u);
    Canvas c(140, 70, 40, 40, 40);
    afx_toggle_button_draw(&button, c.pixbuf);
    // The border's box runs 1.5 pixels beyond the button's: the column and row
    // next to the box are full border, the ones after half (a box covers its
    // edges fully and fades over the next pixel), the next untouched. Sampled
    // mid-edge, clear of the corners.
    const int32_t border = referenceBlend(40, 22, 254), half = referenceShade(40, 22, 0.0);
    for (auto [x, y] : {std::pair{47, 32}, {97, 32}, {70, 19}, {70, 45}})
        EXPECT_EQ(int32_t(c.red(x, y)), border);
    for (auto [x, y] : {std::pair{46, 32}, {98, 32}, {70, 18}, {70, 46}})
        EXPECT_EQ(int32_t(c.red(x, y)), half);
    for (auto [x, y] : {std::pair{45, 32}, {99, 32}, {70, 17}, {70, 47}})
        EXPECT_EQ(c.red(x, y), 40u);
    EXPECT_EQ(int32_t(c.red(48, 32)), referenceBlend(border, 80, 254));  // the box's own edge: fill
    EXPECT_EQ(int32_t(c.red(96, 32)), referenceBlend(border, 80, 254));
}

TEST_F(ToggleButtonTest, FillFollowsOnThenHoverAndTheShadeIsInsetByTwo) {
    const struct {
        bool on, hover;
        uint32_t red;
    } cases[] = {{false, false, 80}, {false, true, 110}, {true, true, 183}};
    for (const auto& k : cases) {
        Canvas c(140, 70, 40, 40, 40);
        afx_toggle_button_set_on(&button, k.on);
        afx_toggle_button_set_hover(&button, k.hover);
        afx_toggle_button_draw(&button, c.pixbuf);
        const int32_t fill = referenceBlend(referenceBlend(40, 22, 254), int32_t(k.red), 254);
        EXPECT_EQ(int32_t(c.red(51, 22)), fill) << k.on << k.hover;
    }
    afx_toggle_button_set_highlight(&button, true);
    Canvas c(140, 70, 40, 40, 40);
    afx_toggle_button_draw(&button, c.pixbuf);
    const int32_t fill = referenceBlend(referenceBlend(40, 22, 254), 183, 254);
    const int32_t shaded = referenceBlend(fill, 0, 255 * 32 / 256);  // black at alpha 32
    EXPECT_EQ(int32_t(c.red(51, 23)), shaded);
    EXPECT_EQ(int32_t(c.red(49, 23)), fill);  // outside the inset
    EXPECT_EQ(int32_t(c.red(51, 21)), fill);
}

TEST_F(ToggleButtonTest, ToggleFlipsAndTheCaptionTakesTheColourOfTheState) {
    afx_toggle_button_toggle(&button);
    EXPECT_TRUE(afx_toggle_button_is_on(&button));
    afx_toggle_button_toggle(&button);
    EXPECT_FALSE(afx_toggle_button_is_on(&button));
    afx_toggle_button_set_caption(&button, "In");
    afx_toggle_button_set_alignment(&button, 1);
    const float w = referenceWidth("In", 12.0f);
    for (bool on : {false, true}) {
        Canvas c(140, 70, 40, 40, 40), expected(140, 70, 40, 40, 40);
        afx_toggle_button_set_on(&button, on);
        afx_toggle_button_draw(&button, c.pixbuf);
        afx_toggle_button_set_caption(&button, nullptr);
        afx_toggle_button_draw(&button, expected.pixbuf);
        afx_toggle_button_set_caption(&button, "In");
        referenceCaption(expected, "In", 12.0f, 48.0f + (48.0f - std::trunc(w)) * 0.5f, 20, 24,
                         on ? 250 : 240, on ? 250 : 240, on ? 0 : 240);
        EXPECT_TRUE(samePixels(c, expected)) << on;
    }
}

TEST_F(ToggleButtonTest, DirtyAndRestoreRectangles) {
    EXPECT_EQ(boxOf(afx_toggle_button_dirty_rect, &button),
              (Box{45, 17, 54, 30}));  // x - r - 1, w + 2r + 2
    EXPECT_TRUE(afx_toggle_button_hit(&button, 96, 44));
    EXPECT_FALSE(afx_toggle_button_hit(&button, 97, 44));
    afx_toggle_button_set_dirty(&button, true);
    Canvas c(140, 70, 200, 200, 200);
    afx_toggle_button_restore(&button, c.pixbuf);
    EXPECT_EQ(button.dirty, 0);
    // The box and one more pixel right and down.
    EXPECT_EQ(firstMiss(c, boxed({48, 20, 49, 25}, rgba(40, 40, 40), rgba(200, 200, 200))), "");
}

}  // namespace
