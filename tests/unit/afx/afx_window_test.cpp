// The toolkit's context and windows over the in-memory backend: the window
// table, creation and closing, and every rule of the window procedure.
#include <cstring>
#include <string>

#include "afx_test_support.h"

namespace {

bool closeAnswer = true;
bool closeQuery(int32_t index, void* user) {
    ToolkitTest::log().push_back({"query", 0, 0, 0, index, user});
    return closeAnswer;
}

int timerTicks = 0;
void* timerUser = nullptr;
void onTimer(void* user) {
    ++timerTicks;
    timerUser = user;
}

std::string droppedPath;
afx_context* droppedContext = nullptr;
void onDrop(const char* path, int32_t index, void* user, afx_context* context) {
    droppedPath = path;
    droppedContext = context;
    ToolkitTest::log().push_back({"drop", 0, 0, 0, index, user});
}

TEST(ToolkitContext, IsCreatedOnceOnRequestAndForgottenOnRelease) {
    afx_headless_reset();
    EXPECT_EQ(afx_context_get(false), nullptr);
    afx_context* c = afx_context_get(true);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(afx_context_get(true), c);
    EXPECT_EQ(afx_context_get(false), c);
    for (const afx_window& w : c->windows) {
        EXPECT_EQ(w.in_use, 0);
        EXPECT_EQ(w.erase_pending, 1);
        EXPECT_EQ(w.window, nullptr);
        EXPECT_EQ(w.on_paint, nullptr);
    }
    EXPECT_EQ(c->window_timer_period_ms, 0u);
    EXPECT_EQ(c->dpi_scale, 0.0f);
    EXPECT_EQ(c->saved_cursor, nullptr);
    EXPECT_STREQ(c->ui_class, "");
    afx_context_release(c);
    EXPECT_EQ(afx_context_get(false), nullptr);
    afx_context_free(c);
}

TEST(ToolkitContext, ClassNamesComeFromTheBaseNameWithinTheirBound) {
    afx_headless_reset();
    afx_context* c = afx_context_get(true);
    afx_set_class_base(c, "27D706069AC8");
    EXPECT_STREQ(c->ui_class, "27D706069AC8-UI");
    EXPECT_STREQ(c->splash_class, "27D706069AC8-SPLASH");
    const std::string longName(200, 'k');
    afx_set_class_base(c, longName.c_str());
    EXPECT_EQ(std::string(c->ui_class), std::string(128, 'k') + "-UI");
    EXPECT_EQ(std::string(c->splash_class), std::string(128, 'k') + "-SPLASH");
    afx_context_release(c);
    afx_context_free(c);
}

TEST_F(ToolkitTest, ChildWindowIsScaledPlacedInsideTheHostAndBoundToItsSlot) {
    const int32_t index = newChild(364, 538, 1.5f);
    ASSERT_EQ(index, 0);
    afx_headless_window* w = afx_headless_find(handle(index));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->class_name, "27D706069AC8-UI");
    EXPECT_EQ(w->parent, parent);
    EXPECT_EQ(w->x, 0);
    EXPECT_EQ(w->y, 0);
    EXPECT_EQ(w->width, 546);   // 364 x 1.5
    EXPECT_EQ(w->height, 807);  // 538 x 1.5 = 807.0
    EXPECT_EQ(w->slot, 0);
    EXPECT_FALSE(w->visible);
    const afx_window& slot = ctx->windows[0];
    EXPECT_EQ(slot.in_use, 1);
    EXPECT_EQ(slot.erase_pending, 1);
    EXPECT_EQ(slot.user, &userTag);
    EXPECT_NE(slot.painter, nullptr);
    // Rounding is to nearest: 101 x 0.5 = 50.5 becomes 51.
    const int32_t odd = newChild(101, 3, 0.5f);
    EXPECT_EQ(afx_headless_find(handle(odd))->width, 51);
    EXPECT_EQ(afx_headless_find(handle(odd))->height, 2);
    afx_window_show(ctx, index);
    EXPECT_TRUE(w->visible);
    afx_window_resize(ctx, index, 200, 300);
    EXPECT_EQ(w->width, 200);
    EXPECT_EQ(w->height, 300);
    EXPECT_EQ(w->x, 0);
}

TEST_F(ToolkitTest, SlotsAreTakenLowestFirstAndTheTableHolds255Windows) {
    for (int32_t i = 0; i < kAfxWindowSlots; ++i) ASSERT_EQ(newChild(10, 10), i);
    recordAll(kAfxWindowSlots - 1);
    const int32_t created = afx_headless_window_count();
    EXPECT_EQ(newChild(10, 10), -1);
    // The 256th window exists but answers to no slot: its user data is 255
    // and its messages reach no callback.
    ASSERT_EQ(afx_headless_window_count(), created + 1);
    void* orphan = afx_headless_window_at(created);
    EXPECT_EQ(afx_headless_find(orphan)->slot, 255);
    afx_headless_button_down(orphan, 1, 1, 0);
    EXPECT_TRUE(ToolkitTest::log().empty());
    // Freed slots are reused lowest first.
    afx_window_close(ctx, 7);
    afx_window_close(ctx, 3);
    EXPECT_EQ(newChild(10, 10), 3);
    EXPECT_EQ(newChild(10, 10), 7);
    EXPECT_EQ(newChild(10, 10), -1);
}

