// The About box: its web address drawn in amber, centred, where its hot
// spot is, and the hand cursor over the address only, put back when the box
// closes.
#include <algorithm>

#include "afx/afx_pixbuf.h"
#include "afx/afx_text.h"
#include "dialog_test_support.h"
#include "real_pointer_walk.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXManager.h"

namespace {

using MBXAboutBox = DialogTest;

TEST_F(MBXAboutBox, IsDialog131WithTheAddressCentredInAmberUnderItsHotSpot) {
    openAbout();
    EXPECT_EQ(host->dialogs()->top()->id(), 131);
    // The box around the amber pixels of the page (the link's colour is
    // 255, 183, 0: red well above green, no blue), below the close button.
    const afx_pixbuf* page = host->dialogs()->pageSurface();
    int32_t left = 640, right = -1, top = 480, bottom = -1;
    for (int32_t y = 30; y < 480; ++y) {
        for (int32_t x = 0; x < 640; ++x) {
            const uint32_t p = afx_pixbuf_pixel(page, x, y);
            const int32_t r = p & 255, g = p >> 8 & 255, b = p >> 16 & 255;
            if (r < 16 || b * 4 > r || g * 3 < r || g >= r) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    // The address at 12 px, measured with a text state of its own.
    afx_text t;
    afx_text_init(&t);
    afx_text_set_size(&t, 12.0f);
    const float width = afx_text_width(&t, "https://corvane.example/korvex52");
    afx_text_release(&t);
    EXPECT_NEAR((left + right + 1) / 2.0f, 320.0f, 2.0f);
    EXPECT_NEAR(float(right + 1 - left), width, 3.0f);
    // The hot spot is the address's line, 16 px high, as wide as the text.
    const auto& h = static_cast<const MBXAboutMessage*>(host->dialogs()->top())->link();
    EXPECT_EQ(h.x, int32_t((640.0f - width) / 2.0f));
    EXPECT_EQ(h.width, int32_t(width));
    EXPECT_EQ(h.height, 16);
    EXPECT_LE(h.y, top);
    EXPECT_GE(h.y + h.height, bottom);
}

TEST_F(MBXAboutBox, TheHandShowsOverTheAddressOnlyAndGoesWithTheBox) {
    openAbout();
    // The same walk as in the real windows, on the in-memory screen.
    walkOverTheAddress(
        host, 0, 0,
        [&](int x, int y, LeftButton button) {
            afx_headless_move(native, x, y);
            if (button == LeftButton::Down) afx_headless_button_down(native, x, y, 0);
            if (button == LeftButton::Up) afx_headless_button_up(native, x, y, 0);
        },
        [] {
            const int32_t c = afx_headless_cursor();
            return c == AFXP_CURSOR_HAND    ? kHandCursor
                   : c == AFXP_CURSOR_ARROW ? kArrowCursor
                                            : kOtherCursor;
        });
    // A move over the address is no change of the page: nothing to repaint.
    window()->invalidations.clear();
    play({moveTo(kLink)});
    EXPECT_TRUE(window()->invalidations.empty());
    // Closed by the keys, or from the editor's side, while the hand shows.
    ASSERT_EQ(afx_headless_cursor(), AFXP_CURSOR_HAND);
    play({keyDown(27), keyUp(27)});
    EXPECT_TRUE(closed());
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
    openAbout();
    play({moveTo(kLink)});
    ASSERT_EQ(afx_headless_cursor(), AFXP_CURSOR_HAND);
    host->close();
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
}

}  // namespace
