// Linux: a plain top-level X window that stands in for a host's plug-in
// window, and an event loop to run while an editor is open. The plug-in
// makes its own connection to the same server; this one is the host's.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "tools/host/HostWindow.h"
#include "tools/host/platform/x11/HostX11.h"

namespace {

// Where the window opens: the top-left corner, so that the tallest editor
// (1076 pixels at display scale 2) fits a 1080-line screen.
constexpr int kOrigin = 0;

class X11HostWindow : public HostWindow {
public:
    X11HostWindow(Display* display, Window window) : display_(display), window_(window) {
        closeAtom_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
    }
    ~X11HostWindow() override {
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }
    void* handle() const override {
        return reinterpret_cast<void*>(static_cast<uintptr_t>(window_));
    }
    int childWindows() const override {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, window_, &root, &parent, &children, &count)) return 0;
        if (children) XFree(children);
        return static_cast<int>(count);
    }
    void pump(int ms) override;
    void setTitle(const std::string& title) override { setWindowTitle(display_, window_, title); }
    bool setClientSize(int width, int height) override {
        XResizeWindow(display_, window_, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
        XSync(display_, False);
        return true;
    }
    ScreenRect clientRect() const override { return screenRectOf(display_, window_); }
    bool closeRequested() const override { return closeRequested_; }

private:
    Display* display_;
    Window window_;
    Atom closeAtom_ = 0;
    bool closeRequested_ = false;
};

void X11HostWindow::pump(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        while (XPending(display_) > 0) {
            XEvent ev;
            XNextEvent(display_, &ev);
            // The editor inside must be closed by the host (effEditClose)
            // before its parent goes; the owner sees the request and does that first.
            if (ev.type == ClientMessage && static_cast<Atom>(ev.xclient.data.l[0]) == closeAtom_) {
                closeRequested_ = true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              end - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) return;
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left));
    }
}

}  // namespace

std::unique_ptr<HostWindow> HostWindow::create(int width, int height, std::string& error) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        error = "no X display to open the editor in (is DISPLAY set?)";
        return nullptr;
    }
    installHostErrorHandler();
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(
        display, RootWindow(display, screen), kOrigin, kOrigin, static_cast<unsigned>(width),
        static_cast<unsigned>(height), 0, BlackPixel(display, screen), WhitePixel(display, screen));
    const long pid = static_cast<long>(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    Atom close = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &close, 1);
    // Placed where asked even under a window manager.
    XSizeHints hints{};
    hints.flags = USPosition;
    hints.x = kOrigin;
    hints.y = kOrigin;
    XSetWMNormalHints(display, window, &hints);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    // A plug-in's child shows only inside a window that is on the screen.
    for (XEvent ev;;) {
        XWindowEvent(display, window, StructureNotifyMask, &ev);
        if (ev.type == MapNotify) break;
    }
    return std::unique_ptr<HostWindow>(new X11HostWindow(display, window));
}