TEST_F(ToolkitTest, FailedCreationTakesNoSlot) {
    afx_headless_fail_next_windows(1);
    EXPECT_EQ(newChild(), -1);
    for (const afx_window& w : ctx->windows) EXPECT_EQ(w.in_use, 0);
    EXPECT_EQ(newChild(), 0);
    EXPECT_EQ(afx_window_new(nullptr, 10, 10, 1.0f, parent, nullptr), -1);
}

TEST_F(ToolkitTest, SplashWindowIsCentredInTheWorkArea) {
    afx_headless_set_work_area(0, 0, 1920, 1040);
    const int32_t a = afx_splash_new(ctx, 640, 480, 1.25f, &userTag);
    ASSERT_GE(a, 0);
    afx_headless_window* w = afx_headless_find(handle(a));
    EXPECT_EQ(w->class_name, "27D706069AC8-SPLASH");
    EXPECT_EQ(w->parent, nullptr);
    EXPECT_EQ(w->kind, AFXP_CLASS_SPLASH);
    EXPECT_EQ(w->width, 800);
    EXPECT_EQ(w->height, 600);
    EXPECT_EQ(w->x, 560);  // (1920 - 800) / 2
    EXPECT_EQ(w->y, 220);  // (1040 - 600) / 2
    // Odd remainders round toward zero: (1281 - 800) / 2 = 240.
    afx_headless_set_work_area(0, 0, 1281, 721);
    const int32_t b = afx_splash_new(ctx, 800, 600, 1.0f, nullptr);
    EXPECT_EQ(afx_headless_find(handle(b))->x, 240);
    EXPECT_EQ(afx_headless_find(handle(b))->y, 60);
    // Only the splash class loses its frame.
    EXPECT_TRUE(afxp_window_class_is(handle(a), ctx->splash_class));
    EXPECT_FALSE(afxp_window_class_is(handle(newChild()), ctx->splash_class));
}

TEST_F(ToolkitTest, WheelNotchesArriveAsPressAndReleaseAndZeroDeltaAsNothing) {
    const int32_t index = newChild();
    recordAll(index);
    afx_headless_wheel(handle(index), 30, 40, 120);
    afx_headless_wheel(handle(index), 31, 41, -120);
    afx_headless_wheel(handle(index), 32, 42, 0);
    // Every wheel release is code 2.
    EXPECT_EQ(ToolkitTest::logText(), "down(30,40,2) up(30,40,2) down(31,41,3) up(31,41,2) ");
    EXPECT_EQ(ToolkitTest::log()[0].index, index);
    EXPECT_EQ(ToolkitTest::log()[0].user, &userTag);
}

TEST_F(ToolkitTest, MovesReachTheWindowOnlyWithAButtonHeldUnlessItTracksAll) {
    const int32_t index = newChild();
    recordAll(index);
    afx_headless_set_buttons_held(false);
    afx_headless_move(handle(index), 5, 6);
    afx_headless_set_buttons_held(true);
    afx_headless_move(handle(index), 7, 8);
    afx_headless_set_buttons_held(false);
    afx_window_track_moves(ctx, index, true);
    afx_headless_move(handle(index), -3, 9);  // captured moves may lie outside
    EXPECT_EQ(ToolkitTest::logText(), "move(7,8,0) move(-3,9,0) ");
}

TEST_F(ToolkitTest, PressesGiveFocusAndCarryTheirButtonCodesAndKeysTheirCodeAndFlag) {
    const int32_t index = newChild();
    recordAll(index);
    EXPECT_EQ(afx_headless_focus_window(), nullptr);
    afx_headless_button_down(handle(index), 10, 11, 0);
    EXPECT_EQ(afx_headless_focus_window(), handle(index));
    afx_clear_focus(ctx);
    EXPECT_EQ(afx_headless_focus_window(), nullptr);
    afx_headless_button_up(handle(index), 12, 13, 0);
    EXPECT_EQ(afx_headless_focus_window(), nullptr);  // a release takes no focus
    afx_headless_button_down(handle(index), 14, 15, 1);
    afx_headless_button_up(handle(index), 16, 17, 1);
    afx_clear_focus(ctx);
    afx_headless_double_click(handle(index), 18, 19);
    EXPECT_EQ(afx_headless_focus_window(), handle(index));
    // Keys report zero, the key code and whether it went down.
    afx_headless_key(handle(index), 0x41, true);
    afx_headless_key(handle(index), 0x41, false);
    EXPECT_EQ(ToolkitTest::logText(),
              "down(10,11,0) up(12,13,0) down(14,15,1) up(16,17,1) double(18,19,0) "
              "keydown(0,65,1) keyup(0,65,0) ");
}

