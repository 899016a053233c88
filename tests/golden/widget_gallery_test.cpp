// The widget gallery against its reviewed image.
#include "afx/afx_pixbuf.h"
#include "golden_fixture.h"
#include "widget_gallery.h"

void* golden_widgets_resources_module();

namespace {

class WidgetGallery : public GoldenFixture {
protected:
    void SetUp() override {
        useResources(golden_widgets_resources_module());
        sheet = render_widget_gallery();
        ASSERT_NE(sheet, nullptr);
    }
    void TearDown() override {
        afx_pixbuf_free(nullptr, sheet);
        GoldenFixture::TearDown();
    }
    afx_pixbuf* sheet = nullptr;
};

TEST_F(WidgetGallery, MatchesTheReviewedGallery) {
    EXPECT_EQ(sheet->width, uint32_t(kGalleryWidth));
    EXPECT_EQ(sheet->height, uint32_t(kGalleryHeight));
#ifdef KORVEX_ASSET_PREVIEW_DIR
    EXPECT_TRUE(
        golden_write_png(KORVEX_ASSET_PREVIEW_DIR "/widget-gallery.png", golden_picture(sheet)));
#endif
    EXPECT_TRUE(golden_match("widget-gallery", sheet));
}

}  // namespace
