// The dialog host: its window on every screen, what it repaints, how it closes,
// the one host the editors share, and the About box's web address.
#include <thread>
#include <tuple>
#include <utility>

#include "afx/afx_text.h"
#include "afx/afx_window.h"
#include "dialog_test_support.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXManager.h"

namespace {

using MBXHostWindow = DialogTest;

TEST_F(MBXHostWindow, AFramelessTitledWindowSizedByTheScreenCentredInTheWorkArea) {
    // Landscape: 640 x 480 times 1 + (lines - 720) / 1440 (lines up to 1080) times dpi / 96;
    // else min(dpi / 96, work width / 640, height / 480). Desktop, dpi, work area: window.
    const int32_t cases[][7] = {
        {1920, 1080, 96, 1920, 1040, 800, 600},   {1600, 900, 96, 1600, 900, 720, 540},
        {3840, 2160, 96, 3840, 2160, 800, 600},   {1280, 720, 144, 1280, 720, 960, 720},
        {1920, 1080, 120, 1920, 1080, 1000, 750}, {1080, 1920, 192, 1080, 1920, 1080, 810},
        {1024, 1024, 144, 1024, 1024, 960, 720},  {1024, 1024, 192, 1024, 1024, 1024, 768},
        {900, 1600, 144, 900, 1600, 900, 675},    {1080, 1920, 192, 1020, 1920, 1020, 765},
        {600, 1024, 96, 600, 1024, 600, 450},     {480, 800, 96, 480, 800, 480, 360},
    };
    for (const auto& c : cases) {
        restartToolkit(c[0], c[1], c[2]);
        afx_headless_set_work_area(0, 0, c[3], c[4]);
        openAbout();
        const afx_headless_window* w = window();
        EXPECT_EQ((std::tuple{w->width, w->height, w->x, w->y, w->title, w->class_name, w->icon,
                              w->parent, w->visible}),
                  (std::tuple{c[5], c[6], (c[3] - c[5]) / 2, (c[4] - c[6]) / 2,
                              "KORVEX52 VST Plug-In", "27D706069AC8-SPLASH", 260, nullptr, true}))
            << c[0] << " x " << c[1] << " at " << c[2];
    }
    EXPECT_EQ(ctx->windows[host->window()].track_all_moves, 1);  // moves without a button held
}

TEST_F(MBXHostWindow, RepaintsWhatChanged) {
    openAbout();
    // A press on empty page repaints the page; on Ok only Ok's box grown by 4 + 1, times 1.25.
    for (const auto& [at, box] : {std::pair{kEmpty, afx_headless_rect{0, 0, 800, 600}},
                                  std::pair{kOk, afx_headless_rect{334, 369, 133, 53}}}) {
        window()->invalidations.clear();
        play({press(at)});
        ASSERT_EQ(window()->invalidations.size(), 1u);
        const afx_headless_rect r = window()->invalidations[0];
        EXPECT_EQ((std::tuple{r.x, r.y, r.width, r.height}),
                  (std::tuple{box.x, box.y, box.width, box.height}));
        play({release(kBeside)});
        afx_headless_paint(native);
    }
}

TEST_F(MBXHostWindow, ClosesOnceFromAnySideTakingFocusCaptureAndTheHandAlong) {
    openAbout();
    const int32_t windows = afx_headless_window_count();
    host->openAbout();  // while showing: nothing changes
    EXPECT_EQ(afx_headless_window_count(), windows);
    EXPECT_EQ(host->dialogs()->dialogCount(), 1);
    window()->invalidations.clear();  // the hand over the address changes no pixel
    play({moveTo(kLink)});
    EXPECT_TRUE(window()->invalidations.empty());
    // Closed from outside, by Escape, or from the editor: each time anew.
    for (int side = 0; side < 3; ++side) {
        const int32_t slot = host->window();
        play({press(kEmpty), moveTo(kLink)});
        ASSERT_EQ(afx_headless_cursor(), AFXP_CURSOR_HAND);
        EXPECT_EQ(afx_headless_capture_window(), native);
        EXPECT_EQ(afx_headless_focus_window(), native);
        if (side == 0) afx_headless_close(native);
        else if (side == 1) play({keyDown(27), keyUp(27)});
        else host->close();
        EXPECT_TRUE(closed()) << side;
        EXPECT_EQ(ctx->windows[slot].in_use, 0);
        EXPECT_EQ(host->dialogs()->dialogCount(), 0);
        EXPECT_EQ(afx_headless_focus_window(), nullptr);
        EXPECT_EQ(afx_headless_capture_window(), nullptr);
        EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
        void* first = native;
        openAbout();
        EXPECT_NE(native, first);
    }
    host->close();
    host->close();                      // harmless twice
    afx_headless_fail_next_windows(1);  // no window: the host stays closed
    host->openAbout();
    EXPECT_FALSE(host->isShowing());
    openAbout();
}

TEST_F(MBXHostWindow, TheAboutBoxIsDialog131WithItsHotSpotOnTheCentredAddressLine) {
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

using MBXHostSharing = DialogTest;

TEST_F(MBXHostSharing, EditorsShareOneHostAndTheLastReleaseClosesAndFreesIt) {
    MBXHost* second = MBXHost::acquire();
    EXPECT_EQ(second, host);
    openAbout();
    host->release();  // the fixture's, as the first editor's: the window stays
    host = nullptr;
    EXPECT_EQ(MBXHost::current(), second);
    EXPECT_FALSE(afx_headless_find(native)->destroyed);
    second->release();
    EXPECT_EQ(MBXHost::current(), nullptr);
    EXPECT_TRUE(afx_headless_find(native)->destroyed);
    // Two editors made on two threads at once share one fresh host.
    MBXHost* got[2] = {};
    std::thread other([&] { got[1] = MBXHost::acquire(); });
    got[0] = MBXHost::acquire();
    other.join();
    ASSERT_NE(got[0], nullptr);
    EXPECT_EQ(got[1], got[0]);
    got[0]->release();
    got[1]->release();
    EXPECT_EQ(MBXHost::current(), nullptr);
}

}  // namespace
