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

TEST_F(TextBoxTest, ALongTextIsClippedToTheBoxInsideTheInsetShowingItsStartOrItsEnd) {
    const float wide = referenceWidth(kLong, 12.0f);
    for (uint32_t alignment : {0u, 2u}) {
        afx_text_box_set_alignment(&box, alignment);
        Canvas c(140, 40, 40, 40, 40), plain(140, 40, 40, 40, 40), reference(140, 40, 40, 40, 40);
        afx_text_box_set_caption(&box, kLong);
        afx_text_box_draw(&box, c.pixbuf);
        afx_text_box_set_caption(&box, nullptr);
        afx_text_box_draw(&box, plain.pixbuf);
        afx_text_box_draw(&box, reference.pixbuf);
        // The start after the inset, or the end at x + width - 4; ink only
        // strictly between the inset column and the right edge.
        referenceCaption(reference, kLong, 12.0f, alignment == 0 ? 24.0f : 116.0f - wide, 10, 20, 0,
                         0, 0);
        const auto clipped = [&](int32_t x, int32_t y) {
            return x > 24 && x < 120 ? reference.at(x, y) : plain.at(x, y);
        };
        EXPECT_EQ(firstMiss(c, clipped), "") << "alignment " << alignment;
        EXPECT_FALSE(samePixels(c, plain));
    }
}

TEST_F(TextBoxTest, HiddenDrawsAndRestoresNothing) {
    afx_text_box_set_caption(&box, "Ok");
    afx_text_box_set_hidden(&box, true);
    Canvas c(140, 40, 1, 2, 3);
    afx_text_box_redraw(&box, c.pixbuf);
    EXPECT_EQ(c.countNot(rgba(1, 2, 3)), 0);
    afx_text_box_set_hidden(&box, false);
    afx_text_box_redraw(&box, c.pixbuf);
    EXPECT_EQ(c.at(21, 11), rgba(referenceBlend(40, 250, 254), referenceBlend(40, 250, 254),
                                 referenceBlend(40, 250, 254)));
    EXPECT_EQ(c.at(121, 31), rgba(1, 2, 3));  // restore covers (x, y, width + 1, height + 1)
    EXPECT_TRUE(afx_text_box_hit(&box, 120, 30));
    EXPECT_FALSE(afx_text_box_hit(&box, 121, 30));
}

}  // namespace
