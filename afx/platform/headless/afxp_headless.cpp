// The in-memory backend: windows are records, a painter points at its
// window, a blit copies into the window's framebuffer, and the screen, clock and mouse
// buttons are whatever the test says. Used by every native test program.
#include "afx/platform/headless/afx_headless.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>

#include "afx/platform/afx_update_rect.h"

namespace {

// A window that was never erased or painted shows this, so a test can tell.
constexpr uint32_t kUnpaintedColour = 0x00FF00FFu;

struct headless_painter {
    afx_headless_window* window = nullptr;
};

struct headless_bitmap {
    int32_t width = 0, height = 0;
    uint32_t stride = 0;
    std::vector<unsigned char> pixels;
};

struct headless_state {
    std::deque<afx_headless_window> windows;  // stable addresses
    std::vector<std::string> classes;
    int32_t fail_windows = 0;
    int32_t dpi_x = 96, dpi_y = 96, dpi_aware = 1;
    int32_t desktop_w = 1920, desktop_h = 1080;
    int32_t work[4] = {0, 0, 1920, 1080};
    uint32_t ticks = 0, slept = 0;
    bool buttons_held = false;
    int32_t pointer_x = 0, pointer_y = 0;
    void* capture = nullptr;
    void* focus = nullptr;
    afxp_cursor_kind cursor = AFXP_CURSOR_ARROW;
    std::vector<afxp_cursor_kind> cursor_history;
    std::vector<std::string> urls;
};

headless_state& state() {
    static headless_state s;
    return s;
}

// Native cursor handles are the addresses of these.
afxp_cursor_kind g_cursor_handles[] = {AFXP_CURSOR_ARROW, AFXP_CURSOR_WAIT, AFXP_CURSOR_HAND,
                                       AFXP_CURSOR_RESIZE};

afx_headless_window* live(void* window) {
    afx_headless_window* w = afx_headless_find(window);
    return (w && !w->destroyed) ? w : nullptr;
}

void fill_framebuffer(afx_headless_window* w, uint32_t colour) {
    std::fill(w->framebuffer.begin(), w->framebuffer.end(), colour);
}

void add_dirty(afx_headless_window* w, int32_t l, int32_t t, int32_t r, int32_t b) {
    afx_update_rect_add(w->dirty, l, t, r, b, w->width, w->height);
}

afxp_event make_event(int32_t kind, int32_t x, int32_t y, int32_t value) {
    afxp_event e{};
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.value = value;
    return e;
}

}  // namespace

// ---- Test-side API -----------------------------------------------------------

void afx_headless_reset() { state() = headless_state(); }
void afx_headless_set_dpi(int32_t x, int32_t y) {
    state().dpi_x = x;
    state().dpi_y = y;
}
void afx_headless_set_dpi_aware(int32_t s) { state().dpi_aware = s; }
void afx_headless_set_desktop(int32_t w, int32_t h) {
    state().desktop_w = w;
    state().desktop_h = h;
}
void afx_headless_set_work_area(int32_t l, int32_t t, int32_t r, int32_t b) {
    int32_t* a = state().work;
    a[0] = l;
    a[1] = t;
    a[2] = r;
    a[3] = b;
}
void afx_headless_set_ticks(uint32_t ms) { state().ticks = ms; }
uint32_t afx_headless_slept_ms() { return state().slept; }

afx_headless_window* afx_headless_find(void* window) {
    for (afx_headless_window& w : state().windows) {
        if (&w == window) return &w;
    }
    return nullptr;
}

bool afx_headless_class_registered(const char* name) {
    const auto& c = state().classes;
    return std::find(c.begin(), c.end(), std::string(name)) != c.end();
}

int32_t afx_headless_window_count() { return static_cast<int32_t>(state().windows.size()); }
void* afx_headless_window_at(int32_t n) {
    auto& w = state().windows;
    return (n >= 0 && n < static_cast<int32_t>(w.size())) ? &w[static_cast<size_t>(n)] : nullptr;
}

void afx_headless_fail_next_windows(int32_t count) { state().fail_windows = count; }

uint32_t afx_headless_pixel(void* window, int32_t x, int32_t y) {
    afx_headless_window* w = afx_headless_find(window);
    if (!w || x < 0 || y < 0 || x >= w->width || y >= w->height) return 0xFFFFFFFFu;
    return w->framebuffer[static_cast<size_t>(y) * w->width + x];
}

void afx_headless_set_buttons_held(bool held) { state().buttons_held = held; }

intptr_t afx_headless_send(void* window, const afxp_event& event) {
    afx_headless_window* w = live(window);
    if (!w) return 0;
    return afx_window_dispatch(window, w->slot, &event);
}

