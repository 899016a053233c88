// The About box in a real dialog window under Wine and Xvfb, moved over by
// real pointer input. The system puts the window's arrow back before every
// move it does not capture; the hand must still show for as long as the
// pointer stays over the web address, and the arrow once it leaves.
#include <windows.h>

#include <gtest/gtest.h>

#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXHost.h"
#include "dialogs/MBXManager.h"
#include "tests/unit/dialogs/dialog_session.h"
#include "tests/unit/support/win32/real_input.h"

namespace {

// The cursor the screen shows now.
HCURSOR shownCursor() {
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

TEST(MBXAboutWindow, TheHandStaysOverTheAddressThroughRealMovesAndLeavesWithThePointer) {
    afx_set_module(GetModuleHandleA(nullptr));  // the library's images and fonts are linked in
    DialogSession session;
    ASSERT_TRUE(dialog_session_start(&session));
    MBXHost* host = session.host;
    host->openAbout();
    ASSERT_TRUE(host->isShowing());
    HWND window = static_cast<HWND>(afx_window_handle(session.ctx, host->window()));
    SetForegroundWindow(window);
    pump(50);

    // Page pixel to screen pixel: the window's origin plus the page zoomed.
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const float zoom = host->pageZoom();
    const auto screenX = [&](float x) { return origin.x + static_cast<int>(x * zoom + 0.5f); };
    const auto screenY = [&](float y) { return origin.y + static_cast<int>(y * zoom + 0.5f); };
    const MBXAboutMessage::HotSpot link =
        static_cast<const MBXAboutMessage*>(host->dialogs()->top())->link();
    ASSERT_GT(link.width, 0);
    const HCURSOR hand = LoadCursorA(nullptr, IDC_HAND), arrow = LoadCursorA(nullptr, IDC_ARROW);

    const int emptyX = screenX(600.0f), emptyY = screenY(200.0f);  // nothing clickable there
    mouse(emptyX, emptyY, 0);
    EXPECT_EQ(shownCursor(), arrow);
    const int lineY = screenY(static_cast<float>(link.y) + static_cast<float>(link.height) / 2.0f);
    // The n-th fifth of the way along the address.
    const auto alongX = [&](int n) {
        return screenX(static_cast<float>(link.x + link.width * n / 5));
    };
    for (int step = 1; step <= 4; ++step) {
        mouse(alongX(step), lineY, 0);
        EXPECT_EQ(shownCursor(), hand) << "move " << step << " along the address";
    }
    mouse(emptyX, emptyY, 0);
    EXPECT_EQ(shownCursor(), arrow);
    mouse(screenX(static_cast<float>(link.x) - 12.0f), lineY, 0);  // level with it, left of it
    EXPECT_EQ(shownCursor(), arrow);

    // Held, the pointer is captured and the system leaves the cursor alone
    // from move to move: off the address the arrow must come back all the same.
    mouse(emptyX, emptyY, MOUSEEVENTF_LEFTDOWN);
    mouse(alongX(2), lineY, 0);
    mouse(alongX(3), lineY, 0);
    EXPECT_EQ(shownCursor(), hand);
    mouse(emptyX, emptyY, 0);
    EXPECT_EQ(shownCursor(), arrow);
    mouse(emptyX, emptyY, MOUSEEVENTF_LEFTUP);
    mouse(emptyX + 4, emptyY, 0);
    EXPECT_EQ(shownCursor(), arrow);
    EXPECT_TRUE(host->isShowing());

    dialog_session_end(&session);
}

}  // namespace
