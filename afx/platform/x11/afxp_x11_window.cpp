// The X11 backend's windows: the editor's child inside the host's X window,
// frameless top-level dialogs transient for the host's window, invalidation,
// focus, pointer grabs, timers, painting and cursors.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "afx/platform/afx_update_rect.h"
#include "afx/platform/x11/afxp_x11.h"

namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            KeyPressMask | KeyReleaseMask | StructureNotifyMask | EnterWindowMask;

void set_atom_property(Display* d, Window w, const char* name, const char* value) {
    const Atom v = XInternAtom(d, value, False);
    XChangeProperty(d, w, XInternAtom(d, name, False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&v), 1);
}

// The top-level window that holds a window of the host (the host's own
// window, whatever the window manager put around it).
Window top_level_of(Display* d, Window w) {
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(d, w, &root, &parent, &children, &n)) return 0;
        if (children) XFree(children);
        if (parent == root || parent == 0) return w;
        w = parent;
    }
}

// A dialog: no frame (Motif decoration hints, which window managers
// honour), a fixed size at the given place, the process's id, closable by
// the window manager, and transient for the host window whose editor the
// user last pressed in.
void make_dialog(Display* d, Window w, int32_t x, int32_t y, int32_t width, int32_t height) {
    struct {
        unsigned long flags, functions, decorations;
        long input_mode;
        unsigned long status;
    } motif = {2, 0, 0, 0, 0};  // flags: decorations given; decorations: none
    const Atom motif_atom = XInternAtom(d, "_MOTIF_WM_HINTS", False);
    XChangeProperty(d, w, motif_atom, motif_atom, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&motif), 5);
    XSizeHints* hints = XAllocSizeHints();
    if (hints) {
        hints->flags = USPosition | PPosition | PMinSize | PMaxSize;
        hints->x = x;
        hints->y = y;
        hints->min_width = hints->max_width = width;
        hints->min_height = hints->max_height = height;
        XSetWMNormalHints(d, w, hints);
        XFree(hints);
    }
    set_atom_property(d, w, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG");
    const long pid = static_cast<long>(getpid());
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    Atom close = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, w, &close, 1);
    if (x11().pressed_in && x11_find(x11().pressed_in)) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int n = 0;
        if (XQueryTree(d, x11().pressed_in, &root, &parent, &children, &n)) {
            if (children) XFree(children);
            if (const Window host = top_level_of(d, parent)) XSetTransientForHint(d, w, host);
        }
    }
}

void add_dirty(x11_window* w, int32_t l, int32_t t, int32_t r, int32_t b) {
    afx_update_rect_add(w->dirty, l, t, r, b, w->width, w->height);
}

}  // namespace

// Classes are only names here: X has none. The toolkit still asks which
// kind a window is by its class name.
bool afxp_class_register(void*, const char* name, afxp_class_kind) {
    auto& c = x11().classes;
    if (!name || !name[0] || std::find(c.begin(), c.end(), name) != c.end()) return false;
    c.emplace_back(name);
    return true;
}

void afxp_class_unregister(void*, const char* name) {
    auto& c = x11().classes;
    c.erase(std::remove(c.begin(), c.end(), std::string(name ? name : "")), c.end());
    x11_release_if_idle();
}