intptr_t afx_headless_button_down(void* window, int32_t x, int32_t y, int32_t button) {
    state().buttons_held = true;
    return afx_headless_send(window, make_event(AFXP_EVENT_BUTTON_DOWN, x, y, button));
}

intptr_t afx_headless_button_up(void* window, int32_t x, int32_t y, int32_t button) {
    state().buttons_held = false;
    return afx_headless_send(window, make_event(AFXP_EVENT_BUTTON_UP, x, y, button));
}

intptr_t afx_headless_double_click(void* window, int32_t x, int32_t y) {
    return afx_headless_send(window, make_event(AFXP_EVENT_DOUBLE_CLICK, x, y, 0));
}

intptr_t afx_headless_move(void* window, int32_t x, int32_t y) {
    headless_state& s = state();
    s.pointer_x = x;
    s.pointer_y = y;
    // As the system does before each move it does not capture: the window's
    // class cursor (the arrow for both toolkit classes) comes back, so a
    // cursor set at one move lasts only until the next.
    if (!s.capture && live(window)) afxp_cursor_set(AFXP_CURSOR_ARROW);
    return afx_headless_send(window, make_event(AFXP_EVENT_MOVE, x, y, 0));
}

intptr_t afx_headless_wheel(void* window, int32_t x, int32_t y, int32_t delta) {
    state().pointer_x = x;
    state().pointer_y = y;
    return afx_headless_send(window, make_event(AFXP_EVENT_WHEEL, x, y, delta));
}

intptr_t afx_headless_key(void* window, int32_t key, bool down) {
    return afx_headless_send(window,
                             make_event(down ? AFXP_EVENT_KEY_DOWN : AFXP_EVENT_KEY_UP, 0, 0, key));
}

intptr_t afx_headless_close(void* window) {
    return afx_headless_send(window, make_event(AFXP_EVENT_CLOSE, 0, 0, 0));
}

intptr_t afx_headless_erase(void* window) {
    return afx_headless_send(window, make_event(AFXP_EVENT_BACKGROUND, 0, 0, 0));
}

bool afx_headless_timer(void* window) {
    afx_headless_window* w = live(window);
    if (!w || !w->timer_running) return false;
    afx_headless_send(window, make_event(AFXP_EVENT_TIMER, 0, 0, 1));
    return true;
}

bool afx_headless_paint(void* window) {
    afx_headless_window* w = live(window);
    if (!w || w->dirty[0] >= w->dirty[2] || w->dirty[1] >= w->dirty[3]) return false;
    afx_headless_send(window, make_event(AFXP_EVENT_PAINT, 0, 0, 0));
    return true;
}

intptr_t afx_headless_drop(void* window, const char* path) {
    afxp_event e = make_event(AFXP_EVENT_DROP_FILES, 0, 0, 0);
    e.drop = const_cast<char*>(path);
    return afx_headless_send(window, e);
}

void* afx_headless_capture_window() { return state().capture; }
void* afx_headless_focus_window() { return state().focus; }
afxp_cursor_kind afx_headless_cursor() { return state().cursor; }
const std::vector<afxp_cursor_kind>& afx_headless_cursor_history() {
    return state().cursor_history;
}
const std::vector<std::string>& afx_headless_opened_urls() { return state().urls; }

// ---- The platform fence --------------------------------------------------------

const void* afxp_resource_find(void* module, uint32_t id, uint32_t* size_bytes) {
    const afx_resource_entry* e = afx_resource_bundle_find(module, AFX_RESOURCE_BINARY, id);
    if (!e) return nullptr;
    if (size_bytes) *size_bytes = static_cast<uint32_t>(e->end - e->data);
    return e->data;
}

bool afxp_class_register(void*, const char* name, afxp_class_kind) {
    if (!name || !name[0] || afx_headless_class_registered(name)) return false;
    state().classes.emplace_back(name);
    return true;
}

void afxp_class_unregister(void*, const char* name) {
    auto& c = state().classes;
    c.erase(std::remove(c.begin(), c.end(), std::string(name ? name : "")), c.end());
}

void* afxp_window_create(void*, const char* class_name, afxp_class_kind kind, int32_t x, int32_t y,
                         int32_t width, int32_t height, void* parent) {
    headless_state& s = state();
    if (s.fail_windows > 0) {
        --s.fail_windows;
        return nullptr;
    }
    if (!afx_headless_class_registered(class_name)) return nullptr;
    if (kind == AFXP_CLASS_UI && !parent) return nullptr;  // a child needs its parent
    s.windows.emplace_back();
    afx_headless_window& w = s.windows.back();
    w.class_name = class_name;
    w.kind = kind;
    w.parent = parent;
    w.x = x;
    w.y = y;
    w.width = std::max(width, 0);
    w.height = std::max(height, 0);
    w.framebuffer.assign(static_cast<size_t>(w.width) * w.height, kUnpaintedColour);
    // A new window is entirely invalid, as on a real screen.
    add_dirty(&w, 0, 0, w.width, w.height);
    return &w;
}

