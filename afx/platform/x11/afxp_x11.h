// The X11 backend's shared state, seen only by its own files. One connection
// to the X server serves every toolkit window of the process; it is opened on
// first use and closed when the toolkit lets go of its window classes. All of
// it is used on the host's user-interface thread only, so nothing here locks.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "afx/platform/afx_platform.h"

// One toolkit window. The native handle the toolkit sees is the X window id.
struct x11_window {
    Window id = 0;
    std::string class_name;
    afxp_class_kind kind = AFXP_CLASS_UI;
    int32_t slot = 0;
    int32_t width = 0, height = 0;
    int32_t dirty[4] = {0, 0, 0, 0};  // pending update rectangle (l, t, r, b)
    bool background_offered = false;  // the first expose offered the background
    bool dead = false;                // destroyed; the record goes at the next idle
    bool timer_running = false;
    uint32_t timer_id = 0, timer_period_ms = 0, timer_due_ms = 0;
};

// Where the last left press was, for telling a double click.
struct x11_click {
    Window window = 0;
    Time time = 0;
    int32_t x = 0, y = 0;
    bool armed = false;
};

struct x11_state {
    Display* display = nullptr;
    int screen = 0;
    Visual* visual = nullptr;
    int depth = 0;
    Colormap colormap = 0;
    bool shared_memory = false;  // MIT-SHM usable for presenting
    std::vector<std::unique_ptr<x11_window>> windows;
    std::vector<std::string> classes;
    Cursor cursors[4] = {0, 0, 0, 0};  // by afxp_cursor_kind, made on first use
    afxp_cursor_kind cursor = AFXP_CURSOR_ARROW;
    Window pointer_window = 0;   // our window the pointer was last seen in
    bool pointer_known = false;  // pointer_x, pointer_y hold the last move (root pixels)
    int32_t pointer_x = 0, pointer_y = 0;
    Window pressed_in = 0;  // our UI window that took the last press
    Window capture = 0;
    unsigned int buttons = 0;  // X button masks held
    x11_click click;
    uint32_t double_click_ms = 0;
    int32_t dpi = 0;  // Xft.dpi, 0 when not set
};

x11_state& x11();
// The connection, opened on first use; null when there is no X server.
Display* x11_display();
// Closes the connection once no toolkit window or class needs it.
void x11_release_if_idle();

// The record of one of our windows, dead or alive; null for anything else.
x11_window* x11_find(Window id);
x11_window* x11_live(void* window);
inline Window x11_id(void* window) {
    return static_cast<Window>(reinterpret_cast<uintptr_t>(window));
}
inline void* x11_handle(Window id) { return reinterpret_cast<void*>(static_cast<uintptr_t>(id)); }

// Calls made while a trap is set report X errors on our connection to the
// trap instead of the host's error handler, which may end the process.
// Returns true when any of them failed.
class x11_error_trap {
public:
    explicit x11_error_trap(Display* display);
    ~x11_error_trap();
    bool failed();

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*);
};

// Milliseconds of a monotonic clock, wrapping at 2^32.
uint32_t x11_now_ms();
// The cursor of a kind, created on first use.
Cursor x11_cursor(afxp_cursor_kind kind);
// Sends one translated event to the toolkit; the record may be gone after.
intptr_t x11_send(Window id, afxp_event& event);
// A source in the host's GLib main loop that runs the idle work between the
// host's idle calls, added when the calling thread runs that loop; removed
// once no toolkit window is left.
void x11_loop_source_add();
void x11_loop_source_remove();
// Removes the loop source when every window is gone.
void x11_loop_source_drop_if_windowless();
