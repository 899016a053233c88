#include "dialog_test_support.h"

#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXManager.h"

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

void DialogTest::play(const std::vector<Step>& steps) {
    const float zoom = host->pageZoom();
    for (const Step& s : steps) {
        const PagePoint p = s.at.x < 0 ? link : s.at;
        const int32_t x = int32_t(float(p.x) * zoom + 0.5f), y = int32_t(float(p.y) * zoom + 0.5f);
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
