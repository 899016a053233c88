// The Win32 backend with real windows (under Wine and Xvfb in our runs): the
// window shows what the in-memory backend renders, real input arrives with the
// shared gesture table's codes, and dropped files arrive through the shell's
// record. The timer, cursors and the scale rule are the in-memory tests' and
// the X11 test's.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "golden_image.h"
#include "tests/unit/afx/afx_test_support.h"
#include "tests/unit/support/win32/real_input.h"

namespace {

class Win32Toolkit : public ::testing::Test {
protected:
    void SetUp() override {
        afx_pointer_seen().clear();
        afx_set_module(GetModuleHandleA(nullptr));
        ctx = afx_context_get(true);
        afx_set_class_base(ctx, "27D706069AC8");
        WNDCLASSA wc{0,       DefWindowProcA, 0,       0,       GetModuleHandleA(nullptr),
                     nullptr, nullptr,        nullptr, nullptr, "korvex-test-host"};
        RegisterClassA(&wc);  // a second registration fails harmlessly
        host = CreateWindowExA(0, "korvex-test-host", "host", WS_POPUP | WS_VISIBLE,
                               kAfxPointerHostX, kAfxPointerHostY, 400, 300, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host, nullptr);
        SetForegroundWindow(host);
        pump(30);
    }
    void TearDown() override {
        afx_destroy_all(ctx);
        afx_context_release(ctx);
        afx_context_free(ctx);
        DestroyWindow(host);
        pump(10);
    }
    // A shown child with a paint callback (without one, paint messages never stop).
    int32_t child(int32_t w, int32_t h) {
        const int32_t index = afx_window_new(ctx, w, h, 1.0f, host, nullptr);
        afx_window_on_paint(ctx, index, [](int32_t, int32_t, int32_t, int32_t, int32_t, void*) {});
        afx_window_show(ctx, index);
        UpdateWindow(hwnd(index));
        return index;
    }
    HWND hwnd(int32_t index) { return static_cast<HWND>(afx_window_handle(ctx, index)); }

    afx_context* ctx = nullptr;
    HWND host = nullptr;
};

// What a device context shows of the scene's rectangle at (x, y).
GoldenPicture capture(HDC source, int x, int y) {
    BITMAPINFO bi{};
    bi.bmiHeader = {
        sizeof(BITMAPINFOHEADER), kSceneWidth, -kSceneHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(source);
    HBITMAP bmp = CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, kSceneWidth, kSceneHeight, source, x, y, SRCCOPY);
    GdiFlush();
    GoldenPicture out{kSceneWidth, kSceneHeight, {}};
    for (int i = 0; i < kSceneWidth * kSceneHeight; ++i)
        out.pixels.push_back(static_cast<const uint32_t*>(bits)[i] & 0xFFFFFFu);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    return out;
}

TEST_F(Win32Toolkit, TheWindowAndTheScreenShowExactlyWhatTheInMemoryBackendRenders) {
    GoldenPicture expected;
    ASSERT_TRUE(golden_read_png(KORVEX_SCENE_FILE, &expected)) << KORVEX_SCENE_FILE;
    afx_test_scene scene;
    const int32_t index = afx_window_new(ctx, kSceneWidth, kSceneHeight, 1.0f, host, &scene);
    ASSERT_TRUE(afx_test_scene_open(&scene, ctx, index));
    afx_window_on_paint(ctx, index, afx_test_scene_paint);
    afx_window_show(ctx, index);
    UpdateWindow(hwnd(index));
    pump(60);
    HDC windowDc = GetDC(hwnd(index));
    EXPECT_TRUE(golden_compare("afx-scene-wine-window", expected, capture(windowDc, 0, 0)));
    ReleaseDC(hwnd(index), windowDc);
    POINT at{0, 0};
    ClientToScreen(hwnd(index), &at);
    HDC screen = GetDC(nullptr);
    EXPECT_TRUE(golden_compare("afx-scene-wine-screen", expected, capture(screen, at.x, at.y)));
    ReleaseDC(nullptr, screen);
    afx_test_scene_close(&scene);
}

TEST_F(Win32Toolkit, RealPointerInputAndKeysReachTheCallbacksWithTheirCodes) {
    const int32_t index = child(200, 150);
    afx_pointer_record(ctx, index);
    static const DWORD flags[] = {0,
                                  MOUSEEVENTF_LEFTDOWN,
                                  MOUSEEVENTF_LEFTUP,
                                  MOUSEEVENTF_RIGHTDOWN,
                                  MOUSEEVENTF_RIGHTUP,
                                  MOUSEEVENTF_WHEEL,
                                  MOUSEEVENTF_WHEEL};
    for (const afx_pointer_step& step : kAfxPointerScript)
        mouse(kAfxPointerHostX + step.x, kAfxPointerHostY + step.y,
              flags[static_cast<int>(step.action)],
              step.action == afx_pa::WheelUp     ? WHEEL_DELTA
              : step.action == afx_pa::WheelDown ? -WHEEL_DELTA
                                                 : 0);
    EXPECT_EQ(afx_pointer_seen(), kAfxPointerCallbacks);
    EXPECT_EQ(GetFocus(), hwnd(index));  // a press gives the window the keyboard focus
    afx_pointer_seen().clear();
    for (const BYTE key : {BYTE(VK_ESCAPE), BYTE('A'), BYTE(VK_RETURN), BYTE(VK_LEFT)}) {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        pump(20);
    }
    EXPECT_EQ(afx_pointer_seen(), kAfxPointerKeys);
}

TEST_F(Win32Toolkit, DroppedFilesComeThroughTheShellsRecord) {
    const int32_t index = child(40, 40);
    HWND w = hwnd(index);
    afx_window_accept_files(ctx, index);
    afx_window_on_drop_file(ctx, index, [](const char* path, int32_t, void*, afx_context*) {
        afx_pointer_seen() = path;
    });
    // A drop record as the shell makes it: the header, then the terminated path.
    const char path[] = "C:\\takes\\vocal.wav";
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + sizeof(path) + 1);
    auto* d = static_cast<DROPFILES*>(GlobalLock(g));
    d->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(d) + sizeof(DROPFILES), path, sizeof(path));
    GlobalUnlock(g);
    PostMessageA(w, WM_DROPFILES, reinterpret_cast<WPARAM>(g), 0);
    pump(100);
    EXPECT_EQ(afx_pointer_seen(), path);
}

}  // namespace
