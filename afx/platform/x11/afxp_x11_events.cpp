// The X11 backend's event loop, run from the host's idle call on its
// user-interface thread: X events become toolkit events (buttons, double
// clicks, moves under the pointer grab, the wheel, keys, exposes, sizes,
// closes), then due timers fire, then invalid areas are painted.
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>

#include "afx/platform/x11/afxp_x11.h"

namespace {

// A second press this close to the first (in pixels, either way) still
// makes a double click, as on other desktops.
constexpr int32_t kDoubleClickSlop = 2;
constexpr int32_t kWheelNotch = 120;

struct key_name {
    KeySym sym;
    int32_t code;
};

const key_name kKeys[] = {
    {XK_BackSpace, AFXP_KEY_BACKSPACE},
    {XK_Tab, AFXP_KEY_TAB},
    {XK_ISO_Left_Tab, AFXP_KEY_TAB},
    {XK_Return, AFXP_KEY_ENTER},
    {XK_KP_Enter, AFXP_KEY_ENTER},
    {XK_Shift_L, AFXP_KEY_SHIFT},
    {XK_Shift_R, AFXP_KEY_SHIFT},
    {XK_Control_L, AFXP_KEY_CONTROL},
    {XK_Control_R, AFXP_KEY_CONTROL},
    {XK_Alt_L, AFXP_KEY_ALT},
    {XK_Alt_R, AFXP_KEY_ALT},
    {XK_Escape, AFXP_KEY_ESCAPE},
    {XK_space, AFXP_KEY_SPACE},
    {XK_Prior, AFXP_KEY_PAGE_UP},
    {XK_Next, AFXP_KEY_PAGE_DOWN},
    {XK_End, AFXP_KEY_END},
    {XK_Home, AFXP_KEY_HOME},
    {XK_Left, AFXP_KEY_LEFT},
    {XK_Up, AFXP_KEY_UP},
    {XK_Right, AFXP_KEY_RIGHT},
    {XK_Down, AFXP_KEY_DOWN},
    {XK_Delete, AFXP_KEY_DELETE},
};

// The toolkit's code of a key; 0 for keys it has no code for.
int32_t key_code(XKeyEvent* e) {
    const KeySym sym = XLookupKeysym(e, 0);
    for (const key_name& k : kKeys) {
        if (k.sym == sym) return k.code;
    }
    if (sym >= XK_a && sym <= XK_z) return static_cast<int32_t>('A' + (sym - XK_a));
    if (sym >= XK_0 && sym <= XK_9) return static_cast<int32_t>('0' + (sym - XK_0));
    return 0;
}

afxp_event event_of(int32_t kind, int32_t x, int32_t y, int32_t value, const XEvent* native) {
    afxp_event e{};
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.value = value;
    e.native = native;
    return e;
}

unsigned int button_mask(unsigned int button) {
    return button >= 1 && button <= 5 ? (Button1Mask << (button - 1)) : 0;
}

// Only the editor's class asks for double clicks, as its window class does
// on Windows; the dialog sees every press as a press.
bool is_double_click(const x11_window* w, const XButtonEvent& b) {
    x11_click& c = x11().click;
    const bool twice = w->kind == AFXP_CLASS_UI && c.armed && c.window == b.window &&
                       b.time - c.time <= x11().double_click_ms &&
                       std::abs(b.x - c.x) <= kDoubleClickSlop &&
                       std::abs(b.y - c.y) <= kDoubleClickSlop;
    // A double click ends the pair: a third press starts a new one.
    c = twice ? x11_click{} : x11_click{b.window, b.time, b.x, b.y, true};
    return twice;
}

void button_press(x11_window* w, XEvent* ev) {
    XButtonEvent& b = ev->xbutton;
    x11_state& s = x11();
    s.buttons = b.state | button_mask(b.button);
    s.pointer_window = w->id;
    if (w->kind == AFXP_CLASS_UI) s.pressed_in = w->id;
    afxp_event e{};
    switch (b.button) {
        case Button1:
            e = event_of(is_double_click(w, b) ? AFXP_EVENT_DOUBLE_CLICK : AFXP_EVENT_BUTTON_DOWN,
                         b.x, b.y, 0, ev);
            break;
        case Button3: e = event_of(AFXP_EVENT_BUTTON_DOWN, b.x, b.y, 1, ev); break;
        case Button4: e = event_of(AFXP_EVENT_WHEEL, b.x, b.y, kWheelNotch, ev); break;
        case Button5: e = event_of(AFXP_EVENT_WHEEL, b.x, b.y, -kWheelNotch, ev); break;
        // The middle button and the sideways wheel (6, 7) have no toolkit
        // meaning; they are taken here so they reach nobody as something else.
        default: return;
    }
    x11_send(w->id, e);
}

void button_release(x11_window* w, XEvent* ev) {
    XButtonEvent& b = ev->xbutton;
    x11().buttons = b.state & ~button_mask(b.button);
    // A wheel notch is a press and a release in X; the toolkit makes its
    // own pair from the press alone.
    if (b.button != Button1 && b.button != Button3) return;
    afxp_event e = event_of(AFXP_EVENT_BUTTON_UP, b.x, b.y, b.button == Button1 ? 0 : 1, ev);
    x11_send(w->id, e);
}

void motion(x11_window* w, XEvent* ev) {
    Display* d = x11().display;
    // Moves pile up while the toolkit draws; of those next in line only the
    // latest position counts (a move after a release stays after it).
    XEvent next;
    while (XEventsQueued(d, QueuedAlready) > 0 && XPeekEvent(d, &next) == 1 &&
           next.type == MotionNotify && next.xmotion.window == w->id) {
        XNextEvent(d, ev);
    }
    x11_state& s = x11();
    s.buttons = ev->xmotion.state;
    s.pointer_window = w->id;
    // The server also reports motion without travel (synthetic input to the
    // same place); a move means the pointer moved, as on other systems.
    const XMotionEvent& m = ev->xmotion;
    if (s.pointer_known && m.x_root == s.pointer_x && m.y_root == s.pointer_y) return;
    s.pointer_known = true;
    s.pointer_x = m.x_root;
    s.pointer_y = m.y_root;
    // Unless the pointer is captured, a move shows the class cursor (the
    // arrow) again, as the system does before each such move on Windows; a
    // temporary cursor is set again by each move that wants it.
    if (!s.capture && s.cursor != AFXP_CURSOR_ARROW) afxp_cursor_set(AFXP_CURSOR_ARROW);
    afxp_event e = event_of(AFXP_EVENT_MOVE, ev->xmotion.x, ev->xmotion.y, 0, ev);
    x11_send(w->id, e);
}

void key(x11_window* w, XEvent* ev, bool down) {
    Display* d = x11().display;
    // Auto-repeat comes as a release and a press at the same moment; the
    // toolkit expects repeated presses without releases between.
    if (!down && XEventsQueued(d, QueuedAfterReading)) {
        XEvent next;
        XPeekEvent(d, &next);
        if (next.type == KeyPress && next.xkey.window == ev->xkey.window &&
            next.xkey.keycode == ev->xkey.keycode && next.xkey.time == ev->xkey.time) {
            return;
        }
    }
    const int32_t code = key_code(&ev->xkey);
    if (code == 0) return;
    afxp_event e = event_of(down ? AFXP_EVENT_KEY_DOWN : AFXP_EVENT_KEY_UP, 0, 0, code, ev);
    x11_send(w->id, e);
}

void expose(x11_window* w, XEvent* ev) {
    const XExposeEvent& x = ev->xexpose;
    afxp_window_invalidate(x11_handle(w->id), x.x, x.y, x.width, x.height);
    if (!w->background_offered) {
        w->background_offered = true;
        afxp_event e = event_of(AFXP_EVENT_BACKGROUND, 0, 0, 0, ev);
        x11_send(w->id, e);
        // From now on the toolkit paints every pixel; a background would flash.
        if (x11_find(ev->xany.window))
            XSetWindowBackgroundPixmap(x11().display, ev->xany.window, None);
    }
}

// The window manager's close button: WM_DELETE_WINDOW of WM_PROTOCOLS.
bool is_close_request(const XClientMessageEvent& m) {
    Display* d = x11().display;
    return m.format == 32 && m.message_type == XInternAtom(d, "WM_PROTOCOLS", False) &&
           static_cast<Atom>(m.data.l[0]) == XInternAtom(d, "WM_DELETE_WINDOW", False);
}

void translate(XEvent* ev) {
    x11_window* w = x11_find(ev->xany.window);
    if (!w || w->dead) return;
    switch (ev->type) {
        case ButtonPress: button_press(w, ev); break;
        case ButtonRelease: button_release(w, ev); break;
        case MotionNotify: motion(w, ev); break;
        case EnterNotify: x11().pointer_window = w->id; break;
        case KeyPress: key(w, ev, true); break;
        case KeyRelease: key(w, ev, false); break;
        case Expose: expose(w, ev); break;
        case ConfigureNotify:
            w->width = ev->xconfigure.width;
            w->height = ev->xconfigure.height;
            break;
        case ClientMessage:
            if (is_close_request(ev->xclient)) {
                afxp_event e = event_of(AFXP_EVENT_CLOSE, 0, 0, 0, ev);
                x11_send(w->id, e);
            }
            break;
        case DestroyNotify: {
            // Destroyed with the host's window: the toolkit lets go of it.
            afxp_event e = event_of(AFXP_EVENT_DESTROY, 0, 0, 0, ev);
            x11_send(w->id, e);
            if (x11_window* gone = x11_find(ev->xany.window)) gone->dead = true;
            break;
        }
        default: break;
    }
}

void fire_timers() {
    const uint32_t now = x11_now_ms();
    // By id, not by record: a timer callback may open or close windows.
    std::vector<Window> due;
    for (const auto& w : x11().windows) {
        if (!w->dead && w->timer_running && static_cast<int32_t>(now - w->timer_due_ms) >= 0)
            due.push_back(w->id);
    }
    for (Window id : due) {
        x11_window* w = x11_find(id);
        if (!w || w->dead || !w->timer_running) continue;
        // A host that idles late gets one tick, not a burst of them.
        w->timer_due_ms += w->timer_period_ms;
        if (static_cast<int32_t>(now - w->timer_due_ms) >= 0)
            w->timer_due_ms = now + w->timer_period_ms;
        afxp_event e = event_of(AFXP_EVENT_TIMER, 0, 0, static_cast<int32_t>(w->timer_id), nullptr);
        x11_send(id, e);
    }
}

void paint_invalid() {
    std::vector<Window> invalid;
    for (const auto& w : x11().windows) {
        if (!w->dead && w->dirty[0] < w->dirty[2] && w->dirty[1] < w->dirty[3])
            invalid.push_back(w->id);
    }
    for (Window id : invalid) {
        afxp_event e = event_of(AFXP_EVENT_PAINT, 0, 0, 0, nullptr);
        x11_send(id, e);
        // Without a paint callback nothing is validated; the area stays
        // invalid and is offered again at the next idle.
    }
}

void forget_dead() {
    auto& list = x11().windows;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [](const std::unique_ptr<x11_window>& w) { return w->dead; }),
               list.end());
}

}  // namespace

intptr_t x11_send(Window id, afxp_event& event) {
    x11_window* w = x11_find(id);
    if (!w || w->dead) return 0;
    return afx_window_dispatch(x11_handle(id), w->slot, &event);
}

void afxp_idle() {
    // The host's idle call and the loop source both come here, on the same
    // thread; a callback that runs a nested loop must not re-enter.
    static bool running = false;
    Display* d = x11().display;
    if (!d || running) return;
    running = true;
    while (XPending(d) > 0) {
        XEvent ev;
        XNextEvent(d, &ev);
        translate(&ev);
    }
    fire_timers();
    paint_invalid();
    forget_dead();
    running = false;
    x11_release_if_idle();
    if (x11().display) XFlush(d);
}
