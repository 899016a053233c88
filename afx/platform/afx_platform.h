// The fence between the portable toolkit and the windowing system.
// Every function named afxp_ is implemented once per backend: win32/ (the real
// one) and headless/ (in-memory records for tests). The portable afx_ code calls
// nothing else of the platform. Native handles (windows, device contexts,
// bitmaps, cursors, modules) travel as void*; the portable side never looks
// inside them.
#pragma once

#include <cstddef>
#include <cstdint>

// What a backend translates its native window messages into. The portable
// dispatcher (afx_window_dispatch) applies the toolkit's rules to these.
enum afxp_event_kind : int32_t {
    AFXP_EVENT_OTHER = 0,      // anything else: default processing
    AFXP_EVENT_PAINT,          // the window needs painting
    AFXP_EVENT_ERASE,          // background erase request
    AFXP_EVENT_CLOSE,          // close request; value = the message's first parameter
    AFXP_EVENT_DESTROY,        // the window is being destroyed
    AFXP_EVENT_NCCALCSIZE,     // frame size calculation
    AFXP_EVENT_TIMER,          // value = timer id
    AFXP_EVENT_KEY_DOWN,       // value = virtual key code
    AFXP_EVENT_KEY_UP,         // value = virtual key code
    AFXP_EVENT_MOVE,           // pointer moved to (x, y)
    AFXP_EVENT_BUTTON_DOWN,    // value = 0 left, 1 right
    AFXP_EVENT_BUTTON_UP,      // value = 0 left, 1 right
    AFXP_EVENT_DOUBLE_CLICK,   // value = 0 left
    AFXP_EVENT_WHEEL,          // value = signed wheel delta; (x, y) pointer in client pixels
    AFXP_EVENT_DROP_FILES,     // drop = the native drop handle
};

struct afxp_event {
    int32_t kind;       // afxp_event_kind
    int32_t x, y;       // pointer in window pixels
    int32_t value;      // see afxp_event_kind
    void* drop;         // native drop record (AFXP_EVENT_DROP_FILES)
    // The native message itself, kept only so the backend's default
    // procedure can be handed exactly what arrived.
    uint32_t sys_message;
    uintptr_t sys_wparam;
    intptr_t sys_lparam;
};

// The 40-byte header of a 24-bit top-down device-independent bitmap, laid out
// as the platform's own bitmap info header.
struct afxp_bitmap_header {
    uint32_t size;          // 40
    int32_t width;
    int32_t height;         // negative: rows run top to bottom
    uint16_t planes;        // 1
    uint16_t bit_count;     // 24
    uint32_t compression;   // 0: none
    uint32_t size_image;    // width x height x 3
    int32_t x_pels_per_meter;
    int32_t y_pels_per_meter;
    uint32_t colours_used;
    uint32_t colours_important;
};
static_assert(sizeof(afxp_bitmap_header) == 40, "bitmap header must match the platform layout");

// Storage a backend needs between the start and the end of one paint.
struct afxp_paint {
    alignas(8) unsigned char opaque[128];
};

enum afxp_class_kind : int32_t { AFXP_CLASS_UI = 0, AFXP_CLASS_SPLASH = 1 };
enum afxp_cursor_kind : int32_t {
    AFXP_CURSOR_ARROW = 0, AFXP_CURSOR_WAIT, AFXP_CURSOR_HAND, AFXP_CURSOR_RESIZE
};

// ---- Up-call, implemented by the portable toolkit ------------------------
// Every native message of a toolkit window goes through here; slot is what the
// window's user data holds. Returns the message's result.
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
void* afxp_window_create(void* module, const char* class_name, afxp_class_kind kind,
                         int32_t x, int32_t y, int32_t width, int32_t height, void* parent);
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
// The default window procedure for what arrived in event.
intptr_t afxp_default(void* window, const afxp_event* event);
// Starts painting and reports the update rectangle (left, top, right, bottom).
void afxp_paint_begin(void* window, afxp_paint* paint, int32_t rect[4]);
void afxp_paint_end(void* window, afxp_paint* paint);
// Path of the first dropped file, allocated with malloc (caller frees); null on failure.
char* afxp_drop_path(const afxp_event* event);
void afxp_drop_finish(const afxp_event* event);
// Outer size and resize of any native window (the host's parent window).
bool afxp_native_window_size(void* window, int32_t* width, int32_t* height);
void afxp_native_window_resize(void* window, int32_t width, int32_t height);

// ---- Device contexts and bitmaps -------------------------------------------
void* afxp_window_dc(void* window);
void afxp_window_dc_release(void* window, void* dc);
void* afxp_memory_dc_new(void* window_dc);
void afxp_memory_dc_free(void* memory_dc);
// A 24-bit bitmap section described by header, created on dc; pixels receives
// its memory (owned by the bitmap). Null on failure.
void* afxp_dib_create(void* dc, const afxp_bitmap_header* header, void** pixels);
void afxp_dib_delete(void* bitmap);
// Plain copy of (sx, sy, width, height) of bitmap to (dx, dy) of window_dc,
// through memory_dc; the previous selection of memory_dc is restored.
void afxp_blit(void* window_dc, void* memory_dc, void* bitmap,
               int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t width, int32_t height);

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
