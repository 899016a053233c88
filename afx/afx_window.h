// Toolkit windows: the editor's child window inside the host's window and the
// frameless top-level windows of dialogs, their callbacks, timers, capture,
// focus and invalidation. A window is known by its slot index; -1 is none.
#pragma once

#include "afx/afx_context.h"

// A child window of width x height (times scale, rounded) at (0, 0) inside the
// native window parent. The slot index, or -1 when creation fails or all 255
// slots are taken (the window then exists without a slot, user data 255).
int32_t afx_window_new(afx_context* context, int32_t width, int32_t height, float scale,
                       void* parent, void* user);
// A frameless top-level window centred in the primary screen's work area.
int32_t afx_splash_new(afx_context* context, int32_t width, int32_t height, float scale,
                       void* user);
// Stops the timer, releases the device contexts, destroys the window and frees
// the slot. Does nothing for a slot not in use.
void afx_window_close(afx_context* context, int32_t index);
void afx_window_show(afx_context* context, int32_t index);
// Resizes without moving.
void afx_window_resize(afx_context* context, int32_t index, int32_t width, int32_t height);
void afx_window_set_title(afx_context* context, int32_t index, const char* text);
// Big and small icon from the library's icon resource id; a missing icon is not set.
void afx_window_set_icon(afx_context* context, int32_t index, int32_t id);
void afx_window_accept_files(afx_context* context, int32_t index);
// With on, moves are delivered also while no button is held.
void afx_window_track_moves(afx_context* context, int32_t index, bool on);
// The native window of a slot; null when the slot is not in use.
void* afx_window_handle(afx_context* context, int32_t index);

void afx_window_on_paint(afx_context* context, int32_t index, afx_paint_fn fn);
void afx_window_on_button_down(afx_context* context, int32_t index, afx_button_fn fn);
void afx_window_on_button_up(afx_context* context, int32_t index, afx_button_fn fn);
void afx_window_on_move(afx_context* context, int32_t index, afx_move_fn fn);
void afx_window_on_double_click(afx_context* context, int32_t index, afx_button_fn fn);
void afx_window_on_close_query(afx_context* context, int32_t index, afx_close_query_fn fn);
void afx_window_on_key_down(afx_context* context, int32_t index, afx_key_fn fn);
void afx_window_on_key_up(afx_context* context, int32_t index, afx_key_fn fn);
void afx_window_on_drop_file(afx_context* context, int32_t index, afx_drop_fn fn);
// Stores fn and starts the window's timer (id 1) with the context's period.
void afx_window_on_timer(afx_context* context, int32_t index, afx_timer_fn fn);
// Period for timers started from now on, in milliseconds.
void afx_set_window_timer_period(afx_context* context, uint32_t ms);

// Marks a rectangle of the window for repainting, without erasing.
void afx_invalidate(afx_context* context, int32_t index, int32_t x, int32_t y, int32_t width,
                    int32_t height);
void afx_capture(afx_context* context, int32_t index);
void afx_release_capture(afx_context* context);
// Takes the keyboard focus away from every window of the thread.
void afx_clear_focus(afx_context* context);

// Outer size of a native window that the toolkit does not own (the host's
// parent window); false when it cannot be read.
bool afx_native_window_size(void* window, int32_t* width, int32_t* height);
// Resizes such a window without moving it.
void afx_native_window_resize(void* window, int32_t width, int32_t height);

// Runs the toolkit's windows for a moment on the calling thread, the host's
// user-interface thread: pending input, paints and due timers. A host's
// editor idle call comes here; where the window system delivers through the
// host's own event loop there is nothing to do.
void afx_idle(afx_context* context);
