// The About box in a real X11 window walked over by real pointer input (XTEST),
// the cursor read back through XFIXES. GoogleTest first: Xlib's macros break it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <ctime>

#include <vector>

#include "afx/afx_context.h"
#include "tests/unit/dialogs/real_pointer_walk.h"

void* korvex_dialog_x11_resources_module();

namespace {

std::vector<unsigned long> shownShape(Display* display) {
    XSync(display, False);
    std::vector<unsigned long> shape;
    if (XFixesCursorImage* c = XFixesGetCursorImage(display)) {
        shape = {c->width, c->height, c->xhot, c->yhot};
        shape.insert(shape.end(), c->pixels, c->pixels + c->width * c->height);
        XFree(c);
    }
    return shape;
}

// Real pointer input, then 25 ms of the host's idle calls.
void move(Display* display, afx_context* ctx, int x, int y, LeftButton button) {
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    if (button != LeftButton::Untouched)
        XTestFakeButtonEvent(display, 1, button == LeftButton::Down, CurrentTime);
    XSync(display, False);
    for (int i = 0; i < 5; ++i) {
        afx_idle(ctx);
        timespec t{0, 5000000L};
        nanosleep(&t, nullptr);
    }
}

// A font cursor's look, shown over a window of our own.
std::vector<unsigned long> lookOf(Display* display, afx_context* ctx, unsigned int font) {
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.cursor = XCreateFontCursor(display, font);
    const Window w =
        XCreateWindow(display, DefaultRootWindow(display), 0, 0, 20, 20, 0, CopyFromParent,
                      InputOnly, CopyFromParent, CWOverrideRedirect | CWCursor, &a);
    XMapRaised(display, w);
    move(display, ctx, 10, 10, LeftButton::Untouched);
    std::vector<unsigned long> look = shownShape(display);
    XDestroyWindow(display, w);
    XFreeCursor(display, a.cursor);
    return look;
}

TEST(MBXAboutX11Window, TheHandStaysOverTheAddressThroughRealMovesAndLeavesWithThePointer) {
    afx_set_module(korvex_dialog_x11_resources_module());
    DialogSession session;
    ASSERT_TRUE(dialog_session_start(&session));
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "no X display (run through tools/wine-env.sh display)";
    const auto hand = lookOf(display, session.ctx, XC_hand2),
               arrow = lookOf(display, session.ctx, XC_left_ptr);
    ASSERT_NE(hand, arrow);
    walkOverTheAddress(
        &session,
        [&](void* window, int* x, int* y) {
            move(display, session.ctx, 0, 0, LeftButton::Untouched);
            Window child = 0;
            XTranslateCoordinates(display, static_cast<Window>(reinterpret_cast<uintptr_t>(window)),
                                  DefaultRootWindow(display), 0, 0, x, y, &child);
        },
        [&](int x, int y, LeftButton button) { move(display, session.ctx, x, y, button); },
        [&] {
            const std::vector<unsigned long> shown = shownShape(display);
            return shown == hand ? kHandCursor : shown == arrow ? kArrowCursor : kOtherCursor;
        });
    XCloseDisplay(display);
}

}  // namespace
