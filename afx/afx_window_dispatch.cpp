// The window procedure's rules, shared by every backend: the backend turns a
// native event into an afxp_event and this file decides what the toolkit's
// callbacks see and what the system's default procedure still gets.
#include <atomic>
#include <cstdlib>

#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "afx/platform/afx_platform.h"

namespace {

// Set on entry to the window procedure and cleared on every way out; library
// detach waits for it before unregistering the classes.
std::atomic<uint8_t> g_in_procedure{0};

enum : int32_t { kLeft = 0, kRight = 1, kWheelUp = 2, kWheelDown = 3 };

// The slot a message belongs to, or null. During creation and destruction the
// user data does not (yet, or any more) name this window's slot.
afx_window* slot_of(afx_context* context, void* window, int32_t slot) {
    if (!context || slot < 0 || slot >= kAfxWindowSlots) return nullptr;
    afx_window* w = &context->windows[slot];
    return (w->in_use && w->window == window) ? w : nullptr;
}

intptr_t paint(afx_window* w, int32_t index, void* window) {
    // Without a paint callback nothing is validated.
    if (!w->on_paint) return 0;
    afxp_paint ps;
    int32_t r[4] = {0, 0, 0, 0};
    afxp_paint_begin(window, &ps, r);
    w->on_paint(r[0], r[1], r[2] - r[0], r[3] - r[1], index, w->user);
    afxp_paint_end(window, &ps);
    return 0;
}

intptr_t close_request(afx_context* context, afx_window* w, int32_t index, void* window,
                       const afxp_event* e) {
    // The key-up tells a widget holding a key that it will not see its release.
    if (w->on_key_up) w->on_key_up(0, e->value, 0, index, w->user);
    if (w->on_close_query) {
        if (!w->on_close_query(index, w->user)) return 0;
        afx_window_close(context, index);
    }
    return afxp_default(window, e);
}

intptr_t destroyed(afx_window* w, void* window) {
    if (w->on_timer) afxp_timer_kill(window, kAfxWindowTimerId);
    if (w->painter) afxp_painter_free(window, w->painter);
    afx_window_slot_reset(w);
    return 0;
}

intptr_t drop_files(afx_context* context, afx_window* w, int32_t index, void* window,
                    const afxp_event* e) {
    if (w->on_drop_file) {
        char* path = afxp_drop_path(e);
        afxp_drop_finish(e);
        if (path) {
            w->on_drop_file(path, index, w->user, context);
            std::free(path);
        }
    }
    return afxp_default(window, e);
}

intptr_t wheel(afx_window* w, int32_t index, const afxp_event* e) {
    if (e->value == 0) return 0;
    const int32_t code = e->value > 0 ? kWheelUp : kWheelDown;
    if (w->on_button_down) w->on_button_down(e->x, e->y, code, index, w->user);
    if (w->on_button_up) w->on_button_up(e->x, e->y, kWheelUp, index, w->user);
    return 0;
}

intptr_t dispatch(afx_context* context, void* window, int32_t index, const afxp_event* e) {
    // The frame calculation comes before the window has a slot: it only needs the class.
    if (e->kind == AFXP_EVENT_FRAME) {
        if (context && afxp_window_class_is(window, context->splash_class)) return 0;
        return afxp_default(window, e);
    }
    afx_window* w = slot_of(context, window, index);
    if (!w) return afxp_default(window, e);
    switch (e->kind) {
        case AFXP_EVENT_PAINT: return paint(w, index, window);
        case AFXP_EVENT_BACKGROUND:
            // Only the first erase after creation paints the class's black
            // background; later ones would flash between two paints.
            if (w->erase_pending) {
                w->erase_pending = 0;
                return afxp_default(window, e);
            }
            return 1;
        case AFXP_EVENT_CLOSE: return close_request(context, w, index, window, e);
        case AFXP_EVENT_DESTROY: return destroyed(w, window);
        case AFXP_EVENT_TIMER:
            if (w->on_timer) w->on_timer(w->user);
            return 0;
        case AFXP_EVENT_KEY_DOWN:
            if (w->on_key_down) w->on_key_down(0, e->value, 1, index, w->user);
            return afxp_default(window, e);
        case AFXP_EVENT_KEY_UP:
            if (w->on_key_up) w->on_key_up(0, e->value, 0, index, w->user);
            return afxp_default(window, e);
        case AFXP_EVENT_MOVE:
            if (!w->track_all_moves && !afxp_buttons_held()) return 0;
            if (w->on_move) w->on_move(e->x, e->y, index, w->user);
            return 0;
        case AFXP_EVENT_BUTTON_DOWN:
            afxp_window_focus(window);
            if (w->on_button_down) w->on_button_down(e->x, e->y, e->value, index, w->user);
            return 0;
        case AFXP_EVENT_BUTTON_UP:
            if (w->on_button_up) w->on_button_up(e->x, e->y, e->value, index, w->user);
            return 0;
        case AFXP_EVENT_DOUBLE_CLICK:
            afxp_window_focus(window);
            if (w->on_double_click) w->on_double_click(e->x, e->y, e->value, index, w->user);
            return 0;
        case AFXP_EVENT_WHEEL: return wheel(w, index, e);
        case AFXP_EVENT_DROP_FILES: return drop_files(context, w, index, window, e);
        default: return afxp_default(window, e);
    }
}

}  // namespace

bool afx_in_window_procedure() { return g_in_procedure.load() != 0; }

intptr_t afx_window_dispatch(void* window, int32_t slot, const afxp_event* event) {
    g_in_procedure.store(1);
    const intptr_t result = dispatch(afx_context_get(false), window, slot, event);
    g_in_procedure.store(0);
    return result;
}