void* afxp_window_create(void*, const char* class_name, afxp_class_kind kind, int32_t x, int32_t y,
                         int32_t width, int32_t height, void* parent) {
    Display* d = x11_display();
    if (!d || !class_name || (kind == AFXP_CLASS_UI && !parent)) return nullptr;
    x11_state& s = x11();
    XSetWindowAttributes a{};
    a.background_pixel = BlackPixel(d, s.screen);  // the class background: black
    a.border_pixel = 0;
    a.colormap = s.colormap;
    a.event_mask = kEventMask;
    a.cursor = x11_cursor(AFXP_CURSOR_ARROW);  // the class cursor
    const Window under = kind == AFXP_CLASS_UI ? x11_id(parent) : RootWindow(d, s.screen);
    Window id = 0;
    {
        // The host's window may already be gone; that must not end the host.
        x11_error_trap trap(d);
        id = XCreateWindow(d, under, x, y, static_cast<unsigned>(std::max(width, 1)),
                           static_cast<unsigned>(std::max(height, 1)), 0, s.depth, InputOutput,
                           s.visual,
                           CWBackPixel | CWBorderPixel | CWColormap | CWEventMask | CWCursor, &a);
        if (trap.failed()) return nullptr;
    }
    if (kind == AFXP_CLASS_SPLASH) make_dialog(d, id, x, y, width, height);
    if (kind == AFXP_CLASS_UI) x11_loop_source_add();
    XClassHint hint{const_cast<char*>("korvex52"), const_cast<char*>(class_name)};
    XSetClassHint(d, id, &hint);
    auto w = std::make_unique<x11_window>();
    w->id = id;
    w->class_name = class_name;
    w->kind = kind;
    w->width = std::max(width, 0);
    w->height = std::max(height, 0);
    s.windows.push_back(std::move(w));
    return x11_handle(id);
}

void afxp_window_destroy(void* window) {
    x11_window* w = x11_live(window);
    if (!w) return;
    // The toolkit hears of it at once, as on other systems.
    afxp_event e{};
    e.kind = AFXP_EVENT_DESTROY;
    x11_send(w->id, e);
    w = x11_find(x11_id(window));
    w->dead = true;
    x11_state& s = x11();
    if (s.capture == w->id) afxp_capture_release();
    if (s.pointer_window == w->id) s.pointer_window = 0;
    {
        // A host that destroyed its window first took ours with it.
        x11_error_trap trap(s.display);
        XDestroyWindow(s.display, w->id);
    }
    x11_loop_source_drop_if_windowless();
}

void afxp_window_set_slot(void* window, int32_t slot) {
    if (x11_window* w = x11_live(window)) w->slot = slot;
}

bool afxp_window_class_is(void* window, const char* class_name) {
    x11_window* w = x11_find(x11_id(window));
    return w && class_name && w->class_name == class_name;
}

void afxp_window_show(void* window) {
    x11_window* w = x11_live(window);
    if (!w) return;
    XMapWindow(x11().display, w->id);
    if (w->kind == AFXP_CLASS_SPLASH) XRaiseWindow(x11().display, w->id);
    XFlush(x11().display);
}

