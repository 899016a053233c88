// The text box: the three alignments (the third keeps the end of a long text
// visible), clipping to the box, hiding, and the font size rule.
#include "afx/widgets/afx_text_box.h"
#include "widget_text_fixture.h"

namespace {

const char* const kLong = "C:/Sound/Reverb/Plates/Long Hall.wav";

class TextBoxTest : public CaptionTest {
protected:
    void SetUp() override {
        CaptionTest::SetUp();
        afx_text_box_init(&box, nullptr);
        afx_widget_set_x(&box.widget, 20);
        afx_widget_set_y(&box.widget, 10);
        afx_text_box_set_width(&box, 100);
        afx_text_box_set_height(&box, 20);
        afx_text_box_set_fill(&box, 250, 250, 250);
        afx_text_box_set_text_colour(&box, 0, 0, 0);
        afx_text_box_set_background_colour(&box, 40, 40, 40);
    }
    void TearDown() override {
        afx_text_box_release(&box);
        CaptionTest::TearDown();
    }
    // Draws the box and returns the columns where text ink lies.
    void inkColumns(const Canvas& c, int32_t* first, int32_t* last) {
        *first = 1000;
        *last = -1;
        const uint32_t paper = uint32_t(referenceBlend(40, 250, 254));
        for (int32_t y = 11; y < 30; ++y) {
            for (int32_t x = 0; x < int32_t(c.pixbuf->width); ++x) {
                if (c.red(x, y) >= paper || c.red(x, y) == 40u) continue;
                if (x < *first) *first = x;
                if (x > *last) *last = x;
            }
        }
    }
    afx_text_box box;
};

TEST_F(TextBoxTest, FontIsSixTenthsOfTheSmallerSide) {
    EXPECT_EQ(box.font_size, 12.0f);
    afx_text_box_set_height(&box, 200);
    EXPECT_FLOAT_EQ(box.font_size, 60.0f);
}

TEST_F(TextBoxTest, AlignmentsPlaceTheTextAfterTheInsetCentredOrWithItsEndInView) {
    const float w = referenceWidth("Ok", 12.0f);
    afx_text_box_set_alignment(&box, 0);
    EXPECT_EQ(afx_text_box_caption_x(&box, w), 24.0f);
    afx_text_box_set_alignment(&box, 1);
    EXPECT_EQ(afx_text_box_caption_x(&box, w), 20.0f + (100.0f - std::trunc(w)) / 2.0f);
    afx_text_box_set_alignment(&box, 2);
    EXPECT_EQ(afx_text_box_caption_x(&box, w), 24.0f);  // fits: like alignment 0
    const float wide = referenceWidth(kLong, 12.0f);
    ASSERT_GT(wide, 96.0f);
    // Too wide: the text ends at the box's right edge less the inset.
    EXPECT_FLOAT_EQ(afx_text_box_caption_x(&box, wide) + wide, 20.0f + 100.0f - 4.0f);
}

TEST_F(TextBoxTest, KeepEndVisibleShowsTheLastCharactersAndCutsTheStart) {
    afx_text_box_set_caption(&box, kLong);
    Canvas start(140, 40, 40, 40, 40), end(140, 40, 40, 40, 40);
    afx_text_box_draw(&box, start.pixbuf);
    afx_text_box_set_alignment(&box, 2);
    afx_text_box_draw(&box, end.pixbuf);
    int32_t first, last;
    inkColumns(end, &first, &last);
    EXPECT_GT(first, 24);   // clipped at the inset: the clip box's own column stays clear
    EXPECT_GE(last, 110);   // the end reaches near the right edge ("wav")
    EXPECT_LE(last, 116);
    // The visible end is what the same text shows when drawn to end at x + width - 4.
    const float wide = referenceWidth(kLong, 12.0f);
    Canvas reference(140, 40, 40, 40, 40);
    afx_text_box_set_caption(&box, nullptr);
    afx_text_box_draw(&box, reference.pixbuf);
    referenceCaption(reference, kLong, 12.0f, 116.0f - wide, 10, 20, 0, 0, 0);
    for (int y = 11; y < 30; ++y)
        for (int x = 60; x < 120; ++x) ASSERT_EQ(end.at(x, y), reference.at(x, y)) << x << "," << y;
    // Alignment 0 shows the start instead, cut at the right edge of the box.
    inkColumns(start, &first, &last);
    EXPECT_LE(first, 26);
    EXPECT_LE(last, 119);
}

TEST_F(TextBoxTest, HiddenDrawsAndRestoresNothing) {
    afx_text_box_set_caption(&box, "Ok");
    afx_text_box_set_hidden(&box, true);
    Canvas c(140, 40, 1, 2, 3);
    afx_text_box_redraw(&box, c.pixbuf);
    EXPECT_EQ(c.countNot(rgba(1, 2, 3)), 0);
    afx_text_box_set_hidden(&box, false);
    afx_text_box_redraw(&box, c.pixbuf);
    EXPECT_EQ(c.at(21, 11), rgba(referenceBlend(40, 250, 254), referenceBlend(40, 250, 254), referenceBlend(40, 250, 254)));
    EXPECT_EQ(c.at(121, 31), rgba(1, 2, 3));  // restore covers (x, y, width + 1, height + 1)
    EXPECT_TRUE(afx_text_box_hit(&box, 120, 30));
    EXPECT_FALSE(afx_text_box_hit(&box, 121, 30));
}

}  // namespace
