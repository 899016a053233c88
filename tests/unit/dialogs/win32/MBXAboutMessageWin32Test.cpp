// The About box in a real window under Wine, walked over by real pointer input.
#include <windows.h>

#include <gtest/gtest.h>

#include "afx/afx_context.h"
#include "tests/unit/dialogs/real_pointer_walk.h"
#include "tests/unit/support/win32/real_input.h"

namespace {

TEST(MBXAboutWindow, TheHandStaysOverTheAddressThroughRealMovesAndLeavesWithThePointer) {
    afx_set_module(GetModuleHandleA(nullptr));  // the library's images and fonts are linked in
    DialogSession session;
    ASSERT_TRUE(dialog_session_start(&session));
    const HCURSOR hand = LoadCursorA(nullptr, IDC_HAND), arrow = LoadCursorA(nullptr, IDC_ARROW);
    walkOverTheAddress(
        &session,
        [](void* window, int* x, int* y) {
            SetForegroundWindow(static_cast<HWND>(window));
            pump(50);
            POINT origin{0, 0};
            ClientToScreen(static_cast<HWND>(window), &origin);
            *x = origin.x;
            *y = origin.y;
        },
        [](int x, int y, LeftButton button) {
            mouse(x, y,
                  button == LeftButton::Down ? MOUSEEVENTF_LEFTDOWN
                  : button == LeftButton::Up ? MOUSEEVENTF_LEFTUP
                                             : 0);
        },
        [&] {
            CURSORINFO info{};
            info.cbSize = sizeof(info);
            const HCURSOR shown = GetCursorInfo(&info) ? info.hCursor : nullptr;
            return shown == hand ? kHandCursor : shown == arrow ? kArrowCursor : kOtherCursor;
        });
}

}  // namespace
