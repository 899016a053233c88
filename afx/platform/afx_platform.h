// The fence between the portable toolkit and the windowing system.
// Every function named afxp_ is implemented once per backend: win32/ (Windows),
// x11/ (Linux over Xlib) and headless/ (in-memory records for tests). The
// portable afx_ code calls nothing else of the platform, and this header
// speaks only the toolkit's terms: windows, painters, bitmaps, events and key
// codes. Native handles (windows, painters, bitmaps, cursors, modules) travel
// as void*; the portable side never looks inside them.
#pragma once

#include <cstddef>
#include <cstdint>

// What a backend translates its native events into. The portable dispatcher
// (afx_window_dispatch) applies the toolkit's rules to these.
enum afxp_event_kind : int32_t {
    AFXP_EVENT_OTHER = 0,     // anything else: default processing
    AFXP_EVENT_PAINT,         // part of the window needs painting
    AFXP_EVENT_BACKGROUND,    // the system offers to fill the background
    AFXP_EVENT_CLOSE,         // close request; value = the key code that asked, or 0
    AFXP_EVENT_DESTROY,       // the window is being destroyed
    AFXP_EVENT_FRAME,         // the system asks how much frame the window has
    AFXP_EVENT_TIMER,         // value = timer id
    AFXP_EVENT_KEY_DOWN,      // value = key code (afxp_key)
    AFXP_EVENT_KEY_UP,        // value = key code (afxp_key)
    AFXP_EVENT_MOVE,          // pointer moved to (x, y)
    AFXP_EVENT_BUTTON_DOWN,   // value = 0 left, 1 right
    AFXP_EVENT_BUTTON_UP,     // value = 0 left, 1 right
    AFXP_EVENT_DOUBLE_CLICK,  // value = 0 left
    AFXP_EVENT_WHEEL,         // value = wheel travel, 120 a notch, positive away from the user
    AFXP_EVENT_DROP_FILES,    // drop = the backend's record of the dropped files
};

// The key codes the toolkit's key callbacks receive. Letters and digits are
// their upper-case ASCII codes; every backend maps its own key names to these.
enum afxp_key : int32_t {
    AFXP_KEY_BACKSPACE = 8,
    AFXP_KEY_TAB = 9,
    AFXP_KEY_ENTER = 13,
    AFXP_KEY_SHIFT = 16,
    AFXP_KEY_CONTROL = 17,
    AFXP_KEY_ALT = 18,
    AFXP_KEY_ESCAPE = 27,
    AFXP_KEY_SPACE = 32,
    AFXP_KEY_PAGE_UP = 33,
    AFXP_KEY_PAGE_DOWN = 34,
    AFXP_KEY_END = 35,
    AFXP_KEY_HOME = 36,
    AFXP_KEY_LEFT = 37,
    AFXP_KEY_UP = 38,
    AFXP_KEY_RIGHT = 39,
    AFXP_KEY_DOWN = 40,
    AFXP_KEY_DELETE = 46,
};

struct afxp_event {
    int32_t kind;   // afxp_event_kind
    int32_t x, y;   // pointer in window pixels
    int32_t value;  // see afxp_event_kind
    void* drop;     // the backend's dropped-files record (AFXP_EVENT_DROP_FILES)
    // The backend's own record of what arrived, handed back to afxp_default.
    const void* native;
};

// Storage a backend needs between the start and the end of one paint.
struct afxp_paint {
    alignas(8) unsigned char opaque[128];
};

enum afxp_class_kind : int32_t { AFXP_CLASS_UI = 0, AFXP_CLASS_SPLASH = 1 };
enum afxp_cursor_kind : int32_t {
    AFXP_CURSOR_ARROW = 0,
    AFXP_CURSOR_WAIT,
    AFXP_CURSOR_HAND,
    AFXP_CURSOR_RESIZE
};

// ---- Up-call, implemented by the portable toolkit ------------------------
// Every native event of a toolkit window goes through here; slot is what the
// window's user data holds. Returns the event's result.
intptr_t afx_window_dispatch(void* window, int32_t slot, const afxp_event* event);

// ---- Resources -------------------------------------------------------------
// The bytes of resource id of type "BINARY", language 1033, in module; null
// when missing. The memory belongs to the module and stays valid while it is loaded.
const void* afxp_resource_find(void* module, uint32_t id, uint32_t* size_bytes);

