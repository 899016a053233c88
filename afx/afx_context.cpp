// The toolkit's global context and the process-wide services around it:
// module handle, class names, screen scale, drag deltas, cursors, the
// stopwatch, locks and the shell.
#include "afx/afx_context.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "afx/afx_window.h"
#include "afx/platform/afx_platform.h"

namespace {

void* g_module = nullptr;
afx_context* g_context = nullptr;

// Above 96 dpi the scale follows the screen up to twice the nominal size.
constexpr int32_t kNominalDpi = 96;
constexpr float kMaxDpiScale = 2.0f;

// Class names are formatted with this bound, well inside their buffers.
constexpr size_t kClassNameBound = 128;

// How long detach waits for a window procedure on another thread to return
// before it unregisters the classes anyway: a host must never hang on unload.
constexpr int32_t kDetachWaitLimitMs = 2000;

void set_temporary_cursor(afx_context* context, afxp_cursor_kind kind, bool on) {
    if (!context) return;
    if (on) {
        void* previous = afxp_cursor_set(kind);
        // Switched on again while it is still on: normally the system has put
        // the window's own cursor back in between, but not while a held
        // pointer is captured. The cursor to go back to must never become
        // this temporary cursor itself.
        if (context->temporary_cursor != kind) context->saved_cursor = previous;
        context->temporary_cursor = kind;
    } else {
        if (context->saved_cursor) afxp_cursor_set_native(context->saved_cursor);
        context->temporary_cursor = AFXP_CURSOR_ARROW;
    }
}

}  // namespace

void afx_set_module(void* module) { g_module = module; }
void* afx_get_module() { return g_module; }

void afx_window_slot_reset(afx_window* slot) {
    std::memset(slot, 0, sizeof(*slot));
    slot->erase_pending = 1;
}

afx_context* afx_context_get(bool create) {
    if (g_context || !create) return g_context;
    afx_context* context = static_cast<afx_context*>(std::calloc(1, sizeof(afx_context)));
    if (!context) return nullptr;
    for (afx_window& slot : context->windows) afx_window_slot_reset(&slot);
    context->process_lock = afx_lock_new();
    g_context = context;
    return context;
}

void afx_set_class_base(afx_context* context, const char* name) {
    if (!context || !name) return;
    char bounded[kClassNameBound + 1];
    std::snprintf(bounded, sizeof(bounded), "%s", name);
    std::snprintf(context->ui_class, sizeof(context->ui_class), "%s-UI", bounded);
    std::snprintf(context->splash_class, sizeof(context->splash_class), "%s-SPLASH", bounded);
}

void afx_destroy_all(afx_context* context) {
    if (!context) return;
    for (int32_t i = 0; i < kAfxWindowSlots; ++i) afx_window_close(context, i);
    for (int32_t waited = 0; afx_in_window_procedure() && waited < kDetachWaitLimitMs; ++waited) {
        afxp_sleep_ms(1);
    }
    afxp_class_unregister(g_module, context->ui_class);
    afxp_class_unregister(g_module, context->splash_class);
}

void afx_context_release(afx_context* context) {
    if (context && context == g_context) g_context = nullptr;
}

void afx_context_free(afx_context* context) {
    if (!context) return;
    afx_lock_free(context->process_lock);
    std::free(context);
}

float afx_dpi_scale(afx_context* context) {
    if (!context) return 1.0f;
    if (context->dpi_scale != 0.0f) return context->dpi_scale;
    float scale = 1.0f;
    if (afxp_dpi_aware() != 0) {
        int32_t dx = kNominalDpi, dy = kNominalDpi;
        afxp_screen_dpi(&dx, &dy);
        const int32_t d = dx > dy ? dx : dy;
        if (d > kNominalDpi) {
            scale = static_cast<float>(d) / static_cast<float>(kNominalDpi);
            if (scale > kMaxDpiScale) scale = kMaxDpiScale;
        }
    }
    context->dpi_scale = scale;
    return scale;
}

void afx_desktop_size(afx_context*, int32_t* width, int32_t* height) {
    int32_t w = 0, h = 0;
    afxp_desktop_size(&w, &h);
    if (width) *width = w;
    if (height) *height = h;
}

void afx_work_area_size(afx_context*, int32_t* width, int32_t* height) {
    int32_t work[4] = {0, 0, 0, 0};  // left, top, right, bottom
    afxp_work_area(work);
    if (width) *width = work[2] - work[0];
    if (height) *height = work[3] - work[1];
}

float afx_mouse_dx(afx_context* context, double x) {
    if (!context) return 0.0f;
    const double d = x - context->last_mouse_x;
    context->last_mouse_x = x;
    return static_cast<float>(d);
}

float afx_mouse_dy(afx_context* context, double y) {
    if (!context) return 0.0f;
    const double d = context->last_mouse_y - y;
    context->last_mouse_y = y;
    return static_cast<float>(d);
}

void afx_mouse_reset(afx_context* context, double x, double y) {
    if (!context) return;
    context->last_mouse_x = x;
    context->last_mouse_y = y;
}

void afx_cursor_wait(afx_context* context, bool on) {
    set_temporary_cursor(context, AFXP_CURSOR_WAIT, on);
}
void afx_cursor_hand(afx_context* context, bool on) {
    set_temporary_cursor(context, AFXP_CURSOR_HAND, on);
}
void afx_cursor_resize(afx_context* context, bool on) {
    set_temporary_cursor(context, AFXP_CURSOR_RESIZE, on);
}

void afx_cursor_restore(afx_context* context) {
    if (context) context->temporary_cursor = AFXP_CURSOR_ARROW;
    if (context && context->saved_cursor) {
        afxp_cursor_set_native(context->saved_cursor);
    } else {
        afxp_cursor_set(AFXP_CURSOR_ARROW);
    }
}

void afx_stopwatch_start(afx_stopwatch* watch) {
    if (watch) watch->start_ms = afxp_ticks_ms();
}

uint32_t afx_stopwatch_elapsed(const afx_stopwatch* watch) {
    return watch ? afxp_ticks_ms() - watch->start_ms : 0u;
}

void afx_sleep(int32_t ms) {
    if (ms >= 0) afxp_sleep_ms(static_cast<uint32_t>(ms));
}

afx_lock* afx_lock_new() { return static_cast<afx_lock*>(afxp_lock_new()); }
void afx_lock_free(afx_lock* lock) {
    if (lock) afxp_lock_free(lock);
}
void afx_lock_enter(afx_lock* lock) {
    if (lock) afxp_lock_enter(lock);
}
void afx_lock_leave(afx_lock* lock) {
    if (lock) afxp_lock_leave(lock);
}

afx_lock* afx_process_lock(afx_context* context) {
    return context ? context->process_lock : nullptr;
}

void afx_open_url(afx_context*, const char* url) {
    if (url && url[0]) afxp_open_url(url);
}
