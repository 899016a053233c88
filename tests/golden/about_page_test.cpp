// The About box as its window shows it on a 1920 x 1080 desktop at 96 dpi:
// the 640 x 480 page drawn by the dialogs and scaled to 800 x 600.
#include "afx/afx_window.h"
#include "dialogs/MBXHost.h"
#include "golden_fixture.h"

void* golden_about_resources_module();

namespace {

using AboutPage = GoldenFixture;

TEST_F(AboutPage, WindowMatchesTheReviewedPicture) {
    afx_headless_reset();
    useResources(golden_about_resources_module());
    afx_context* ctx = afx_context_get(true);
    ASSERT_NE(ctx, nullptr);
    afx_set_class_base(ctx, "27D706069AC8");
    MBXHost* host = MBXHost::acquire();
    ASSERT_NE(host, nullptr);
    host->openAbout();
    void* window = afx_window_handle(ctx, host->window());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(afx_headless_paint(window));

    const GoldenPicture picture = golden_window_picture(window);
    EXPECT_EQ(picture.width, 800);
    EXPECT_EQ(picture.height, 600);
    EXPECT_TRUE(golden_match("about-page", picture));

    host->release();
    afx_destroy_all(ctx);
    afx_context_release(ctx);
    afx_context_free(ctx);
}

}  // namespace
