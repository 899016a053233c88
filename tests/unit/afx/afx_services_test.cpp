// The screen scale and the temporary cursors over the in-memory backend.
#include "afx_test_support.h"

namespace {

TEST(ToolkitDpi, ScaleFollowsTheLargerAxisFromAbove96UpToTwiceInADpiAwareProcess) {
    struct Case {
        int32_t x, y, aware;
        float scale;
    } cases[] = {
        {96, 96, 1, 1.0f},          {144, 144, 1, 1.5f},
        {192, 192, 1, 2.0f},        {240, 240, 1, 2.0f},  // capped
        {96, 120, 1, 1.25f},                              // the larger of the two axes
        {97, 96, 1, 97.0f / 96.0f}, {72, 72, 1, 1.0f},    // never below 1
        {240, 240, 0, 1.0f},                              // not DPI-aware: always 1
        {144, 144, -1, 1.5f},  // no awareness query (older systems): the screen's figure
    };
    for (const Case& c : cases) {
        afx_headless_reset();
        afx_headless_set_dpi(c.x, c.y);
        afx_headless_set_dpi_aware(c.aware);
        afx_context* ctx = afx_context_get(true);
        EXPECT_EQ(afx_dpi_scale(ctx), c.scale) << c.x << "x" << c.y << " aware " << c.aware;
        afx_headless_set_dpi(192, 192);
        EXPECT_EQ(afx_dpi_scale(ctx), c.scale) << "read once, then kept";
        afx_context_release(ctx);
        afx_context_free(ctx);
    }
    EXPECT_EQ(afx_dpi_scale(nullptr), 1.0f);
}

TEST_F(ToolkitTest, TemporaryCursorsRememberAndRestoreThePreviousOne) {
    afx_cursor_hand(ctx, true);
    afx_cursor_wait(ctx, true);  // saves the hand
    afx_cursor_wait(ctx, false);
    afx_cursor_restore(ctx);  // the saved one: still the hand
    // On twice (a held pointer): off goes back to the hand shown before.
    afx_cursor_resize(ctx, true);
    afx_cursor_resize(ctx, true);
    afx_cursor_resize(ctx, false);
    using C = std::vector<afxp_cursor_kind>;
    EXPECT_EQ(afx_headless_cursor_history(),
              (C{AFXP_CURSOR_HAND, AFXP_CURSOR_WAIT, AFXP_CURSOR_HAND, AFXP_CURSOR_HAND,
                 AFXP_CURSOR_RESIZE, AFXP_CURSOR_RESIZE, AFXP_CURSOR_HAND}));
}

}  // namespace
