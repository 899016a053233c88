// Shared set-up of the dialog tests: a fresh in-memory screen, a toolkit
// context with the library's class names and resources, and a dialog host
// with the About box open, played with by gestures in page pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "afx/afx_context.h"
#include "afx/platform/headless/afx_headless.h"
#include "dialog_session.h"
#include "dialogs/MBXHost.h"

// The library's resources, embedded from korvex52.rc.
void* korvex_dialog_test_resources_module();

// Places of the message page in page pixels: the Ok button (96 x 32 centred
// at y 300) and a fill pixel of it clear of its caption, a place level with
// it, the close button (24 x 24 at (2, 2)), an empty place, and the About
// box's web address (found when the step is played).
struct PagePoint {
    int32_t x, y;
};
constexpr PagePoint kOk{320, 316}, kOkFill{276, 304}, kBeside{200, 316}, kCloser{14, 14},
    kEmpty{600, 200}, kLink{-1, -1};

// One step of a gesture: a button (0 left, 1 right) down or up, a move, a key down or up.
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
    void SetUp() override;
    void TearDown() override;

    // Starts again on a screen of that size and pixels per inch (the screen
    // scale is read once per context).
    void restartToolkit(int32_t desktopWidth, int32_t desktopHeight, int32_t dpi = 96);
    // Opens the About box and finds its web address.
    void openAbout();
    // The dialog window's native record (null when none is open) and handle.
    afx_headless_window* window() const;
    void* handle() const;
    // Plays the steps on the window.
    void play(const std::vector<Step>& steps);
    // What the window shows at a page pixel, 0x00RRGGBB, after painting.
    uint32_t shownAt(PagePoint p);
    // True when the host shows nothing and its last window is gone.
    bool closed() const { return !host->isShowing() && afx_headless_find(native)->destroyed; }

    void* native = nullptr;
    PagePoint link{};  // the middle of the web address
};
