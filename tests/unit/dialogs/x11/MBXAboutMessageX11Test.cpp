// The About box in a real X11 dialog window on the project's Xvfb, moved
// over by real pointer input (XTEST), with the cursor the screen shows read
// back through XFIXES: the same rule as under Windows, where the system puts
// the arrow back before every move it does not capture. The hand must show
// for as long as the pointer stays over the web address, and the arrow once
// it leaves, held or not.
// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <ctime>

#include <vector>

#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXHost.h"
#include "dialogs/MBXManager.h"
#include "tests/unit/dialogs/dialog_session.h"

void* korvex_dialog_x11_resources_module();

namespace {

class Screen {
public:
    explicit Screen(afx_context* ctx) : ctx_(ctx), display_(XOpenDisplay(nullptr)) {}
    ~Screen() {
        if (display_) XCloseDisplay(display_);
    }
    bool open() const { return display_ != nullptr; }
    // The cursor shown now: size, hot spot and pixels.
    std::vector<unsigned long> shown() {
        XSync(display_, False);
        std::vector<unsigned long> shape;
        if (XFixesCursorImage* c = XFixesGetCursorImage(display_)) {
            shape = {c->width, c->height, c->xhot, c->yhot};
            shape.insert(shape.end(), c->pixels, c->pixels + c->width * c->height);
            XFree(c);
        }
        return shape;
    }
    // What a font cursor looks like: shown over a window of our own.
    std::vector<unsigned long> lookOf(unsigned int shape) {
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.cursor = XCreateFontCursor(display_, shape);
        const Window w =
            XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, 20, 20, 0, CopyFromParent,
                          InputOnly, CopyFromParent, CWOverrideRedirect | CWCursor, &a);
        XMapRaised(display_, w);
        move(10, 10, false);
        std::vector<unsigned long> look = shown();
        XDestroyWindow(display_, w);
        XFreeCursor(display_, a.cursor);
        return look;
    }
    // Real pointer input, then the host's idle calls for 25 ms.
    void move(int x, int y, bool button, bool down = false) {
        XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
        if (button) XTestFakeButtonEvent(display_, 1, down, CurrentTime);
        XSync(display_, False);
        for (int i = 0; i < 5; ++i) {
            afx_idle(ctx_);
            timespec t{0, 5000000L};
            nanosleep(&t, nullptr);
        }
    }
    Display* display() const { return display_; }

private:
    afx_context* ctx_;
    Display* display_;
};

TEST(MBXAboutX11Window, TheHandStaysOverTheAddressThroughRealMovesAndLeavesWithThePointer) {
    afx_set_module(korvex_dialog_x11_resources_module());
    DialogSession session;
    ASSERT_TRUE(dialog_session_start(&session));
    Screen screen(session.ctx);
    ASSERT_TRUE(screen.open()) << "no X display (run through tools/wine-env.sh display)";
    const std::vector<unsigned long> hand = screen.lookOf(XC_hand2),
                                     arrow = screen.lookOf(XC_left_ptr);
    ASSERT_NE(hand, arrow);
    MBXHost* host = session.host;
    host->openAbout();
    ASSERT_TRUE(host->isShowing());
    screen.move(0, 0, false);

    // Page pixel to screen pixel: the window's origin plus the page zoomed.
    const Window window = static_cast<Window>(
        reinterpret_cast<uintptr_t>(afx_window_handle(session.ctx, host->window())));
    int ox = 0, oy = 0;
    Window child = 0;
    XTranslateCoordinates(screen.display(), window, DefaultRootWindow(screen.display()), 0, 0, &ox,
                          &oy, &child);
    const float zoom = host->pageZoom();
    const auto screenX = [&](float x) { return ox + static_cast<int>(x * zoom + 0.5f); };
    const auto screenY = [&](float y) { return oy + static_cast<int>(y * zoom + 0.5f); };
    const MBXAboutMessage::HotSpot link =
        static_cast<const MBXAboutMessage*>(host->dialogs()->top())->link();
    ASSERT_GT(link.width, 0);

    const int emptyX = screenX(600.0f), emptyY = screenY(200.0f);  // nothing clickable there
    screen.move(emptyX, emptyY, false);
    EXPECT_EQ(screen.shown(), arrow);
    const int lineY = screenY(static_cast<float>(link.y) + static_cast<float>(link.height) / 2.0f);
    const auto alongX = [&](int n) {
        return screenX(static_cast<float>(link.x + link.width * n / 5));
    };
    for (int step = 1; step <= 4; ++step) {
        screen.move(alongX(step), lineY, false);
        EXPECT_EQ(screen.shown(), hand) << "move " << step << " along the address";
    }
    screen.move(emptyX, emptyY, false);
    EXPECT_EQ(screen.shown(), arrow);
    screen.move(screenX(static_cast<float>(link.x) - 12.0f), lineY,
                false);  // level with it, left of it
    EXPECT_EQ(screen.shown(), arrow);

    // Held, the pointer is captured: off the address the arrow must come back all the same.
    screen.move(emptyX, emptyY, true, true);
    screen.move(alongX(2), lineY, false);
    screen.move(alongX(3), lineY, false);
    EXPECT_EQ(screen.shown(), hand);
    screen.move(emptyX, emptyY, false);
    EXPECT_EQ(screen.shown(), arrow);
    screen.move(emptyX, emptyY, true, false);
    screen.move(emptyX + 4, emptyY, false);
    EXPECT_EQ(screen.shown(), arrow);
    EXPECT_TRUE(host->isShowing());

    dialog_session_end(&session);
}

}  // namespace
