// The About box: where its web address is drawn, what a press on it does
// with each button and release position, and the hand cursor over it.
#include <string>
#include <vector>

#include "afx/afx_pixbuf.h"
#include "afx/afx_text.h"
#include "dialog_test_support.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXManager.h"

namespace {

const std::string kAddress = "https://corvane.example/korvex52";

class MBXAboutBox : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        host->openAbout();
        native = handle();
        findAmber();
    }

    // The box around the amber pixels of the page (the link's colour is
    // 255, 183, 0: red well above green, no blue), below the close button.
    void findAmber() {
        const afx_pixbuf* page = host->dialogs()->pageSurface();
        for (int32_t y = 30; y < 480; ++y) {
            for (int32_t x = 0; x < 640; ++x) {
                const uint32_t p = afx_pixbuf_pixel(page, x, y);
                const int32_t r = p & 255, g = p >> 8 & 255, b = p >> 16 & 255;
                if (r < 16 || b * 4 > r || g * 3 < r || g >= r) continue;
                amberLeft = std::min(amberLeft, x);
                amberRight = std::max(amberRight, x);
                amberTop = std::min(amberTop, y);
                amberBottom = std::max(amberBottom, y);
            }
        }
    }
    PagePoint linkCentre() const {
        return {(amberLeft + amberRight) / 2, (amberTop + amberBottom) / 2};
    }
    bool closed() const { return !host->isShowing() && afx_headless_find(native)->destroyed; }
    const MBXAboutMessage::HotSpot& hotSpot() const {
        return static_cast<const MBXAboutMessage*>(host->dialogs()->top())->link();
    }

    void* native = nullptr;
    int32_t amberLeft = 640, amberRight = -1, amberTop = 480, amberBottom = -1;
};

TEST_F(MBXAboutBox, IsDialog131WithTheAddressInAmberCentredUnderTheParagraph) {
    ASSERT_NE(host->dialogs()->top(), nullptr);
    EXPECT_EQ(host->dialogs()->top()->id(), 131);
    ASSERT_GE(amberRight, amberLeft) << "no amber text on the page";

    // Measured with a text state of its own: the address at 12 px, centred.
    afx_text t;
    afx_text_init(&t);
    afx_text_set_size(&t, 12.0f);
    const float width = afx_text_width(&t, kAddress.c_str());
    const float cap = afx_text_cap_height(&t);
    const float firstLine = afx_text_width(&t, "For more information about this or any of our");
    afx_text_release(&t);
    EXPECT_NEAR((amberLeft + amberRight + 1) / 2.0f, 320.0f, 2.0f);
    EXPECT_NEAR(float(amberRight + 1 - amberLeft), width, 3.0f);

    // Below the heading (pen at 64, then 18 down), five feeds of 16 and five
    // of 12 px reach 222; the paragraph's box starts a cap height above that
    // and its first baseline sits half way between cap height and its 16 px
    // line; its two lines (the first fits in 320 px) and two more feeds of
    // 16 px lead to the address's baseline.
    ASSERT_LT(firstLine, 320.0f);
    const float baseline = 222.0f - cap + (16.0f + cap) / 2.0f + 16.0f * 3.0f;
    EXPECT_NEAR(float(amberTop), baseline - cap, 2.0f);
    EXPECT_GT(float(amberBottom), baseline);  // the descenders of "p"

    // The hot spot is the address's line: from the cap height above the
    // baseline, a 16 px line high, as wide as the text.
    const MBXAboutMessage::HotSpot& h = hotSpot();
    EXPECT_EQ(h.x, int32_t((640.0f - width) / 2.0f));
    EXPECT_EQ(h.width, int32_t(width));
    EXPECT_EQ(h.height, 16);
    EXPECT_EQ(h.y, int32_t(baseline - cap));
    EXPECT_LE(h.x, amberLeft + 1);
    EXPECT_GE(h.x + h.width, amberRight - 1);
    EXPECT_GE(h.y + h.height, amberBottom);
}

TEST_F(MBXAboutBox, ALeftPressOnTheAddressOpensItWhereverItIsReleased) {
    const PagePoint releases[] = {kEmptyPlace, kOkCentre, kCloseCentre, {700, 620}};
    for (const PagePoint& at : releases) {
        restartToolkit(1920, 1080);
        host->openAbout();
        native = handle();
        press(linkCentre());
        EXPECT_TRUE(afx_headless_opened_urls().empty()) << "opened on the press";
        release(at);
        EXPECT_EQ(afx_headless_opened_urls(), std::vector<std::string>{kAddress})
            << "released at " << at.x;
        EXPECT_TRUE(closed()) << "released at " << at.x;
        EXPECT_EQ(host->dialogs()->lastResult(), MBXManager::kResultOpenLink);
    }
}

TEST_F(MBXAboutBox, ARightPressOnTheAddressDoesNothing) {
    press(linkCentre(), 1);
    release(linkCentre(), 1);
    press(linkCentre(), 1);
    release(kEmptyPlace, 1);
    EXPECT_TRUE(afx_headless_opened_urls().empty());
    EXPECT_TRUE(host->isShowing());
    EXPECT_FALSE(hotSpot().armed);
}

TEST_F(MBXAboutBox, APressElsewhereReleasedOnTheAddressDoesNotOpenIt) {
    press(kEmptyPlace);
    release(linkCentre());
    EXPECT_TRUE(afx_headless_opened_urls().empty());
    EXPECT_TRUE(host->isShowing());
}

TEST_F(MBXAboutBox, TheHandShowsOverTheAddressOnly) {
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
    // The window's arrow comes back before every move: the hand must be set
    // again at each one while the pointer stays over the address.
    for (int32_t step = 0; step < 3; ++step) {
        moveTo({linkCentre().x + 2 * step, linkCentre().y});
        EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_HAND) << "move " << step;
    }
    moveTo(kEmptyPlace);
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
    moveTo({amberLeft - 12, linkCentre().y});  // level with it, left of it
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
    // A move over the address is no change of the page: nothing to repaint.
    window()->invalidations.clear();
    moveTo(linkCentre());
    EXPECT_TRUE(window()->invalidations.empty());
    EXPECT_TRUE(host->isShowing());
}

TEST_F(MBXAboutBox, ClosingTheBoxPutsTheCursorBack) {
    moveTo(linkCentre());
    ASSERT_EQ(afx_headless_cursor(), AFXP_CURSOR_HAND);
    key(kKeyEscape, true);
    key(kKeyEscape, false);
    EXPECT_TRUE(closed());
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);

    // Closed from the editor's side while the hand shows.
    host->openAbout();
    moveTo(linkCentre());
    ASSERT_EQ(afx_headless_cursor(), AFXP_CURSOR_HAND);
    host->close();
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
}

TEST_F(MBXAboutBox, APressHeldFromOkOverTheAddressOpensNothingAndLeavesNoHandBehind) {
    press(kOkCentre);
    moveTo(linkCentre());
    moveTo({linkCentre().x + 2, linkCentre().y});
    // Held, the pointer is captured and keeps its cursor from move to move.
    moveTo(kEmptyPlace);
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
    moveTo(linkCentre());
    release(linkCentre());
    EXPECT_TRUE(host->isShowing());
    EXPECT_TRUE(afx_headless_opened_urls().empty());
}

}  // namespace
