#include "dialog_test_support.h"

#include "afx/afx_window.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXManager.h"

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

void DialogTest::openAbout() {
    host->openAbout();
    ASSERT_TRUE(host->isShowing());
    native = handle();
    const auto& hot = static_cast<const MBXAboutMessage*>(host->dialogs()->top())->link();
    link = {hot.x + hot.width / 2, hot.y + hot.height / 2};
}

afx_headless_window* DialogTest::window() const {
    return host && host->window() >= 0 ? afx_headless_find(handle()) : nullptr;
}

void* DialogTest::handle() const { return afx_window_handle(ctx, host->window()); }

void DialogTest::play(const std::vector<Step>& steps) {
    const auto device = [&](int32_t page) {
        return int32_t(float(page) * host->pageZoom() + 0.5f);
    };
    for (const Step& s : steps) {
        const PagePoint p = s.at.x < 0 ? link : s.at;
        const int32_t x = device(p.x), y = device(p.y);
        switch (s.act) {
            case Act::Press: afx_headless_button_down(native, x, y, s.code); break;
            case Act::Release: afx_headless_button_up(native, x, y, s.code); break;
            case Act::Move: afx_headless_move(native, x, y); break;
            case Act::KeyDown: afx_headless_key(native, s.code, true); break;
            case Act::KeyUp: afx_headless_key(native, s.code, false); break;
        }
    }
}

uint32_t DialogTest::shownAt(PagePoint p) {
    afx_headless_paint(native);
    const float zoom = host->pageZoom();
    return afx_headless_pixel(native, int32_t(float(p.x) * zoom + 0.5f),
                              int32_t(float(p.y) * zoom + 0.5f));
}
