// The in-memory backend's view for tests. Windows are records that never go
// away until afx_headless_reset; presenting copies into a per-window
// framebuffer; events are injected through the same dispatcher that the real
// window procedure uses; the backend records invalidations, capture, focus,
// cursor changes and opened web addresses. The screen is settable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "afx/platform/afx_platform.h"
#include "afx/platform/afx_resource_bundle.h"

struct afx_headless_rect {
    int32_t x, y, width, height;
};

// One native window. The native handle the toolkit sees is its address.
struct afx_headless_window {
    std::string class_name;
    afxp_class_kind kind = AFXP_CLASS_UI;
    void* parent = nullptr;
    int32_t x = 0, y = 0, width = 0, height = 0;
    int32_t slot = 0;  // the user data
    bool visible = false;
    bool destroyed = false;
    bool accepts_files = false;
    std::string title;
    int32_t icon = 0;  // last icon id set, 0 for none
    bool timer_running = false;
    uint32_t timer_period_ms = 0;
    int32_t erase_count = 0;  // erases the default procedure carried out
    int32_t paint_count = 0;
    bool painter_released = false;
    std::vector<afx_headless_rect> invalidations;  // every invalidation, in order
    int32_t dirty[4] = {0, 0, 0, 0};               // pending update rectangle (l, t, r, b)
    // What the window shows, 0x00RRGGBB per pixel, rows top to bottom.
    std::vector<uint32_t> framebuffer;
};

// Forgets every window, class and record; screen 1920 x 1080 at 96 dpi, DPI-aware,
// work area the whole screen, clock at 0, no button held.
void afx_headless_reset();

// ---- Screen --------------------------------------------------------------
void afx_headless_set_dpi(int32_t x, int32_t y);
// -1: the process cannot tell (query missing), 0: not DPI-aware, 1: aware.
void afx_headless_set_dpi_aware(int32_t state);
void afx_headless_set_desktop(int32_t width, int32_t height);
void afx_headless_set_work_area(int32_t left, int32_t top, int32_t right, int32_t bottom);

// ---- Clock ---------------------------------------------------------------
void afx_headless_set_ticks(uint32_t ms);
// afx_sleep advances the clock instead of waiting; total slept so far.
uint32_t afx_headless_slept_ms();

// ---- Windows and classes ------------------------------------------------
afx_headless_window* afx_headless_find(void* window);
bool afx_headless_class_registered(const char* name);
// Number of windows created so far (destroyed ones included).
int32_t afx_headless_window_count();
// The n-th window created (0 first); null past the end.
void* afx_headless_window_at(int32_t n);
// Makes the next count window creations fail.
void afx_headless_fail_next_windows(int32_t count);
// Pixel of the framebuffer as 0x00RRGGBB; 0xFFFFFFFF outside it.
uint32_t afx_headless_pixel(void* window, int32_t x, int32_t y);

// ---- Injected events (each returns what the window procedure answered) ----
// Left or right button held for the purpose of move delivery.
void afx_headless_set_buttons_held(bool held);
intptr_t afx_headless_button_down(void* window, int32_t x, int32_t y, int32_t button);
intptr_t afx_headless_button_up(void* window, int32_t x, int32_t y, int32_t button);
intptr_t afx_headless_double_click(void* window, int32_t x, int32_t y);
// Unless some window has the capture, the window's class cursor (the arrow)
// is set first, as the system does before every uncaptured move.
intptr_t afx_headless_move(void* window, int32_t x, int32_t y);
// The pointer sits at (x, y); delta in wheel units (120 a notch, negative down).
intptr_t afx_headless_wheel(void* window, int32_t x, int32_t y, int32_t delta);
intptr_t afx_headless_key(void* window, int32_t key, bool down);
intptr_t afx_headless_close(void* window);
intptr_t afx_headless_erase(void* window);
// Fires the window's timer when it runs; false when no timer runs.
bool afx_headless_timer(void* window);
// Sends a paint when part of the window is invalid; false when nothing is.
bool afx_headless_paint(void* window);
intptr_t afx_headless_drop(void* window, const char* path);
// Any event, as a backend would translate it.
intptr_t afx_headless_send(void* window, const afxp_event& event);

// ---- Records -------------------------------------------------------------
void* afx_headless_capture_window();
void* afx_headless_focus_window();
// The current cursor and every change, in order.
afxp_cursor_kind afx_headless_cursor();
const std::vector<afxp_cursor_kind>& afx_headless_cursor_history();
const std::vector<std::string>& afx_headless_opened_urls();
