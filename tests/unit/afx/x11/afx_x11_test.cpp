// The X11 backend with real windows on the project's Xvfb display.
// GoogleTest first: Xlib's macros (None, Bool) would break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <chrono>
#include <thread>

#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "golden_image.h"
#include "tests/unit/afx/afx_test_support.h"

namespace {

// The host's idle calls, every 5 ms or so, for ms milliseconds.
void idleFor(afx_context* ctx, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        afx_idle(ctx);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
    afx_idle(ctx);
}

class X11Toolkit : public ::testing::Test {
protected:
    void SetUp() override {
        afx_pointer_seen().clear();
        display = XOpenDisplay(nullptr);
        ASSERT_NE(display, nullptr) << "no X display (run through tools/wine-env.sh display)";
        afx_set_module(korvex_afx_test_resources_module());
        ctx = afx_context_get(true);
        afx_set_class_base(ctx, "27D706069AC8");
        // A frameless host window at a known place, like a DAW's plug-in window.
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.background_pixel = WhitePixel(display, DefaultScreen(display));
        host = XCreateWindow(display, DefaultRootWindow(display), kAfxPointerHostX,
                             kAfxPointerHostY, 400, 300, 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWOverrideRedirect | CWBackPixel, &a);
        XMapRaised(display, host);
        XSync(display, False);
    }
    void TearDown() override {
        afx_destroy_all(ctx);
        afx_context_release(ctx);
        afx_context_free(ctx);
        if (host) XDestroyWindow(display, host);
        XCloseDisplay(display);
    }
    void* hostHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(host)); }
    Window child(int32_t index) {
        return static_cast<Window>(reinterpret_cast<uintptr_t>(afx_window_handle(ctx, index)));
    }

    Display* display = nullptr;
    Window host = 0;
    afx_context* ctx = nullptr;
};

