// Creating, configuring and closing toolkit windows. The message rules that
// drive them live in afx_window_dispatch.cpp.
#include "afx/afx_window.h"

#include "afx/platform/afx_platform.h"

namespace {

// The window table is full: the window exists but answers to no slot.
constexpr int32_t kNoSlotMarker = 255;

afx_window* slot_in_use(afx_context* context, int32_t index) {
    if (!context || index < 0 || index >= kAfxWindowSlots) return nullptr;
    afx_window* slot = &context->windows[index];
    return slot->in_use ? slot : nullptr;
}

int32_t scaled(int32_t size, float scale) {
    return static_cast<int32_t>(static_cast<float>(size) * scale + 0.5f);
}

int32_t lowest_free_slot(const afx_context* context) {
    for (int32_t i = 0; i < kAfxWindowSlots; ++i) {
        if (!context->windows[i].in_use) return i;
    }
    return -1;
}

// Binds a freshly created native window to the lowest free slot.
int32_t adopt_window(afx_context* context, void* window, void* user) {
    const int32_t index = lowest_free_slot(context);
    if (index < 0) {
        afxp_window_set_slot(window, kNoSlotMarker);
        return -1;
    }
    afx_window* slot = &context->windows[index];
    afx_window_slot_reset(slot);
    slot->user = user;
    slot->in_use = 1;
    slot->erase_pending = 1;
    slot->track_all_moves = 0;
    slot->window = window;
    slot->painter = afxp_painter_new(window);
    afxp_window_set_slot(window, index);
    return index;
}

}  // namespace

int32_t afx_window_new(afx_context* context, int32_t width, int32_t height, float scale,
                       void* parent, void* user) {
    if (!context) return -1;
    void* module = afx_get_module();
    afxp_class_register(module, context->ui_class, AFXP_CLASS_UI);  // usually exists already
    void* window = afxp_window_create(module, context->ui_class, AFXP_CLASS_UI, 0, 0,
                                      scaled(width, scale), scaled(height, scale), parent);
    if (!window) return -1;
    return adopt_window(context, window, user);
}

int32_t afx_splash_new(afx_context* context, int32_t width, int32_t height, float scale,
                       void* user) {
    if (!context) return -1;
    void* module = afx_get_module();
    afxp_class_register(module, context->splash_class, AFXP_CLASS_SPLASH);
    const int32_t w = scaled(width, scale);
    const int32_t h = scaled(height, scale);
    int32_t work[4] = {0, 0, 0, 0};  // left, top, right, bottom
    afxp_work_area(work);
    const int32_t x = (work[2] - w - work[0]) / 2;
    const int32_t y = (work[3] - h - work[1]) / 2;
    void* window =
        afxp_window_create(module, context->splash_class, AFXP_CLASS_SPLASH, x, y, w, h, nullptr);
    if (!window) return -1;
    return adopt_window(context, window, user);
}

void afx_window_close(afx_context* context, int32_t index) {
    afx_window* slot = slot_in_use(context, index);
    if (!slot) return;
    // Each handle is cleared as it is released, so the destroy message that
    // destroying the window sends finds nothing left to release.
    void* window = slot->window;
    if (slot->on_timer) {
        afxp_timer_kill(window, kAfxWindowTimerId);
        slot->on_timer = nullptr;
    }
    if (slot->painter) {
        afxp_painter_free(window, slot->painter);
        slot->painter = nullptr;
    }
    slot->window = nullptr;
    afxp_window_destroy(window);
    afx_window_slot_reset(slot);
}

void afx_window_show(afx_context* context, int32_t index) {
    if (afx_window* slot = slot_in_use(context, index)) afxp_window_show(slot->window);
}

void afx_window_resize(afx_context* context, int32_t index, int32_t width, int32_t height) {
    if (afx_window* slot = slot_in_use(context, index))
        afxp_window_resize(slot->window, width, height);
}

void afx_window_set_title(afx_context* context, int32_t index, const char* text) {
    afx_window* slot = slot_in_use(context, index);
    if (slot && text) afxp_window_set_title(slot->window, text);
}

void afx_window_set_icon(afx_context* context, int32_t index, int32_t id) {
    if (afx_window* slot = slot_in_use(context, index)) {
        afxp_window_set_icon(afx_get_module(), slot->window, id);
    }
}

void afx_window_accept_files(afx_context* context, int32_t index) {
    if (afx_window* slot = slot_in_use(context, index)) afxp_window_accept_files(slot->window);
}

void afx_window_track_moves(afx_context* context, int32_t index, bool on) {
    if (afx_window* slot = slot_in_use(context, index)) slot->track_all_moves = on ? 1 : 0;
}

void* afx_window_handle(afx_context* context, int32_t index) {
    afx_window* slot = slot_in_use(context, index);
    return slot ? slot->window : nullptr;
}

#define AFX_CALLBACK_SETTER(name, field, type)                                \
    void name(afx_context* context, int32_t index, type fn) {                 \
        if (afx_window* slot = slot_in_use(context, index)) slot->field = fn; \
    }
AFX_CALLBACK_SETTER(afx_window_on_paint, on_paint, afx_paint_fn)
AFX_CALLBACK_SETTER(afx_window_on_button_down, on_button_down, afx_button_fn)
AFX_CALLBACK_SETTER(afx_window_on_button_up, on_button_up, afx_button_fn)
AFX_CALLBACK_SETTER(afx_window_on_move, on_move, afx_move_fn)
AFX_CALLBACK_SETTER(afx_window_on_double_click, on_double_click, afx_button_fn)
AFX_CALLBACK_SETTER(afx_window_on_close_query, on_close_query, afx_close_query_fn)
AFX_CALLBACK_SETTER(afx_window_on_key_down, on_key_down, afx_key_fn)
AFX_CALLBACK_SETTER(afx_window_on_key_up, on_key_up, afx_key_fn)
AFX_CALLBACK_SETTER(afx_window_on_drop_file, on_drop_file, afx_drop_fn)
#undef AFX_CALLBACK_SETTER

void afx_window_on_timer(afx_context* context, int32_t index, afx_timer_fn fn) {
    afx_window* slot = slot_in_use(context, index);
    if (!slot) return;
    slot->on_timer = fn;
    afxp_timer_start(slot->window, kAfxWindowTimerId, context->window_timer_period_ms);
}

void afx_set_window_timer_period(afx_context* context, uint32_t ms) {
    if (context) context->window_timer_period_ms = ms;
}

void afx_invalidate(afx_context* context, int32_t index, int32_t x, int32_t y, int32_t width,
                    int32_t height) {
    if (afx_window* slot = slot_in_use(context, index)) {
        afxp_window_invalidate(slot->window, x, y, width, height);
    }
}

void afx_capture(afx_context* context, int32_t index) {
    if (afx_window* slot = slot_in_use(context, index)) afxp_capture(slot->window);
}

void afx_release_capture(afx_context*) { afxp_capture_release(); }

void afx_clear_focus(afx_context*) { afxp_focus_clear(); }

bool afx_native_window_size(void* window, int32_t* width, int32_t* height) {
    return window && afxp_native_window_size(window, width, height);
}

void afx_native_window_resize(void* window, int32_t width, int32_t height) {
    if (window) afxp_native_window_resize(window, width, height);
}

void afx_idle(afx_context* context) {
    if (context) afxp_idle();
}
