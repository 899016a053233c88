// The dialog host: its window's size, place and looks, the repaint path, the
// ways the window closes, and the shared reference-counted host.
#include <atomic>
#include <thread>
#include <vector>

#include "afx/afx_pixbuf.h"
#include "afx/afx_window.h"
#include "dialog_test_support.h"
#include "dialogs/MBXManager.h"

namespace {

using MBXHostWindow = DialogTest;

struct SizeCase {
    int32_t desktopWidth, desktopHeight, dpi;
    int32_t width, height;  // expected window size in device pixels
};

TEST_F(MBXHostWindow, SizeFollowsTheDesktopHeightAndTheScreenScale) {
    // Landscape: 640 x 480 times 1 + (lines - 720) / 360 / 4, lines capped
    // at 1080, times the screen scale (dpi / 96).
    const SizeCase cases[] = {
        {1920, 1080, 96, 800, 600},    // factor 1.25
        {1280, 720, 96, 640, 480},     // factor 1.0
        {1600, 900, 96, 720, 540},     // factor 1.125: the steps are not whole
        {3840, 2160, 96, 800, 600},    // larger desktops count as 1920 x 1080
        {1280, 720, 144, 960, 720},    // factor 1.0 at 150 %
        {1920, 1080, 120, 1000, 750},  // factor 1.25 at 125 %
    };
    for (const SizeCase& c : cases) {
        restartToolkit(c.desktopWidth, c.desktopHeight, c.dpi);
        host->openAbout();
        ASSERT_NE(window(), nullptr);
        EXPECT_EQ(window()->width, c.width)
            << c.desktopWidth << " x " << c.desktopHeight << " at " << c.dpi;
        EXPECT_EQ(window()->height, c.height)
            << c.desktopWidth << " x " << c.desktopHeight << " at " << c.dpi;
        EXPECT_EQ(host->width(), c.width);
        EXPECT_EQ(host->height(), c.height);
    }
}

TEST_F(MBXHostWindow, SquareAndPortraitScreensKeepThePageInTheWorkAreaAtEveryScale) {
    // The page at the screen scale (dpi / 96), shrunk only as far as the
    // work area needs: zoom = min(scale, work width / 640, work height / 480).
    struct FitCase {
        int32_t desktopWidth, desktopHeight, workWidth, dpi;
        int32_t width, height;
    };
    const FitCase cases[] = {
        {1080, 1920, 1080, 96, 640, 480},    // portrait at 100 %
        {1080, 1920, 1080, 144, 960, 720},   // 150 %
        {1080, 1920, 1080, 192, 1080, 810},  // 200 %: the width runs short
        {1024, 1024, 1024, 96, 640, 480},    // square at 100 %
        {1024, 1024, 1024, 144, 960, 720},   // 150 %
        {1024, 1024, 1024, 192, 1024, 768},  // 200 %
        {900, 1600, 900, 144, 900, 675},
        {1080, 1920, 1020, 192, 1020, 765},  // a task bar 60 pixels wide beside the work area
        {600, 1024, 600, 96, 600, 450},      // narrower than the page even at 100 %
        {480, 800, 480, 96, 480, 360},
    };
    for (const FitCase& c : cases) {
        restartToolkit(c.desktopWidth, c.desktopHeight, c.dpi);
        afx_headless_set_work_area(c.desktopWidth - c.workWidth, 0, c.desktopWidth,
                                   c.desktopHeight);
        host->openAbout();
        ASSERT_NE(window(), nullptr);
        EXPECT_EQ(window()->width, c.width)
            << c.desktopWidth << " x " << c.desktopHeight << " at " << c.dpi;
        EXPECT_EQ(window()->height, c.height)
            << c.desktopWidth << " x " << c.desktopHeight << " at " << c.dpi;
        EXPECT_LE(window()->width, c.workWidth);
        EXPECT_LE(window()->height, c.desktopHeight);
    }
}

TEST_F(MBXHostWindow, IsAFramelessTitledWindowCentredInTheWorkArea) {
    afx_headless_set_work_area(0, 0, 1920, 1040);  // a task bar along the bottom
    host->openAbout();
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(window()->class_name, "27D706069AC8-SPLASH");
    EXPECT_EQ(window()->parent, nullptr);
    EXPECT_EQ(window()->x, (1920 - 800) / 2);
    EXPECT_EQ(window()->y, (1040 - 600) / 2);
    EXPECT_EQ(window()->title, "KORVEX52 VST Plug-In");
    EXPECT_EQ(window()->icon, 260);
    EXPECT_TRUE(window()->visible);
    EXPECT_TRUE(host->isShowing());
    // Moves arrive without a button held, for the link's hand cursor.
    EXPECT_EQ(ctx->windows[host->window()].track_all_moves, 1);
}

TEST_F(MBXHostWindow, PaintShowsThePageScaledByTheZoom) {
    restartToolkit(1280, 720);
    host->openAbout();
    ASSERT_TRUE(afx_headless_paint(handle()));
    // At zoom 1.0 the window shows the page pixel for pixel.
    const afx_pixbuf* page = host->dialogs()->pageSurface();
    int32_t differing = 0;
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 0; x < 640; ++x) {
            const uint32_t p = afx_pixbuf_pixel(page, x, y);
            const uint32_t rgb = (p & 255u) << 16 | (p >> 8 & 255u) << 8 | (p >> 16 & 255u);
            differing += afx_headless_pixel(handle(), x, y) != rgb;
        }
    }
    EXPECT_EQ(differing, 0);
    // The background dots, 72 grey darkened to three quarters, every 16 pixels.
    EXPECT_EQ(afx_headless_pixel(handle(), 40, 200), 0x363636u);
    EXPECT_EQ(afx_headless_pixel(handle(), 41, 200), 0x000000u);
}