TEST_F(ToolkitTest, OnlyTheFirstEraseAfterCreationPaintsTheBackground) {
    const int32_t index = newChild(20, 10);
    afx_headless_window* w = afx_headless_find(handle(index));
    EXPECT_NE(afx_headless_pixel(handle(index), 3, 3), 0u);  // not yet erased
    afx_headless_erase(handle(index));
    EXPECT_EQ(w->erase_count, 1);
    EXPECT_EQ(afx_headless_pixel(handle(index), 3, 3), 0u);  // black class brush
    EXPECT_EQ(ctx->windows[index].erase_pending, 0);
    EXPECT_EQ(afx_headless_erase(handle(index)), 1);  // answered as done...
    EXPECT_EQ(w->erase_count, 1);                     // ...without erasing
}

TEST_F(ToolkitTest, ARefusedCloseStaysOpenButStillSendsTheKeyRelease) {
    const int32_t index = newChild();
    recordAll(index);
    afx_window_on_close_query(ctx, index, closeQuery);
    closeAnswer = false;
    EXPECT_EQ(afx_headless_close(handle(index)), 0);
    EXPECT_EQ(ToolkitTest::logText(), "keyup(0,0,0) query(0,0,0) ");
    EXPECT_EQ(ToolkitTest::log()[1].user, &userTag);
    EXPECT_EQ(ctx->windows[index].in_use, 1);
    EXPECT_FALSE(afx_headless_find(handle(index))->destroyed);

    void* native = handle(index);
    closeAnswer = true;
    afx_headless_close(native);
    EXPECT_TRUE(afx_headless_find(native)->destroyed);
    EXPECT_EQ(ctx->windows[index].in_use, 0);
}

TEST_F(ToolkitTest, ClosingReleasesEveryHandleOnceAndFreesTheSlot) {
    // By the system's close message (no query set) and by the toolkit's own close.
    for (const bool bySystem : {true, false}) {
        const int32_t index = newChild();
        afx_set_window_timer_period(ctx, 40);
        afx_window_on_timer(ctx, index, onTimer);
        void* native = handle(index);
        if (bySystem) afx_headless_close(native);
        else afx_window_close(ctx, index);
        afx_headless_window* w = afx_headless_find(native);
        EXPECT_TRUE(w->destroyed);
        if (!bySystem) {
            EXPECT_TRUE(
                w->painter_released);  // the toolkit's close gives back the window's painter
        }
        EXPECT_FALSE(w->timer_running);
        EXPECT_EQ(ctx->windows[index].in_use, 0);
        EXPECT_EQ(ctx->windows[index].window, nullptr);
        EXPECT_EQ(ctx->windows[index].erase_pending, 1);
    }
    afx_window_close(ctx, 0);  // a free slot: nothing happens
    afx_window_close(ctx, -1);
    afx_window_close(ctx, kAfxWindowSlots);
}

TEST_F(ToolkitTest, TimerRunsWithTheContextPeriodAndCallsBackWithTheUser) {
    const int32_t index = newChild();
    afx_set_window_timer_period(ctx, 40);
    timerTicks = 0;
    EXPECT_FALSE(afx_headless_timer(handle(index)));
    afx_window_on_timer(ctx, index, onTimer);
    afx_headless_window* w = afx_headless_find(handle(index));
    EXPECT_TRUE(w->timer_running);
    EXPECT_EQ(w->timer_period_ms, 40u);
    EXPECT_TRUE(afx_headless_timer(handle(index)));
    EXPECT_TRUE(afx_headless_timer(handle(index)));
    EXPECT_EQ(timerTicks, 2);
    EXPECT_EQ(timerUser, &userTag);
    // The period only affects timers started afterwards.
    afx_set_window_timer_period(ctx, 100);
    EXPECT_EQ(w->timer_period_ms, 40u);
}

