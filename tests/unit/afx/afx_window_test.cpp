// Windows over the in-memory backend: the slot table and the window procedure.
#include <string>

#include "afx_test_support.h"

namespace {

void* lastUser = nullptr;  // of the last paint, close query or drop
bool closeAllowed = true;
std::string& log() { return afx_pointer_seen(); }

// Every callback of a window writes into log(); paint as (x, y, width x 1000 + height).
void recordAll(afx_context* ctx, int32_t index) {
    log().clear();
    afx_window_on_paint(ctx, index,
                        [](int32_t x, int32_t y, int32_t w, int32_t h, int32_t, void* u) {
                            afx_pointer_note("paint", x, y, w * 1000 + h);
                            lastUser = u;
                        });
    afx_pointer_record(ctx, index);
    afx_window_on_close_query(ctx, index, [](int32_t, void* u) {
        afx_pointer_note("query", 0, 0, 0);
        lastUser = u;
        return closeAllowed;
    });
    afx_window_on_drop_file(ctx, index, [](const char* path, int32_t, void* u, afx_context*) {
        afx_pointer_note(path, 0, 0, 0);
        lastUser = u;
    });
}

TEST_F(ToolkitTest, WindowsAreScaledToNearestTakeTheLowestSlotAndThe256thIsRefused) {
    const int32_t index = newChild(364, 538, 1.5f);
    afx_headless_window* w = window(index);
    EXPECT_EQ(w->class_name + "," + std::to_string(w->width) + "," + std::to_string(w->height),
              "27D706069AC8-UI,546,807");
    EXPECT_EQ(w->parent, parent);
    EXPECT_FALSE(w->visible);
    afx_window_show(ctx, index);
    afx_window_resize(ctx, index, 200, 300);
    EXPECT_TRUE(w->visible && w->width * 1000 + w->height == 200300);
    const int32_t odd = newChild(101, 3, 0.5f);  // 50.5 and 1.5 round up
    EXPECT_EQ(window(odd)->width * 1000 + window(odd)->height, 51002);
    afx_window_close(ctx, odd);
    afx_headless_fail_next_windows(1);
    EXPECT_EQ(newChild(), -1);  // a failed creation takes no slot
    for (int32_t i = 1; i < kAfxWindowSlots; ++i) ASSERT_EQ(newChild(10, 10), i);
    recordAll(ctx, kAfxWindowSlots - 1);
    EXPECT_EQ(newChild(10, 10), -1);
    afx_window_close(ctx, 7);
    afx_window_close(ctx, 3);
    EXPECT_EQ(newChild(10, 10) * 10 + newChild(10, 10), 37);
    afx_destroy_all(ctx);
    for (const char* name : {"27D706069AC8-UI", "27D706069AC8-SPLASH"})
        EXPECT_FALSE(afx_headless_class_registered(name)) << name;
}

TEST_F(ToolkitTest, SplashWindowIsCentredInTheWorkAreaAndOnlyItLosesItsFrame) {
    struct Case {
        int32_t right, bottom, width, height;
        float scale;
        int32_t x, y;
    } cases[] = {{1920, 1040, 640, 480, 1.25f, 560, 220}, {1281, 721, 800, 600, 1.0f, 240, 60}};
    for (const Case& c : cases) {
        afx_headless_set_work_area(0, 0, c.right, c.bottom);
        const int32_t index = afx_splash_new(ctx, c.width, c.height, c.scale, &userTag);
        afx_headless_window* w = window(index);
        EXPECT_EQ(w->parent, nullptr);
        EXPECT_EQ(w->x * 1000 + w->y, c.x * 1000 + c.y);  // (work - scaled) / 2, toward zero
        EXPECT_EQ(w->width, int32_t(c.width * c.scale));
        EXPECT_TRUE(afxp_window_class_is(handle(index), ctx->splash_class));
    }
    EXPECT_FALSE(afxp_window_class_is(handle(newChild()), ctx->splash_class));
}

TEST_F(ToolkitTest, PointerAndKeysArriveWithTheirCodesAndPressesTakeTheFocus) {
    const int32_t index = newChild();
    void* w = handle(index);
    recordAll(ctx, index);
    afx_headless_wheel(w, 30, 40, 120);  // a notch each way: press and release
    afx_headless_wheel(w, 31, 41, -120);
    afx_headless_move(w, 5, 6);  // no button held: not delivered
    afx_headless_set_buttons_held(true);
    afx_headless_move(w, 7, 8);
    afx_headless_set_buttons_held(false);
    afx_window_track_moves(ctx, index, true);
    afx_headless_move(w, -3, 9);  // tracking all moves: delivered, outside too
    afx_headless_button_up(w, 12, 13, 0);
    EXPECT_EQ(afx_headless_focus_window(), nullptr);  // a release takes no focus
    for (const int32_t button : {0, 1}) {
        afx_clear_focus(ctx);
        afx_headless_button_down(w, 10, 11, button);
        EXPECT_EQ(afx_headless_focus_window(), w) << button;
    }
    afx_headless_double_click(w, 18, 19);
    afx_headless_key(w, 0x41, true);
    afx_headless_key(w, 0x41, false);
    EXPECT_EQ(log(),
              "down(30,40,2) up(30,40,2) down(31,41,3) up(31,41,2) move(7,8,0) move(-3,9,0) "
              "up(12,13,0) down(10,11,0) down(10,11,1) double(18,19,0) key(65,1,0) key(65,0,0) ");
}

TEST_F(ToolkitTest, DropsTitleIconAndARefusedCloseReachTheirWindow) {
    const int32_t index = newChild();
    afx_headless_window* w = window(index);
    afx_window_accept_files(ctx, index);
    recordAll(ctx, index);
    afx_headless_drop(handle(index), "C:\\samples\\kick.wav");
    afx_window_set_title(ctx, index, "KORVEX52 Stereo Reverb");
    afx_window_set_icon(ctx, index, 200);
    EXPECT_TRUE(w->accepts_files && w->title == "KORVEX52 Stereo Reverb" && w->icon == 200);
    closeAllowed = false;  // a refused close still tells about the key release
    EXPECT_EQ(afx_headless_close(handle(index)), 0);
    EXPECT_EQ(log(), "C:\\samples\\kick.wav(0,0,0) key(0,0,0) query(0,0,0) ");
    EXPECT_EQ(lastUser, &userTag);
    EXPECT_FALSE(w->destroyed);
    closeAllowed = true;
}

TEST_F(ToolkitTest, OnlyTheFirstEraseFillsAndPaintGetsTheUpdateRectangleAndValidatesIt) {
    const int32_t index = newChild(200, 100);
    void* w = handle(index);
    EXPECT_NE(afx_headless_pixel(w, 3, 3), 0u);
    afx_headless_erase(w);
    EXPECT_EQ(afx_headless_pixel(w, 3, 3), 0u);  // the black class brush
    EXPECT_EQ(afx_headless_erase(w), 1);         // answered as done...
    EXPECT_EQ(window(index)->erase_count, 1);    // ...without erasing
    recordAll(ctx, index);
    EXPECT_TRUE(afx_headless_paint(w));
    EXPECT_FALSE(afx_headless_paint(w));
    afx_invalidate(ctx, index, 10, 20, 30, 40);
    afx_invalidate(ctx, index, 50, 5, 10, 10);
    EXPECT_TRUE(afx_headless_paint(w));
    // The whole window, then the union of both rectangles: x 10..60, y 5..60.
    EXPECT_EQ(log(), "paint(0,0,200100) paint(10,5,50055) ");
}

}  // namespace