void afxp_window_resize(void* window, int32_t width, int32_t height) {
    x11_window* w = x11_live(window);
    if (!w || width < 1 || height < 1) return;
    XResizeWindow(x11().display, w->id, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    w->width = width;
    w->height = height;
    add_dirty(w, 0, 0, width, height);
}

void afxp_window_set_title(void* window, const char* text) {
    x11_window* w = x11_live(window);
    if (!w) return;
    Display* d = x11().display;
    XStoreName(d, w->id, text);
    XChangeProperty(d, w->id, XInternAtom(d, "_NET_WM_NAME", False),
                    XInternAtom(d, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text),
                    static_cast<int>(std::strlen(text)));
}

// Window icons would need the icon resource decoded into _NET_WM_ICON; the
// editor's child never shows one and the dialog has no frame to show it in.
bool afxp_window_set_icon(void*, void*, int32_t) { return false; }

// Dropped files arrive through the XDND protocol, which this backend does
// not speak; the editor ignores dropped files anyway.
void afxp_window_accept_files(void*) {}
char* afxp_drop_path(const afxp_event*) { return nullptr; }
void afxp_drop_finish(const afxp_event*) {}

void afxp_window_invalidate(void* window, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (x11_window* w = x11_live(window)) add_dirty(w, x, y, x + width, y + height);
}

void afxp_window_focus(void* window) {
    x11_window* w = x11_live(window);
    if (!w) return;
    XWindowAttributes a{};
    if (XGetWindowAttributes(x11().display, w->id, &a) && a.map_state == IsViewable) {
        XSetInputFocus(x11().display, w->id, RevertToParent, CurrentTime);
    }
}

void afxp_focus_clear() {
    Display* d = x11().display;
    if (!d) return;
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    if (x11_find(focus)) XSetInputFocus(d, PointerRoot, RevertToPointerRoot, CurrentTime);
}

void afxp_capture(void* window) {
    x11_window* w = x11_live(window);
    if (!w) return;
    XGrabPointer(x11().display, w->id, False,
                 ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                 GrabModeAsync, None, None, CurrentTime);
    x11().capture = w->id;
}

void afxp_capture_release() {
    x11_state& s = x11();
    if (!s.display) return;
    XUngrabPointer(s.display, CurrentTime);
    XFlush(s.display);
    s.capture = 0;
}

bool afxp_buttons_held() { return (x11().buttons & (Button1Mask | Button3Mask)) != 0; }

void afxp_timer_start(void* window, uint32_t id, uint32_t period_ms) {
    x11_window* w = x11_live(window);
    if (!w) return;
    w->timer_running = true;
    w->timer_id = id;
    w->timer_period_ms = std::max(period_ms, 1u);
    w->timer_due_ms = x11_now_ms() + w->timer_period_ms;
}

void afxp_timer_kill(void* window, uint32_t) {
    if (x11_window* w = x11_find(x11_id(window))) w->timer_running = false;
}

intptr_t afxp_default(void* window, const afxp_event* event) {
    // The server already filled the background; closing means destroying.
    if (event->kind == AFXP_EVENT_CLOSE) afxp_window_destroy(window);
    return 0;
}

void afxp_paint_begin(void* window, afxp_paint*, int32_t rect[4]) {
    x11_window* w = x11_live(window);
    if (!w) return;
    std::memcpy(rect, w->dirty, sizeof(w->dirty));
    std::memset(w->dirty, 0, sizeof(w->dirty));
}

void afxp_paint_end(void*, afxp_paint*) { XFlush(x11().display); }

bool afxp_native_window_size(void* window, int32_t* width, int32_t* height) {
    Display* d = x11_display();
    if (!d) return false;
    XWindowAttributes a{};
    x11_error_trap trap(d);
    if (!XGetWindowAttributes(d, x11_id(window), &a) || trap.failed()) return false;
    if (width) *width = a.width;
    if (height) *height = a.height;
    return true;
}

void afxp_native_window_resize(void* window, int32_t width, int32_t height) {
    Display* d = x11_display();
    if (!d || width < 1 || height < 1) return;
    x11_error_trap trap(d);
    XResizeWindow(d, x11_id(window), static_cast<unsigned>(width), static_cast<unsigned>(height));
}

Cursor x11_cursor(afxp_cursor_kind kind) {
    static const unsigned int shapes[4] = {XC_left_ptr, XC_watch, XC_hand2, XC_bottom_right_corner};
    x11_state& s = x11();
    const int i = static_cast<int>(kind);
    if (!s.cursors[i] && s.display) s.cursors[i] = XCreateFontCursor(s.display, shapes[i]);
    return s.cursors[i];
}

// Native cursor handles are the addresses of these.
static afxp_cursor_kind g_cursor_handles[] = {AFXP_CURSOR_ARROW, AFXP_CURSOR_WAIT, AFXP_CURSOR_HAND,
                                              AFXP_CURSOR_RESIZE};

// The cursor shows on the window the pointer is in (or that holds it); like
// a class cursor elsewhere, the arrow comes back at the next free move.
void* afxp_cursor_set(afxp_cursor_kind kind) {
    x11_state& s = x11();
    void* previous = &g_cursor_handles[s.cursor];
    s.cursor = kind;
    const Window target = s.capture ? s.capture : s.pointer_window;
    if (s.display && target && x11_find(target)) {
        XDefineCursor(s.display, target, x11_cursor(kind));
        XFlush(s.display);
    }
    return previous;
}

void afxp_cursor_set_native(void* cursor) {
    auto* kind = static_cast<afxp_cursor_kind*>(cursor);
    if (kind >= g_cursor_handles && kind < g_cursor_handles + 4) afxp_cursor_set(*kind);
}