void afxp_window_destroy(void* window) {
    afx_headless_window* w = live(window);
    if (!w) return;
    afxp_event e = make_event(AFXP_EVENT_DESTROY, 0, 0, 0);
    afx_window_dispatch(window, w->slot, &e);
    w->destroyed = true;
    w->visible = false;
    w->timer_running = false;
    // The record stays for the tests to read; the picture goes, so that a
    // long run of editors opened and closed does not pile up their pixels.
    std::vector<uint32_t>().swap(w->framebuffer);
    if (state().capture == window) state().capture = nullptr;
    if (state().focus == window) state().focus = nullptr;
}

void afxp_window_set_slot(void* window, int32_t slot) {
    if (afx_headless_window* w = live(window)) w->slot = slot;
}

bool afxp_window_class_is(void* window, const char* class_name) {
    afx_headless_window* w = afx_headless_find(window);
    return w && class_name && w->class_name == class_name;
}

void afxp_window_show(void* window) {
    if (afx_headless_window* w = live(window)) w->visible = true;
}

void afxp_window_resize(void* window, int32_t width, int32_t height) {
    afx_headless_window* w = live(window);
    if (!w) return;
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::vector<uint32_t> grown(static_cast<size_t>(width) * height, kUnpaintedColour);
    for (int32_t y = 0; y < std::min(height, w->height); ++y) {
        for (int32_t x = 0; x < std::min(width, w->width); ++x) {
            grown[static_cast<size_t>(y) * width + x] =
                w->framebuffer[static_cast<size_t>(y) * w->width + x];
        }
    }
    w->framebuffer.swap(grown);
    w->width = width;
    w->height = height;
    add_dirty(w, 0, 0, width, height);
}

void afxp_window_set_title(void* window, const char* text) {
    if (afx_headless_window* w = live(window)) w->title = text;
}

bool afxp_window_set_icon(void* module, void* window, int32_t id) {
    afx_headless_window* w = live(window);
    if (!w || id < 0 ||
        !afx_resource_bundle_find(module, AFX_RESOURCE_ICON, static_cast<uint32_t>(id)))
        return false;
    w->icon = id;
    return true;
}

void afxp_window_accept_files(void* window) {
    if (afx_headless_window* w = live(window)) w->accepts_files = true;
}

void afxp_window_invalidate(void* window, int32_t x, int32_t y, int32_t width, int32_t height) {
    afx_headless_window* w = live(window);
    if (!w) return;
    w->invalidations.push_back({x, y, width, height});
    add_dirty(w, x, y, x + width, y + height);
}

void afxp_window_focus(void* window) { state().focus = window; }
void afxp_focus_clear() { state().focus = nullptr; }
void afxp_capture(void* window) { state().capture = window; }
void afxp_capture_release() { state().capture = nullptr; }
bool afxp_buttons_held() { return state().buttons_held; }

void afxp_timer_start(void* window, uint32_t, uint32_t period_ms) {
    afx_headless_window* w = live(window);
    if (!w) return;
    w->timer_running = true;
    w->timer_period_ms = period_ms;
}

void afxp_timer_kill(void* window, uint32_t) {
    if (afx_headless_window* w = afx_headless_find(window)) w->timer_running = false;
}

intptr_t afxp_default(void* window, const afxp_event* event) {
    afx_headless_window* w = live(window);
    if (!w) return 0;
    switch (event->kind) {
        case AFXP_EVENT_BACKGROUND:
            // The class background is the stock black brush.
            fill_framebuffer(w, 0x00000000u);
            ++w->erase_count;
            return 1;
        case AFXP_EVENT_CLOSE: afxp_window_destroy(window); return 0;
        default: return 0;
    }
}

void afxp_paint_begin(void* window, afxp_paint*, int32_t rect[4]) {
    afx_headless_window* w = live(window);
    if (!w) return;
    for (int i = 0; i < 4; ++i) rect[i] = w->dirty[i];
    for (int i = 0; i < 4; ++i) w->dirty[i] = 0;
    ++w->paint_count;
}

void afxp_paint_end(void*, afxp_paint*) {}

// Tests send their events and paints themselves.
void afxp_idle() {}

char* afxp_drop_path(const afxp_event* event) {
    const char* path = static_cast<const char*>(event->drop);
    if (!path) return nullptr;
    const size_t n = std::strlen(path);
    char* copy = static_cast<char*>(std::malloc(n + 1));
    if (copy) std::memcpy(copy, path, n + 1);
    return copy;
}

