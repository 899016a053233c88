// The About box: where its web address answers the pointer, and the hand
// cursor over the address only, put back when the box closes. Its look is
// pinned by the About page's golden image.
#include "afx/afx_text.h"
#include "dialog_test_support.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXManager.h"

namespace {

using MBXAboutBox = DialogTest;

TEST_F(MBXAboutBox, IsDialog131WithItsHotSpotOnTheCentredAddressLine) {
    openAbout();
    EXPECT_EQ(host->dialogs()->top()->id(), 131);
    afx_text t;  // the address at 12 px, measured with a text state of its own
    afx_text_init(&t);
    afx_text_set_size(&t, 12.0f);
    const float width = afx_text_width(&t, "https://corvane.example/korvex52");
    afx_text_release(&t);
    const auto& h = static_cast<const MBXAboutMessage*>(host->dialogs()->top())->link();
    EXPECT_EQ(h.x, int32_t((640.0f - width) / 2.0f));
    EXPECT_EQ(h.width, int32_t(width));
    EXPECT_EQ(h.height, 16);
}

TEST_F(MBXAboutBox, TheHandOverTheAddressRepaintsNothingAndGoesWithTheBox) {
    openAbout();
    window()->invalidations.clear();  // the hover changes no pixel: nothing to repaint
    play({moveTo(kLink)});
    EXPECT_TRUE(window()->invalidations.empty());
    for (bool byKey : {true, false}) {  // closed by Escape or from the editor's side
        ASSERT_EQ(afx_headless_cursor(), AFXP_CURSOR_HAND);
        if (byKey) play({keyDown(27), keyUp(27)});
        else host->close();
        EXPECT_TRUE(closed());
        EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
        openAbout();
        play({moveTo(kLink)});
    }
}

}  // namespace