// ---- Window classes and windows ---------------------------------------------
// Registers a toolkit window class; false when it fails (usually: it exists).
bool afxp_class_register(void* module, const char* name, afxp_class_kind kind);
void afxp_class_unregister(void* module, const char* name);
// A child window (parent given) or a frameless top-level window (parent null)
// of class_name; null on failure.
void* afxp_window_create(void* module, const char* class_name, afxp_class_kind kind, int32_t x,
                         int32_t y, int32_t width, int32_t height, void* parent);
void afxp_window_destroy(void* window);
// The slot index kept in the window's user data.
void afxp_window_set_slot(void* window, int32_t slot);
bool afxp_window_class_is(void* window, const char* class_name);
void afxp_window_show(void* window);
void afxp_window_resize(void* window, int32_t width, int32_t height);
void afxp_window_set_title(void* window, const char* text);
// Loads icon id from module at the default size; false when it does not load.
bool afxp_window_set_icon(void* module, void* window, int32_t id);
void afxp_window_accept_files(void* window);
// Marks the rectangle for repainting without erasing it.
void afxp_window_invalidate(void* window, int32_t x, int32_t y, int32_t width, int32_t height);
void afxp_window_focus(void* window);
void afxp_focus_clear();
void afxp_capture(void* window);
void afxp_capture_release();
// True while the left or the right mouse button is held.
bool afxp_buttons_held();
void afxp_timer_start(void* window, uint32_t id, uint32_t period_ms);
void afxp_timer_kill(void* window, uint32_t id);
// The system's default handling of what arrived in event.
intptr_t afxp_default(void* window, const afxp_event* event);
// Handles, on the calling thread, whatever the window system has pending for
// the toolkit's windows: its events, due timers and paints. Where the system
// delivers these itself through the host's own event loop, it does nothing.
void afxp_idle();
// Starts painting and reports the update rectangle (left, top, right, bottom).
void afxp_paint_begin(void* window, afxp_paint* paint, int32_t rect[4]);
void afxp_paint_end(void* window, afxp_paint* paint);
// Path of the first dropped file, allocated with malloc (caller frees); null on failure.
char* afxp_drop_path(const afxp_event* event);
void afxp_drop_finish(const afxp_event* event);
// Outer size and resize of any native window (the host's parent window).
bool afxp_native_window_size(void* window, int32_t* width, int32_t* height);
void afxp_native_window_resize(void* window, int32_t width, int32_t height);

// ---- Painters and bitmaps ----------------------------------------------------
// What a backend needs to put bitmaps on a window, made once per toolkit
// window; null on failure. Freed with the window it was made for.
void* afxp_painter_new(void* window);
void afxp_painter_free(void* window, void* painter);
// A 24-bit top-down bitmap for the painter's window (painter may be null: a
// bitmap for no window yet): rows of stride bytes, blue, green, red per
// pixel. pixels receives its memory (owned by the bitmap). Null on failure.
void* afxp_bitmap_create(void* painter, int32_t width, int32_t height, uint32_t stride,
                         void** pixels);
void afxp_bitmap_delete(void* bitmap);
// Plain copy of (sx, sy, width, height) of bitmap to (dx, dy) of the painter's
// window; the caller keeps the source rectangle inside the bitmap.
void afxp_blit(void* painter, void* bitmap, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
               int32_t width, int32_t height);

// ---- Cursors and screen ------------------------------------------------------
// Sets a system cursor; returns the cursor that was current before.
void* afxp_cursor_set(afxp_cursor_kind kind);
void afxp_cursor_set_native(void* cursor);
// -1 when the process cannot tell (no such query), 0 not DPI-aware, 1 aware.
int32_t afxp_dpi_aware();
// Logical pixels per inch of the screen, horizontally and vertically.
void afxp_screen_dpi(int32_t* x, int32_t* y);
void afxp_desktop_size(int32_t* width, int32_t* height);
// Work area of the primary screen: left, top, right, bottom.
void afxp_work_area(int32_t rect[4]);

// ---- Time, locks, shell -------------------------------------------------------
// Millisecond tick count, wrapping at 2^32.
uint32_t afxp_ticks_ms();
void afxp_sleep_ms(uint32_t ms);
void* afxp_lock_new();
void afxp_lock_free(void* lock);
void afxp_lock_enter(void* lock);
void afxp_lock_leave(void* lock);
// Opens a web address with the shell's "open" verb in a normal window.
void afxp_open_url(const char* url);