TEST_F(ToolkitTest, PaintGetsTheUpdateRectangleAndValidatesIt) {
    const int32_t index = newChild(200, 100);
    void* native = handle(index);
    // Without a paint callback nothing is validated: the window stays invalid.
    EXPECT_TRUE(afx_headless_paint(native));
    EXPECT_TRUE(afx_headless_paint(native));
    recordAll(index);
    EXPECT_TRUE(afx_headless_paint(native));
    EXPECT_FALSE(afx_headless_paint(native));
    afx_invalidate(ctx, index, 10, 20, 30, 40);
    afx_invalidate(ctx, index, 50, 5, 10, 10);
    afx_headless_window* w = afx_headless_find(native);
    ASSERT_EQ(w->invalidations.size(), 2u);
    EXPECT_EQ(w->invalidations[0].x, 10);
    EXPECT_EQ(w->invalidations[0].width, 30);
    EXPECT_EQ(w->erase_count, 0);  // invalidating never erases
    EXPECT_TRUE(afx_headless_paint(native));
    // The whole window first, then the union of both rectangles: x 10..60, y 5..60.
    EXPECT_EQ(ToolkitTest::logText(), "paint(0,0," + std::to_string(200 * 65536 + 100) +
                                          ") paint(10,5," + std::to_string(50 * 65536 + 55) + ") ");
}

TEST_F(ToolkitTest, DroppedFileReachesTheCallbackWithItsPath) {
    const int32_t index = newChild();
    afx_window_accept_files(ctx, index);
    EXPECT_TRUE(afx_headless_find(handle(index))->accepts_files);
    afx_headless_drop(handle(index), "C:\\samples\\kick.wav");  // no callback: ignored
    afx_window_on_drop_file(ctx, index, onDrop);
    afx_headless_drop(handle(index), "C:\\samples\\kick.wav");
    EXPECT_EQ(droppedPath, "C:\\samples\\kick.wav");
    EXPECT_EQ(droppedContext, ctx);
    ASSERT_EQ(ToolkitTest::log().size(), 1u);
    EXPECT_EQ(ToolkitTest::log()[0].user, &userTag);
}

TEST_F(ToolkitTest, TitleIconAndCaptureFollowTheirWindow) {
    const int32_t index = newChild();
    afx_window_set_title(ctx, index, "KORVEX52 Stereo Reverb");
    afx_headless_window* w = afx_headless_find(handle(index));
    EXPECT_EQ(w->title, "KORVEX52 Stereo Reverb");
    afx_window_set_icon(ctx, index, 200);
    EXPECT_EQ(w->icon, 200);
    afx_window_set_icon(ctx, index, 260);  // not in the test resources: not set
    EXPECT_EQ(w->icon, 200);
    afx_capture(ctx, index);
    EXPECT_EQ(afx_headless_capture_window(), handle(index));
    afx_release_capture(ctx);
    EXPECT_EQ(afx_headless_capture_window(), nullptr);
}

TEST_F(ToolkitTest, MessagesForAWindowWithoutItsSlotGoToTheDefaultProcedure) {
    const int32_t index = newChild();
    recordAll(index);
    // A second window claiming slot 0 in its user data (as during creation,
    // before the slot is stored) must not reach slot 0's callbacks.
    afxp_class_register(nullptr, "other", AFXP_CLASS_UI);
    void* stranger = afxp_window_create(nullptr, "other", AFXP_CLASS_UI, 0, 0, 5, 5, parent);
    afx_headless_find(stranger)->slot = index;
    afx_headless_button_down(stranger, 1, 1, 0);
    afx_headless_find(stranger)->slot = 255;
    afx_headless_button_down(stranger, 1, 1, 0);
    EXPECT_TRUE(ToolkitTest::log().empty());
}

TEST_F(ToolkitTest, DestroyAllClosesEveryWindowAndUnregistersBothClasses) {
    const int32_t a = newChild();
    const int32_t b = afx_splash_new(ctx, 10, 10, 1.0f, nullptr);
    void* na = handle(a);
    void* nb = handle(b);
    EXPECT_TRUE(afx_headless_class_registered("27D706069AC8-UI"));
    EXPECT_TRUE(afx_headless_class_registered("27D706069AC8-SPLASH"));
    afx_destroy_all(ctx);
    EXPECT_TRUE(afx_headless_find(na)->destroyed);
    EXPECT_TRUE(afx_headless_find(nb)->destroyed);
    EXPECT_FALSE(afx_in_window_procedure());
    for (const afx_window& w : ctx->windows) EXPECT_EQ(w.in_use, 0);
    EXPECT_FALSE(afx_headless_class_registered("27D706069AC8-UI"));
    EXPECT_FALSE(afx_headless_class_registered("27D706069AC8-SPLASH"));
}

TEST_F(ToolkitTest, TheProcedureFlagIsSetOnlyWhileAMessageIsHandled) {
    const int32_t index = newChild();
    static bool seenInside = false;
    afx_window_on_key_down(ctx, index, [](int32_t, int32_t, int32_t, int32_t, void*) {
        seenInside = afx_in_window_procedure();
    });
    EXPECT_FALSE(afx_in_window_procedure());
    afx_headless_key(handle(index), 13, true);
    EXPECT_TRUE(seenInside);
    EXPECT_FALSE(afx_in_window_procedure());
}

}  // namespace
