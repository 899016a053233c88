// The About box as its window shows it on a 1920 x 1080 desktop at 96 dpi:
// the 640 x 480 page drawn by the dialogs and scaled to 800 x 600.
#include "afx/afx_window.h"
#include "dialogs/MBXHost.h"
#include "golden_fixture.h"
#include "tests/unit/dialogs/dialog_session.h"

void* golden_about_resources_module();

namespace {

using AboutPage = GoldenFixture;

TEST_F(AboutPage, WindowMatchesTheReviewedPicture) {
    afx_headless_reset();
    useResources(golden_about_resources_module());
    DialogSession session;
    ASSERT_TRUE(dialog_session_start(&session));
    session.host->openAbout();
    void* window = afx_window_handle(session.ctx, session.host->window());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(afx_headless_paint(window));

    const GoldenPicture picture = golden_window_picture(window);
    EXPECT_EQ(picture.width, 800);
    EXPECT_EQ(picture.height, 600);
    EXPECT_TRUE(golden_match("about-page", picture));
    dialog_session_end(&session);
}

}  // namespace
