// Linux: the process's top-level windows (those carrying its _NET_WM_PID),
// screen capture with XGetImage from the root window (what the user sees,
// children and all), and pointer input through the XTEST extension, which
// goes through the server's input queue exactly as a user's mouse does: the
// real button state, pointer grabs and the timing of double clicks.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "tools/host/platform/x11/HostX11.h"

namespace {

Display* desktop() {
    static Display* display = XOpenDisplay(nullptr);
    return display;
}

int reportError(Display* display, XErrorEvent* e) {
    char text[256] = {};
    XGetErrorText(display, e->error_code, text, sizeof(text));
    std::fprintf(stderr, "korvex-host: X error: %s (request %d)\n", text, e->request_code);
    return 0;
}

bool ownedByUs(Display* d, Window w) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool ours = false;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
                           &type, &format, &count, &after, &data) == Success &&
        data && count == 1) {
        ours = *reinterpret_cast<const long*>(data) == static_cast<long>(getpid());
    }
    if (data) XFree(data);
    return ours;
}

std::string titleOf(Display* d, Window w) {
    char* name = nullptr;
    std::string title;
    if (XFetchName(d, w, &name) && name) title = name;
    if (name) XFree(name);
    return title;
}

// One top-level: the window itself, or the client a window manager framed.
bool collect(Display* d, Window w, std::vector<TopWindow>& out) {
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable) return false;
    if (!ownedByUs(d, w)) return false;
    TopWindow found;
    found.title = titleOf(d, w);
    found.client = screenRectOf(d, w);
    found.frame = found.client;  // the frame is the window manager's, not ours
    found.handle = reinterpret_cast<void*>(static_cast<uintptr_t>(w));
    out.push_back(found);
    return true;
}

}  // namespace

ScreenRect screenRectOf(Display* d, Window w) {
    XWindowAttributes a{};
    XGetWindowAttributes(d, w, &a);
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    return {x, y, a.width, a.height};
}

void setWindowTitle(Display* d, Window w, const std::string& title) {
    XStoreName(d, w, title.c_str());
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False),
                    XInternAtom(d, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    XFlush(d);
}

void installHostErrorHandler() {
    static bool installed = false;
    if (!installed) XSetErrorHandler(reportError);
    installed = true;
}

std::vector<TopWindow> processWindows() {
    std::vector<TopWindow> windows;
    Display* d = desktop();
    if (!d) return windows;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) return windows;
    // Bottom to top from the server; the system's z order lists the top first.
    for (unsigned int i = count; i-- > 0;) {
        if (collect(d, children[i], windows)) continue;
        Window r = 0, p = 0, *inner = nullptr;
        unsigned int n = 0;
        if (XQueryTree(d, children[i], &r, &p, &inner, &n)) {
            for (unsigned int j = 0; j < n; ++j) collect(d, inner[j], windows);
            if (inner) XFree(inner);
        }
    }
    if (children) XFree(children);
    return windows;
}

bool captureScreen(const ScreenRect& rect, ScreenPixels& out) {
    Display* d = desktop();
    if (!d || rect.width <= 0 || rect.height <= 0) return false;
    const int sw = DisplayWidth(d, DefaultScreen(d)), sh = DisplayHeight(d, DefaultScreen(d));
    // Beyond the screen there are no pixels to read.
    if (rect.x < 0 || rect.y < 0 || rect.x + rect.width > sw || rect.y + rect.height > sh)
        return false;
    XImage* image =
        XGetImage(d, DefaultRootWindow(d), rect.x, rect.y, static_cast<unsigned>(rect.width),
                  static_cast<unsigned>(rect.height), AllPlanes, ZPixmap);
    if (!image) return false;
    out.width = rect.width;
    out.height = rect.height;
    out.rgb.resize(static_cast<size_t>(rect.width) * rect.height * 3);
    auto channel = [](unsigned long pixel, unsigned long mask) {
        unsigned long shift = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        return static_cast<uint8_t>(mask ? ((pixel >> shift) & mask) * 255 / mask : 0);
    };
    uint8_t* p = out.rgb.data();
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x, p += 3) {
            const unsigned long pixel = XGetPixel(image, x, y);
            p[0] = channel(pixel, image->red_mask);
            p[1] = channel(pixel, image->green_mask);
            p[2] = channel(pixel, image->blue_mask);
        }
    }
    XDestroyImage(image);
    return true;
}

void sendPointer(int x, int y, PointerEvent event) {
    Display* d = desktop();
    if (!d) return;
    XTestFakeMotionEvent(d, DefaultScreen(d), x, y, CurrentTime);
    if (event != PointerEvent::Move)
        XTestFakeButtonEvent(d, 1, event == PointerEvent::LeftDown, CurrentTime);
    XFlush(d);
}