void afxp_drop_finish(const afxp_event*) {}

bool afxp_native_window_size(void* window, int32_t* width, int32_t* height) {
    afx_headless_window* w = live(window);
    if (!w) return false;
    if (width) *width = w->width;
    if (height) *height = w->height;
    return true;
}

void afxp_native_window_resize(void* window, int32_t width, int32_t height) {
    afxp_window_resize(window, width, height);
}

void* afxp_painter_new(void* window) {
    afx_headless_window* w = live(window);
    if (!w) return nullptr;
    auto* p = new headless_painter;
    p->window = w;
    return p;
}

void afxp_painter_free(void* window, void* painter) {
    if (afx_headless_window* w = afx_headless_find(window)) w->painter_released = true;
    delete static_cast<headless_painter*>(painter);
}

void* afxp_bitmap_create(void*, int32_t width, int32_t height, uint32_t stride, void** pixels) {
    if (width <= 0 || height <= 0 || stride < static_cast<uint32_t>(width) * 3u) return nullptr;
    auto* b = new headless_bitmap;
    b->width = width;
    b->height = height;
    b->stride = stride;
    b->pixels.assign(static_cast<size_t>(b->stride) * b->height, 0);
    *pixels = b->pixels.data();
    return b;
}

void afxp_bitmap_delete(void* bitmap) { delete static_cast<headless_bitmap*>(bitmap); }

void afxp_blit(void* painter, void* bitmap, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
               int32_t width, int32_t height) {
    auto* p = static_cast<headless_painter*>(painter);
    auto* b = static_cast<headless_bitmap*>(bitmap);
    afx_headless_window* w = p ? p->window : nullptr;
    if (!w || w->destroyed || !b) return;
    // Like the system's block transfer: clipped to the source bitmap and the
    // window, once, then each row is a straight run of pixels.
    const int32_t col0 = std::max({0, -sx, -dx});
    const int32_t col1 = std::min({width, b->width - sx, w->width - dx});
    const int32_t row0 = std::max({0, -sy, -dy});
    const int32_t row1 = std::min({height, b->height - sy, w->height - dy});
    for (int32_t row = row0; row < row1 && col0 < col1; ++row) {
        const unsigned char* p =
            &b->pixels[static_cast<size_t>(sy + row) * b->stride + (sx + col0) * 3];
        uint32_t* out = &w->framebuffer[static_cast<size_t>(dy + row) * w->width + (dx + col0)];
        // Four 3-byte pixels are three little-endian words: blue, green, red
        // of each land in bits 0-23 of its framebuffer word.
        int32_t n = col1 - col0;
        for (; n >= 4; n -= 4, p += 12, out += 4) {
            uint32_t w0, w1, w2;
            std::memcpy(&w0, p, 4);
            std::memcpy(&w1, p + 4, 4);
            std::memcpy(&w2, p + 8, 4);
            out[0] = w0 & 0x00FFFFFFu;
            out[1] = (w0 >> 24) | ((w1 & 0xFFFFu) << 8);
            out[2] = (w1 >> 16) | ((w2 & 0xFFu) << 16);
            out[3] = w2 >> 8;
        }
        for (; n > 0; --n, p += 3) *out++ = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    }
}

void* afxp_cursor_set(afxp_cursor_kind kind) {
    headless_state& s = state();
    void* previous = &g_cursor_handles[s.cursor];
    s.cursor = kind;
    s.cursor_history.push_back(kind);
    return previous;
}

void afxp_cursor_set_native(void* cursor) {
    auto* kind = static_cast<afxp_cursor_kind*>(cursor);
    if (kind >= g_cursor_handles && kind < g_cursor_handles + 4) afxp_cursor_set(*kind);
}

int32_t afxp_dpi_aware() { return state().dpi_aware; }
void afxp_screen_dpi(int32_t* x, int32_t* y) {
    *x = state().dpi_x;
    *y = state().dpi_y;
}
void afxp_desktop_size(int32_t* width, int32_t* height) {
    *width = state().desktop_w;
    *height = state().desktop_h;
}
void afxp_work_area(int32_t rect[4]) { std::memcpy(rect, state().work, sizeof(state().work)); }

uint32_t afxp_ticks_ms() { return state().ticks; }
void afxp_sleep_ms(uint32_t ms) {
    state().ticks += ms;
    state().slept += ms;
}

void* afxp_lock_new() { return new std::mutex; }
void afxp_lock_free(void* lock) { delete static_cast<std::mutex*>(lock); }
void afxp_lock_enter(void* lock) { static_cast<std::mutex*>(lock)->lock(); }
void afxp_lock_leave(void* lock) { static_cast<std::mutex*>(lock)->unlock(); }

void afxp_open_url(const char* url) { state().urls.emplace_back(url); }
