// The toolkit's process-wide context: the window table, the window-class
// names, the cached screen scale, the pointer history of drags and the saved
// cursor. One context exists per loaded library, created at library attach
// and torn down at detach; everything here runs on the windows' thread.
#pragma once

#include <cstdint>

struct afx_context;
struct afx_lock;

// Window callbacks. Coordinates are window pixels; index is the window's slot.
typedef void (*afx_paint_fn)(int32_t x, int32_t y, int32_t width, int32_t height, int32_t index,
                             void* user);
// button: 0 left, 1 right, 2 wheel up (and every wheel release), 3 wheel down.
typedef void (*afx_button_fn)(int32_t x, int32_t y, int32_t button, int32_t index, void* user);
typedef void (*afx_move_fn)(int32_t x, int32_t y, int32_t index, void* user);
// true lets the window close.
typedef bool (*afx_close_query_fn)(int32_t index, void* user);
// zero is always 0; pressed is 1 for key-down, 0 for key-up.
typedef void (*afx_key_fn)(int32_t zero, int32_t key, int32_t pressed, int32_t index, void* user);
typedef void (*afx_drop_fn)(const char* path, int32_t index, void* user, afx_context* context);
typedef void (*afx_timer_fn)(void* user);

// One slot of the window table.
struct afx_window {
    void* window;   // native window
    void* painter;  // what puts bitmaps on the window (released on close)
    afx_paint_fn on_paint;
    afx_button_fn on_button_down;
    afx_button_fn on_button_up;
    afx_move_fn on_move;
    afx_button_fn on_double_click;
    afx_close_query_fn on_close_query;
    afx_key_fn on_key_down;
    afx_key_fn on_key_up;
    afx_drop_fn on_drop_file;
    afx_timer_fn on_timer;
    void* user;
    uint8_t in_use;
    uint8_t erase_pending;
    uint8_t track_all_moves;
};

constexpr int32_t kAfxWindowSlots = 255;
constexpr uint32_t kAfxWindowTimerId = 1;

struct afx_context {
    afx_window windows[kAfxWindowSlots];
    uint32_t window_timer_period_ms;
    float dpi_scale;  // 0 until first computed
    double last_mouse_x;
    double last_mouse_y;
    char ui_class[256];
    char splash_class[256];
    void* saved_cursor;        // cursor current before the last temporary one
    int32_t temporary_cursor;  // temporary cursor kind switched on and not off since; 0 (the arrow)
                               // for none
    afx_lock* process_lock;    // made with the context, freed with it
};

// The library's module handle: window classes are registered with it and
// resources are looked up in it. Set by the library's load routine.
void afx_set_module(void* module);
void* afx_get_module();

// The global context; with create and none existing, allocates and resets one.
// Null when it does not exist (and create is false) or cannot be allocated.
afx_context* afx_context_get(bool create);
// Formats the UI ("%s-UI") and splash ("%s-SPLASH") class names from name.
void afx_set_class_base(afx_context* context, const char* name);
// Closes every window in use, waits for the window procedure to be left,
// then unregisters both classes.
void afx_destroy_all(afx_context* context);
// Forgets the global context; the caller then frees it with afx_context_free.
void afx_context_release(afx_context* context);
void afx_context_free(afx_context* context);

// Clears a slot to its reset state (everything null, erase pending).
void afx_window_slot_reset(afx_window* slot);

// True while a window procedure of the toolkit is running.
bool afx_in_window_procedure();

// The screen's scale: 1.0 for 96 dpi or a process that is not DPI-aware,
// dpi / 96 above that, capped at 2.0. Computed once, then cached.
float afx_dpi_scale(afx_context* context);
// Size of the desktop window's rectangle in device pixels.
void afx_desktop_size(afx_context* context, int32_t* width, int32_t* height);
// Size of the primary screen's work area (the desktop less the task bar).
void afx_work_area_size(afx_context* context, int32_t* width, int32_t* height);

// Drag deltas: x minus the last x (right positive); last y minus y (up positive).
// Each stores the new position.
float afx_mouse_dx(afx_context* context, double x);
float afx_mouse_dy(afx_context* context, double y);
void afx_mouse_reset(afx_context* context, double x, double y);

// Temporary cursors. With on: set the system cursor and remember the previous
// one; without: put the saved one back when there is one.
void afx_cursor_wait(afx_context* context, bool on);
void afx_cursor_hand(afx_context* context, bool on);
void afx_cursor_resize(afx_context* context, bool on);
// Sets the saved cursor, or the arrow when none is saved.
void afx_cursor_restore(afx_context* context);

// Millisecond stopwatch over the system tick count (wraps after 49.7 days).
struct afx_stopwatch {
    uint32_t start_ms;
};
void afx_stopwatch_start(afx_stopwatch* watch);
// Milliseconds since start, unsigned and wrapping.
uint32_t afx_stopwatch_elapsed(const afx_stopwatch* watch);
// Sleeps; a negative duration does nothing.
void afx_sleep(int32_t ms);

// A mutual-exclusion lock (a critical section on Windows). Null on failure;
// every operation on a null lock does nothing.
afx_lock* afx_lock_new();
void afx_lock_free(afx_lock* lock);
void afx_lock_enter(afx_lock* lock);
void afx_lock_leave(afx_lock* lock);

// The process-wide lock, made together with the context when the library
// starts (so it exists before any second thread can race for a shared
// object) and freed with the context. Null without a context.
afx_lock* afx_process_lock(afx_context* context);

// Opens a web address in the user's browser ("open" verb, normal window).
void afx_open_url(afx_context* context, const char* url);