TEST_F(MBXHostWindow, RefreshInvalidatesTheChangedButtonScaledToTheWindow) {
    host->openAbout();
    // A press on empty page refreshes what the first draw left: the whole page.
    press(kEmptyPlace);
    release(kEmptyPlace);
    ASSERT_FALSE(window()->invalidations.empty());
    const afx_headless_rect whole = window()->invalidations.back();
    EXPECT_EQ(whole.x, 0);
    EXPECT_EQ(whole.y, 0);
    EXPECT_EQ(whole.width, 800);
    EXPECT_EQ(whole.height, 600);
    paint();
    window()->invalidations.clear();
    press(kOkCentre);
    // The Ok button's box grown by its corner radius 4 and a pixel:
    // (267, 295, 106, 42), each times 1.25 and rounded.
    ASSERT_EQ(window()->invalidations.size(), 1u);
    const afx_headless_rect r = window()->invalidations[0];
    EXPECT_EQ(r.x, 334);
    EXPECT_EQ(r.y, 369);
    EXPECT_EQ(r.width, 133);
    EXPECT_EQ(r.height, 53);
}

TEST_F(MBXHostWindow, ClosingFromOutsideClosesOnceAndFreesTheSlot) {
    host->openAbout();
    void* native = handle();
    const int32_t slot = host->window();
    afx_headless_close(native);
    EXPECT_FALSE(host->isShowing());
    EXPECT_EQ(host->window(), -1);
    EXPECT_TRUE(afx_headless_find(native)->destroyed);
    EXPECT_EQ(ctx->windows[slot].in_use, 0);
    EXPECT_EQ(host->dialogs()->dialogCount(), 0);
    // The host can open the box again afterwards, in a new window.
    host->openAbout();
    EXPECT_TRUE(host->isShowing());
    EXPECT_NE(handle(), native);
}

TEST_F(MBXHostWindow, OpeningWhileShowingChangesNothing) {
    host->openAbout();
    const int32_t slot = host->window();
    const int32_t windows = afx_headless_window_count();
    host->openAbout();
    EXPECT_EQ(host->window(), slot);
    EXPECT_EQ(afx_headless_window_count(), windows);
    EXPECT_EQ(host->dialogs()->dialogCount(), 1);
}

TEST_F(MBXHostWindow, CloseTakesTheFocusAndCaptureAndIsHarmlessTwice) {
    host->openAbout();
    void* native = handle();
    press(kEmptyPlace);
    EXPECT_EQ(afx_headless_capture_window(), native);
    EXPECT_EQ(afx_headless_focus_window(), native);
    host->close();
    EXPECT_EQ(afx_headless_focus_window(), nullptr);
    EXPECT_EQ(afx_headless_capture_window(), nullptr);
    EXPECT_TRUE(afx_headless_find(native)->destroyed);
    host->close();
    EXPECT_FALSE(host->isShowing());
}

TEST_F(MBXHostWindow, AFailedWindowLeavesTheHostClosed) {
    afx_headless_fail_next_windows(1);
    host->openAbout();
    EXPECT_FALSE(host->isShowing());
    EXPECT_EQ(host->window(), -1);
    host->openAbout();
    EXPECT_TRUE(host->isShowing());
}

using MBXHostSharing = DialogTest;

TEST_F(MBXHostSharing, EditorsShareOneHostAndTheLastReleaseFreesIt) {
    // The fixture holds the first reference, as the first editor would.
    MBXHost* second = MBXHost::acquire();
    EXPECT_EQ(second, host);
    EXPECT_EQ(MBXHost::current(), host);
    host->openAbout();
    void* native = handle();
    host->release();  // the first editor goes; the window stays for the second
    host = nullptr;
    EXPECT_EQ(MBXHost::current(), second);
    EXPECT_TRUE(second->isShowing());
    EXPECT_FALSE(afx_headless_find(native)->destroyed);
    second->release();
    EXPECT_EQ(MBXHost::current(), nullptr);
    EXPECT_TRUE(afx_headless_find(native)->destroyed);
    // A later editor gets a fresh host.
    host = MBXHost::acquire();
    ASSERT_NE(host, nullptr);
    EXPECT_FALSE(host->isShowing());
}

TEST_F(MBXHostSharing, EditorsMadeOnSeveralThreadsAtOnceGetOneHost) {
    host->release();
    host = nullptr;
    constexpr int kThreads = 8;
    MBXHost* got[kThreads] = {};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            while (!go.load()) std::this_thread::yield();
            got[i] = MBXHost::acquire();
        });
    }
    go.store(true);
    for (std::thread& t : threads) t.join();
    ASSERT_NE(got[0], nullptr);
    for (MBXHost* h : got) EXPECT_EQ(h, got[0]);
    // Every reference counted: the host goes with the last of the eight.
    for (int i = 0; i < kThreads - 1; ++i) got[i]->release();
    EXPECT_EQ(MBXHost::current(), got[0]);
    got[kThreads - 1]->release();
    EXPECT_EQ(MBXHost::current(), nullptr);
}

TEST_F(MBXHostSharing, TheProcessLockComesWithTheToolkitContext) {
    EXPECT_NE(afx_process_lock(ctx), nullptr);
    EXPECT_EQ(afx_process_lock(nullptr), nullptr);
}

}  // namespace
