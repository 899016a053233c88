// The dialog tests' in-memory screen, host and About box, played by gestures in page pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "afx/platform/headless/afx_headless.h"
#include "dialog_session.h"
#include "dialogs/MBXHost.h"

void* korvex_dialog_test_resources_module();

// The Ok button (96 x 32 at (272, 300)), a place level with it, the close button, an empty place,
// the web address.
struct PagePoint {
    int32_t x, y;
};
constexpr PagePoint kOk{320, 316}, kBeside{200, 316}, kCloser{14, 14}, kEmpty{600, 200},
    kLink{-1, -1};

enum class Act { Press, Release, Move, KeyDown, KeyUp };
struct Step {
    Act act;
    PagePoint at;
    int32_t code = 0;  // the button or the virtual key
};

inline Step press(PagePoint at, int32_t button = 0) { return {Act::Press, at, button}; }
inline Step release(PagePoint at, int32_t button = 0) { return {Act::Release, at, button}; }
inline Step moveTo(PagePoint at) { return {Act::Move, at}; }
inline Step keyDown(int32_t key) { return {Act::KeyDown, {}, key}; }
inline Step keyUp(int32_t key) { return {Act::KeyUp, {}, key}; }

class DialogTest : public ::testing::Test, protected DialogSession {
protected:
    void SetUp() override {
        afx_set_module(korvex_dialog_test_resources_module());
        restartToolkit(1920, 1080);
    }
    void TearDown() override {
        dialog_session_end(this);
        afx_set_module(nullptr);
    }

    // Starts again on a screen of that size and dpi (read once per context).
    void restartToolkit(int32_t desktopWidth, int32_t desktopHeight, int32_t dpi = 96);
    void openAbout();
    void* handle() const { return afx_window_handle(ctx, host->window()); }
    afx_headless_window* window() const {
        return host && host->window() >= 0 ? afx_headless_find(handle()) : nullptr;
    }
    void play(const std::vector<Step>& steps);
    // What the window shows at a page pixel, 0x00RRGGBB, once painted.
    uint32_t shownAt(PagePoint p);
    // True when the host shows nothing and its last window is gone.
    bool closed() const { return !host->isShowing() && afx_headless_find(native)->destroyed; }

    void* native = nullptr;
    PagePoint link{};  // the middle of the web address
};
