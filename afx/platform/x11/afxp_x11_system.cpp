// The X11 backend's services: the connection and the desktop's settings
// (Xft.dpi, the double-click time, _NET_WORKAREA), resources from the
// library's generated table, the monotonic clock, locks, and web addresses
// opened with xdg-open.
#include <X11/Xatom.h>
#include <X11/Xresource.h>
#include <X11/extensions/XShm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

#include "afx/platform/afx_resource_bundle.h"
#include "afx/platform/x11/afxp_x11.h"

namespace {

// Without a desktop setting a double click is two presses within half a
// second, the usual default of desktops and of Windows.
constexpr uint32_t kDefaultDoubleClickMs = 500;
// Above this a "double click" is two separate clicks to anyone.
constexpr uint32_t kLongestDoubleClickMs = 2000;

bool g_trapped_error = false;
Display* g_trapped_display = nullptr;

int trap_handler(Display* display, XErrorEvent*) {
    if (display == g_trapped_display) g_trapped_error = true;
    return 0;
}

// Xft.dpi and the X toolkit's multiClickTime, from the server's resource
// database (what xrdb loaded for the desktop).
void read_desktop_settings(x11_state& s) {
    s.double_click_ms = kDefaultDoubleClickMs;
    const char* text = XResourceManagerString(s.display);
    if (!text) return;
    XrmInitialize();
    XrmDatabase db = XrmGetStringDatabase(text);
    if (!db) return;
    char* type = nullptr;
    XrmValue value{};
    if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
        s.dpi = static_cast<int32_t>(std::strtod(value.addr, nullptr) + 0.5);
    }
    if (XrmGetResource(db, "korvex52.multiClickTime", "Korvex52.MultiClickTime", &type, &value) &&
        value.addr) {
        const long ms = std::strtol(value.addr, nullptr, 10);
        if (ms > 0 && ms <= static_cast<long>(kLongestDoubleClickMs))
            s.double_click_ms = static_cast<uint32_t>(ms);
    }
    XrmDestroyDatabase(db);
}

}  // namespace

x11_state& x11() {
    static x11_state s;
    return s;
}

Display* x11_display() {
    x11_state& s = x11();
    if (s.display) return s.display;
    s.display = XOpenDisplay(nullptr);
    if (!s.display) return nullptr;
    s.screen = DefaultScreen(s.display);
    s.visual = DefaultVisual(s.display, s.screen);
    s.depth = DefaultDepth(s.display, s.screen);
    s.colormap = DefaultColormap(s.display, s.screen);
    // Shared memory only works when the server runs on this machine; the
    // first attach tells (see the bitmap code).
    s.shared_memory = XShmQueryExtension(s.display) != False;
    read_desktop_settings(s);
    return s.display;
}

void x11_release_if_idle() {
    x11_state& s = x11();
    if (!s.display || !s.classes.empty()) return;
    for (const auto& w : s.windows) {
        if (!w->dead) return;
    }
    x11_loop_source_remove();
    for (Cursor& c : s.cursors) {
        if (c) XFreeCursor(s.display, c);
        c = 0;
    }
    XCloseDisplay(s.display);
    s = x11_state();
}

void x11_loop_source_drop_if_windowless() {
    for (const auto& w : x11().windows) {
        if (!w->dead) return;
    }
    x11_loop_source_remove();
}

x11_window* x11_find(Window id) {
    for (const auto& w : x11().windows) {
        if (w->id == id) return w.get();
    }
    return nullptr;
}

x11_window* x11_live(void* window) {
    x11_window* w = x11_find(x11_id(window));
    return (w && !w->dead) ? w : nullptr;
}

x11_error_trap::x11_error_trap(Display* display) : display_(display) {
    XSync(display_, False);
    g_trapped_error = false;
    g_trapped_display = display_;
    previous_ = XSetErrorHandler(trap_handler);
}

x11_error_trap::~x11_error_trap() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
    g_trapped_display = nullptr;
}

bool x11_error_trap::failed() {
    XSync(display_, False);
    return g_trapped_error;
}

uint32_t x11_now_ms() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<uint32_t>(static_cast<uint64_t>(t.tv_sec) * 1000u +
                                 static_cast<uint64_t>(t.tv_nsec) / 1000000u);
}

// ---- The platform fence ----------------------------------------------------------

const void* afxp_resource_find(void* module, uint32_t id, uint32_t* size_bytes) {
    const afx_resource_entry* e = afx_resource_bundle_find(module, AFX_RESOURCE_BINARY, id);
    if (!e) return nullptr;
    if (size_bytes) *size_bytes = static_cast<uint32_t>(e->end - e->data);
    return e->data;
}

// Every X client sees the real scale: there is no legacy mode to fall back to.
int32_t afxp_dpi_aware() { return x11_display() ? 1 : -1; }

void afxp_screen_dpi(int32_t* x, int32_t* y) {
    // The desktop's font DPI setting is the scale users choose; 96 when unset.
    const int32_t dpi = (x11_display() && x11().dpi > 0) ? x11().dpi : 96;
    *x = dpi;
    *y = dpi;
}

void afxp_desktop_size(int32_t* width, int32_t* height) {
    Display* d = x11_display();
    *width = d ? DisplayWidth(d, x11().screen) : 0;
    *height = d ? DisplayHeight(d, x11().screen) : 0;
}

void afxp_work_area(int32_t rect[4]) {
    int32_t w = 0, h = 0;
    afxp_desktop_size(&w, &h);
    rect[0] = 0;
    rect[1] = 0;
    rect[2] = w;
    rect[3] = h;
    Display* d = x11_display();
    if (!d) return;
    // The window manager publishes x, y, width, height per desktop; the first
    // desktop's is the one a centred window uses. Without one, the screen.
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom workarea = XInternAtom(d, "_NET_WORKAREA", False);
    if (XGetWindowProperty(d, RootWindow(d, x11().screen), workarea, 0, 4, False, XA_CARDINAL,
                           &type, &format, &count, &after, &data) == Success &&
        type == XA_CARDINAL && format == 32 && count >= 4) {
        const long* v = reinterpret_cast<const long*>(data);
        rect[0] = static_cast<int32_t>(v[0]);
        rect[1] = static_cast<int32_t>(v[1]);
        rect[2] = static_cast<int32_t>(v[0] + v[2]);
        rect[3] = static_cast<int32_t>(v[1] + v[3]);
    }
    if (data) XFree(data);
}

uint32_t afxp_ticks_ms() { return x11_now_ms(); }

void afxp_sleep_ms(uint32_t ms) {
    timespec t{static_cast<time_t>(ms / 1000u), static_cast<long>(ms % 1000u) * 1000000L};
    while (nanosleep(&t, &t) != 0) {
    }
}

void* afxp_lock_new() { return new std::mutex; }
void afxp_lock_free(void* lock) { delete static_cast<std::mutex*>(lock); }
void afxp_lock_enter(void* lock) { static_cast<std::mutex*>(lock)->lock(); }
void afxp_lock_leave(void* lock) { static_cast<std::mutex*>(lock)->unlock(); }

void afxp_open_url(const char* url) {
    // xdg-open hands the address to the desktop's browser. No shell sees the
    // address; the middle process exits at once so that the browser is
    // nobody's child and the host never waits for it.
    const pid_t middle = fork();
    if (middle < 0) return;
    if (middle == 0) {
        setsid();
        if (fork() == 0) {
            char* const argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(url), nullptr};
            execvp("xdg-open", argv);
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
}
