// HostWindow: the window a host gives an editor to open in. One
// implementation per platform: platform/win32 and platform/x11, each a real
// top-level window with its event loop.
#pragma once

#include <memory>
#include <string>

#include "tools/host/HostDesktop.h"

class HostWindow {
public:
    // A visible frame window of the given client size; null with a reason in
    // error when the platform has none.
    static std::unique_ptr<HostWindow> create(int width, int height, std::string& error);
    virtual ~HostWindow() = default;

    // The native handle to pass to effEditOpen (an HWND on Windows, an X
    // window id on Linux).
    virtual void* handle() const = 0;
    // How many windows the plug-in has made inside this one.
    virtual int childWindows() const = 0;
    // Runs the message loop for about ms milliseconds, so timers and paints happen.
    virtual void pump(int ms) = 0;

    virtual void setTitle(const std::string& title) = 0;
    // Resizes the frame so that its client area is width x height; the
    // top-left corner stays. False when the system refused.
    virtual bool setClientSize(int width, int height) = 0;
    // The client area in screen pixels.
    virtual ScreenRect clientRect() const = 0;
    // True once the user asked to close the window; it stays open until
    // the host has closed the editor inside it.
    virtual bool closeRequested() const = 0;
};
