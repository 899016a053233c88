#include "dialog_test_support.h"

#include <cstdlib>

#include "afx/afx_window.h"

void DialogTest::SetUp() {
    afx_set_module(korvex_dialog_test_resources_module());
    restartToolkit(1920, 1080);
}

void DialogTest::TearDown() {
    dialog_session_end(this);
    afx_set_module(nullptr);
}

void DialogTest::restartToolkit(int32_t desktopWidth, int32_t desktopHeight, int32_t dpi) {
    dialog_session_end(this);
    afx_headless_reset();
    afx_headless_set_desktop(desktopWidth, desktopHeight);
    afx_headless_set_work_area(0, 0, desktopWidth, desktopHeight);
    afx_headless_set_dpi(dpi, dpi);
    ASSERT_TRUE(dialog_session_start(this));
}

afx_headless_window* DialogTest::window() const {
    return host && host->window() >= 0 ? afx_headless_find(handle()) : nullptr;
}

void* DialogTest::handle() const { return afx_window_handle(ctx, host->window()); }

int32_t DialogTest::device(int32_t page) const {
    return static_cast<int32_t>(static_cast<float>(page) * host->pageZoom() + 0.5f);
}

void DialogTest::press(PagePoint p, int32_t button) {
    afx_headless_button_down(handle(), device(p.x), device(p.y), button);
}

void DialogTest::release(PagePoint p, int32_t button) {
    afx_headless_button_up(handle(), device(p.x), device(p.y), button);
}

void DialogTest::moveTo(PagePoint p) { afx_headless_move(handle(), device(p.x), device(p.y)); }

void DialogTest::key(int32_t code, bool down) { afx_headless_key(handle(), code, down); }

void DialogTest::paint() { afx_headless_paint(handle()); }

uint32_t DialogTest::shownAt(PagePoint p) const {
    return afx_headless_pixel(handle(), device(p.x), device(p.y));
}

::testing::AssertionResult colourNear(uint32_t word, uint32_t r, uint32_t g, uint32_t b,
                                      uint32_t tolerance) {
    const int32_t got[3] = {int32_t(word >> 16 & 255), int32_t(word >> 8 & 255),
                            int32_t(word & 255)};
    const int32_t want[3] = {int32_t(r), int32_t(g), int32_t(b)};
    for (int i = 0; i < 3; ++i) {
        if (std::abs(got[i] - want[i]) > int32_t(tolerance)) {
            return ::testing::AssertionFailure()
                   << "colour " << got[0] << ", " << got[1] << ", " << got[2] << " is not within "
                   << tolerance << " of " << r << ", " << g << ", " << b;
        }
    }
    return ::testing::AssertionSuccess();
}
