// The message page's buttons and keys, as the About box shows them: the Ok
// button follows a held press on and off it, Enter and Escape end the page,
// the close button ends it, and the window closes with the last page.
#include "afx/afx_window.h"
#include "dialog_test_support.h"
#include "dialogs/MBXManager.h"

namespace {

// Fills of the Ok button: grey at rest, purple as the default button, light
// purple while highlighted. A fully covered pixel gets the colour at
// 254/256 strength, so each channel may read up to two less.
constexpr uint32_t kDefault[3] = {128, 0, 128};
constexpr uint32_t kHighlighted[3] = {183, 0, 183};

class MBXMessagePage : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        host->openAbout();
        native = handle();
        paint();
    }
    bool okShows(const uint32_t (&fill)[3]) {
        paint();
        return colourNear(shownAt(kOkFill), fill[0], fill[1], fill[2]);
    }
    bool windowClosed() const { return !host->isShowing() && afx_headless_find(native)->destroyed; }
    void* native = nullptr;
};

TEST_F(MBXMessagePage, OkIsTheDefaultButtonAndHighlightsWhilePressedOnIt) {
    EXPECT_TRUE(okShows(kDefault));
    press(kOkCentre);
    EXPECT_TRUE(okShows(kHighlighted));
    EXPECT_EQ(afx_headless_capture_window(), native);
}

TEST_F(MBXMessagePage, OkDraggedOffAndReleasedLeavesThePageOpen) {
    press(kOkCentre);
    moveTo(kBesideOk);
    EXPECT_TRUE(okShows(kDefault));
    release(kBesideOk);
    EXPECT_TRUE(host->isShowing());
    EXPECT_EQ(host->dialogs()->dialogCount(), 1);
    EXPECT_EQ(afx_headless_capture_window(), nullptr);
    // A later press and release on it still works.
    press(kOkCentre);
    release(kOkCentre);
    EXPECT_TRUE(windowClosed());
}

TEST_F(MBXMessagePage, OkDraggedOffAndBackAndReleasedClosesThePageAndTheWindow) {
    press(kOkCentre);
    moveTo(kBesideOk);
    moveTo({kOkCentre.x + 40, kOkCentre.y});  // back on, near its right edge
    EXPECT_TRUE(okShows(kHighlighted));
    release({kOkCentre.x + 40, kOkCentre.y});
    EXPECT_TRUE(windowClosed());
    EXPECT_EQ(host->dialogs()->dialogCount(), 0);
    EXPECT_EQ(host->dialogs()->lastResult(), MBXManager::kResultOk);
}

TEST_F(MBXMessagePage, OnlyTheLeftButtonPressesOk) {
    press(kOkCentre, 1);
    EXPECT_TRUE(okShows(kDefault));
    release(kOkCentre, 1);
    EXPECT_TRUE(host->isShowing());
}

TEST_F(MBXMessagePage, EnterHighlightsOkWhileHeldAndClosesOnRelease) {
    key(kKeyEnter, true);
    EXPECT_TRUE(okShows(kHighlighted));
    EXPECT_TRUE(host->isShowing());
    key(kKeyEnter, false);
    EXPECT_TRUE(windowClosed());
    EXPECT_EQ(host->dialogs()->lastResult(), MBXManager::kResultOk);
}

TEST_F(MBXMessagePage, EscapeClosesOnReleaseAndOtherKeysDoNothing) {
    key('A', true);
    key('A', false);
    key(kKeyEnter, false);  // an Enter released that was never pressed here
    EXPECT_TRUE(host->isShowing());
    key(kKeyEscape, true);
    EXPECT_TRUE(host->isShowing());
    key(kKeyEscape, false);
    EXPECT_TRUE(windowClosed());
}

TEST_F(MBXMessagePage, CloseButtonShowsItsSecondFrameWhilePressedAndCloses) {
    const uint32_t atRest = shownAt(kCloseCentre);
    press(kCloseCentre);
    paint();
    EXPECT_NE(shownAt(kCloseCentre), atRest);
    release(kCloseCentre);
    EXPECT_TRUE(windowClosed());
    EXPECT_EQ(host->dialogs()->lastResult(), MBXManager::kResultClosed);
}

}  // namespace
