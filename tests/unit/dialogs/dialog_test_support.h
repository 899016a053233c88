// Shared set-up of the dialog tests: a fresh in-memory screen, a toolkit
// context with the library's class names and resources, and a dialog host
// with helpers that press, move and type in its window in page pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "afx/afx_context.h"
#include "afx/platform/headless/afx_headless.h"
#include "dialog_session.h"
#include "dialogs/MBXHost.h"

// The library's resources, embedded from korvex52.rc.
void* korvex_dialog_test_resources_module();

// Virtual key codes the dialogs react to.
enum : int32_t { kKeyEnter = 13, kKeyEscape = 27 };

// Places of the message page, in page pixels, as the page is laid out:
// Ok button 96 x 32 centred at y 300, close button 24 x 24 at (2, 2).
struct PagePoint {
    int32_t x, y;
};
constexpr PagePoint kOkCentre{320, 316};
constexpr PagePoint kOkFill{276, 304};    // inside the Ok box, clear of its caption
constexpr PagePoint kBesideOk{200, 316};  // level with the Ok button, off it
constexpr PagePoint kCloseCentre{14, 14};
constexpr PagePoint kEmptyPlace{600, 200};  // nothing drawn or clickable here

class DialogTest : public ::testing::Test, protected DialogSession {
protected:
    void SetUp() override;
    void TearDown() override;

    // Throws away the toolkit and starts again on a screen of that size and
    // pixels per inch (the screen scale is read once per context).
    void restartToolkit(int32_t desktopWidth, int32_t desktopHeight, int32_t dpi = 96);

    // The dialog window's native record; null when none is open.
    afx_headless_window* window() const;
    void* handle() const;
    // Page pixel to window pixel at the host's zoom.
    int32_t device(int32_t page) const;

    void press(PagePoint p, int32_t button = 0);
    void release(PagePoint p, int32_t button = 0);
    void moveTo(PagePoint p);
    void key(int32_t code, bool down);
    // Lets the window paint what was invalidated.
    void paint();
    // What the window shows at a page pixel, 0x00RRGGBB (after paint()).
    uint32_t shownAt(PagePoint p) const;
};

// True when each channel of word (0x00RRGGBB) lies within tolerance of r, g, b.
::testing::AssertionResult colourNear(uint32_t word, uint32_t r, uint32_t g, uint32_t b,
                                      uint32_t tolerance = 2);