TEST_F(X11Toolkit, TheWindowShowsExactlyWhatTheInMemoryBackendRenders) {
    GoldenPicture expected, shown{kSceneWidth, kSceneHeight, {}};
    ASSERT_TRUE(golden_read_png(KORVEX_SCENE_FILE, &expected)) << KORVEX_SCENE_FILE;
    afx_test_scene scene;
    const int32_t index =
        afx_window_new(ctx, kSceneWidth, kSceneHeight, 1.0f, hostHandle(), &scene);
    ASSERT_GE(index, 0);
    ASSERT_TRUE(afx_test_scene_open(&scene, ctx, index));
    afx_window_on_paint(ctx, index, afx_test_scene_paint);
    afx_window_show(ctx, index);
    idleFor(ctx, 100);
    XImage* image =
        XGetImage(display, child(index), 0, 0, kSceneWidth, kSceneHeight, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    for (int32_t y = 0; y < kSceneHeight; ++y)
        for (int32_t x = 0; x < kSceneWidth; ++x)
            shown.pixels.push_back(uint32_t(XGetPixel(image, x, y) & 0xFFFFFFu));
    XDestroyImage(image);
    EXPECT_TRUE(golden_compare("afx-scene-x11", expected, shown));
    int32_t w = 0, h = 0;  // the host window, as the editor measures it to resize it
    ASSERT_TRUE(afx_native_window_size(hostHandle(), &w, &h));
    EXPECT_EQ(w * 1000 + h, 400300);
    afx_test_scene_close(&scene);
}

TEST_F(X11Toolkit, RealPointerInputAndKeysGiveTheSameCallbacksAsOnWindows) {
    const int32_t index = afx_window_new(ctx, 200, 150, 1.0f, hostHandle(), nullptr);
    ASSERT_GE(index, 0);
    afx_window_on_paint(ctx, index, [](int32_t, int32_t, int32_t, int32_t, int32_t, void*) {});
    afx_pointer_record(ctx, index);
    afx_window_show(ctx, index);
    idleFor(ctx, 50);
    // X buttons: 1 left, 3 right, 4 and 5 the wheel's notches up and down.
    static const unsigned int buttons[] = {0, 1, 1, 3, 3, 4, 5};
    for (const afx_pointer_step& step : kAfxPointerScript) {
        XTestFakeMotionEvent(display, DefaultScreen(display), kAfxPointerHostX + step.x,
                             kAfxPointerHostY + step.y, CurrentTime);
        const unsigned int button = buttons[static_cast<int>(step.action)];
        const bool wheel = step.action == afx_pa::WheelUp || step.action == afx_pa::WheelDown;
        if (button)
            XTestFakeButtonEvent(display, button,
                                 step.action != afx_pa::LeftUp && step.action != afx_pa::RightUp,
                                 CurrentTime);
        if (wheel) XTestFakeButtonEvent(display, button, False, CurrentTime);
        XSync(display, False);
        idleFor(ctx, 25);
    }
    EXPECT_EQ(afx_pointer_seen(), kAfxPointerCallbacks);
    // The presses gave the window the keyboard focus: keys arrive with the
    // toolkit's codes, Escape 27, A 65, Enter 13, Left 37.
    afx_pointer_seen().clear();
    for (KeySym sym : {XK_Escape, XK_a, XK_Return, XK_Left}) {
        const KeyCode code = XKeysymToKeycode(display, sym);
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        XSync(display, False);
        idleFor(ctx, 20);
    }
    EXPECT_EQ(afx_pointer_seen(), kAfxPointerKeys);
}

TEST_F(X11Toolkit, DialogsAreFramelessCentredTickFromIdleCallsAndCloseAtTheWindowManagersRequest) {
    const int32_t index = afx_splash_new(ctx, 640, 480, 1.0f, nullptr);
    ASSERT_GE(index, 0);
    static int queries = 0;
    afx_window_on_close_query(ctx, index, [](int32_t, void*) { return ++queries > 0; });
    static int ticks = 0;
    afx_set_window_timer_period(ctx, 40);
    afx_window_on_timer(ctx, index, [](void*) { ++ticks; });
    afx_window_show(ctx, index);
    idleFor(ctx, 600);
    // 600 ms at 40 ms is 15 ticks; a loaded machine stretches the idle calls.
    EXPECT_GE(ticks, 10);
    EXPECT_LE(ticks, 15);
    const Window w = child(index);
    // Without a window manager's work area, the screen's centre.
    XWindowAttributes a{};
    XGetWindowAttributes(display, w, &a);
    EXPECT_EQ(a.x, (DisplayWidth(display, DefaultScreen(display)) - 640) / 2);
    EXPECT_EQ(a.y, (DisplayHeight(display, DefaultScreen(display)) - 480) / 2);
    // Motif hints: flags 2 (decorations given), decorations 0.
    const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    Atom type = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(display, w, motif, 0, 5, False, motif, &type, &format, &n, &after,
                                 &data),
              Success);
    ASSERT_EQ(n, 5u);
    EXPECT_EQ(reinterpret_cast<long*>(data)[0], 2);
    EXPECT_EQ(reinterpret_cast<long*>(data)[2], 0);
    XFree(data);
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = w;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, w, False, NoEventMask, &close);
    XSync(display, False);
    const int before = ticks;
    idleFor(ctx, 120);
    EXPECT_EQ(queries, 1);
    EXPECT_EQ(ctx->windows[index].in_use, 0);  // the close query let it go
    EXPECT_EQ(ticks, before);                  // and closing stopped the timer
}

TEST_F(X11Toolkit, TheHostDestroyingItsWindowFreesTheEditorsSlot) {
    const int32_t index = afx_window_new(ctx, 50, 50, 1.0f, hostHandle(), nullptr);
    afx_window_show(ctx, index);
    idleFor(ctx, 30);
    XDestroyWindow(display, host);  // as a host closing its plug-in window
    host = 0;
    XSync(display, False);
    idleFor(ctx, 60);
    EXPECT_EQ(ctx->windows[index].in_use, 0);
}

}  // namespace
