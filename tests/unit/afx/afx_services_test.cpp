// The context's services over the in-memory backend: the screen scale,
// cursors, drag deltas, the stopwatch, sleeping, locks and the shell.
#include "afx_test_support.h"

namespace {

float scaleAt(int32_t dpiX, int32_t dpiY, int32_t aware) {
    afx_headless_reset();
    afx_headless_set_dpi(dpiX, dpiY);
    afx_headless_set_dpi_aware(aware);
    afx_context* c = afx_context_get(true);
    const float s = afx_dpi_scale(c);
    afx_context_release(c);
    afx_context_free(c);
    return s;
}

TEST(ToolkitDpi, ScaleFollowsTheLargerAxisFromAbove96UpToTwiceInADpiAwareProcess) {
    struct Case {
        int32_t x, y, aware;
        float scale;
    } cases[] = {
        {96, 96, 1, 1.0f},          {144, 144, 1, 1.5f},
        {192, 192, 1, 2.0f},        {240, 240, 1, 2.0f},  // capped
        {96, 120, 1, 1.25f},                              // the larger of the two axes
        {97, 96, 1, 97.0f / 96.0f}, {72, 72, 1, 1.0f},    // never below 1
        {144, 144, 0, 1.0f},        {240, 240, 0, 1.0f},  // not DPI-aware: always 1
        {144, 144, -1, 1.5f},  // no awareness query (older systems): the screen's figure
    };
    for (const Case& c : cases)
        EXPECT_EQ(scaleAt(c.x, c.y, c.aware), c.scale) << c.x << "x" << c.y << " aware " << c.aware;
}

TEST_F(ToolkitTest, TheScaleIsReadOnceAndThenCached) {
    afx_headless_set_dpi(144, 144);
    EXPECT_EQ(afx_dpi_scale(ctx), 1.5f);
    afx_headless_set_dpi(192, 192);
    EXPECT_EQ(afx_dpi_scale(ctx), 1.5f);
    EXPECT_EQ(afx_dpi_scale(nullptr), 1.0f);
}

TEST_F(ToolkitTest, TemporaryCursorsRememberAndRestoreThePreviousOne) {
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
    afx_cursor_resize(ctx, true);
    afx_cursor_resize(ctx, false);
    afx_cursor_hand(ctx, true);
    afx_cursor_wait(ctx, true);  // saves the hand
    afx_cursor_wait(ctx, false);
    afx_cursor_restore(ctx);  // the saved one: still the hand
    const std::vector<afxp_cursor_kind> expected = {AFXP_CURSOR_RESIZE, AFXP_CURSOR_ARROW,
                                                    AFXP_CURSOR_HAND,   AFXP_CURSOR_WAIT,
                                                    AFXP_CURSOR_HAND,   AFXP_CURSOR_HAND};
    EXPECT_EQ(afx_headless_cursor_history(), expected);
    // On twice with nothing in between, as while a held pointer keeps the
    // cursor: off goes back to the hand shown before the first.
    afx_cursor_resize(ctx, true);
    afx_cursor_resize(ctx, true);
    afx_cursor_resize(ctx, false);
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_HAND);
}

TEST_F(ToolkitTest, RestoringWithNothingSavedGivesTheArrowAndOffWithNothingSavedDoesNothing) {
    afx_cursor_hand(ctx, false);
    EXPECT_TRUE(afx_headless_cursor_history().empty());
    afx_headless_set_dpi(96, 96);
    afxp_cursor_set(AFXP_CURSOR_WAIT);  // someone else's cursor
    afx_cursor_restore(ctx);
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_ARROW);
}

TEST_F(ToolkitTest, DragDeltasMeasureTravelRightwardAndUpward) {
    afx_mouse_reset(ctx, 100.0, 200.0);
    EXPECT_EQ(afx_mouse_dx(ctx, 104.0), 4.0f);
    EXPECT_EQ(afx_mouse_dx(ctx, 101.5), -2.5f);
    EXPECT_EQ(afx_mouse_dy(ctx, 190.0), 10.0f);  // moving up is positive
    EXPECT_EQ(afx_mouse_dy(ctx, 195.0), -5.0f);
    EXPECT_EQ(ctx->last_mouse_x, 101.5);
    EXPECT_EQ(ctx->last_mouse_y, 195.0);
}

TEST_F(ToolkitTest, StopwatchCountsMillisecondsAcrossTheWrap) {
    afx_stopwatch watch;
    afx_headless_set_ticks(0xFFFFFFF0u);
    afx_stopwatch_start(&watch);
    afx_headless_set_ticks(0x00000020u);
    EXPECT_EQ(afx_stopwatch_elapsed(&watch), 0x30u);
    afx_sleep(25);
    EXPECT_EQ(afx_stopwatch_elapsed(&watch), 0x30u + 25u);
    afx_sleep(-1);  // negative: no sleep
    afx_sleep(0);
    EXPECT_EQ(afx_headless_slept_ms(), 25u);
}

TEST_F(ToolkitTest, LocksAndTheShellPassThroughToThePlatform) {
    afx_lock* lock = afx_lock_new();
    ASSERT_NE(lock, nullptr);
    afx_lock_enter(lock);
    afx_lock_leave(lock);
    afx_lock_free(lock);
    afx_lock_enter(nullptr);  // no lock: nothing happens
    afx_open_url(ctx, "https://corvane.example/korvex52");
    afx_open_url(ctx, "");
    ASSERT_EQ(afx_headless_opened_urls().size(), 1u);
    EXPECT_EQ(afx_headless_opened_urls()[0], "https://corvane.example/korvex52");
}

TEST_F(ToolkitTest, TheDesktopAndTheHostWindowCanBeMeasuredAndTheHostResized) {
    int32_t w = 0, h = 0;
    afx_headless_set_desktop(2560, 1440);
    afx_desktop_size(ctx, &w, &h);
    EXPECT_EQ(w, 2560);
    EXPECT_EQ(h, 1440);
    ASSERT_TRUE(afx_native_window_size(parent, &w, &h));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    afx_native_window_resize(parent, 900, 640);
    ASSERT_TRUE(afx_native_window_size(parent, &w, &h));
    EXPECT_EQ(w, 900);
    EXPECT_EQ(h, 640);
    EXPECT_FALSE(afx_native_window_size(nullptr, &w, &h));
}

}  // namespace
