// What the host's X11 window and desktop code share.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "tools/host/HostDesktop.h"

// A window's inside, in root (screen) coordinates.
ScreenRect screenRectOf(Display* display, Window window);
// WM_NAME and _NET_WM_NAME.
void setWindowTitle(Display* display, Window window, const std::string& title);
// An X error in the host (a window that went away between two calls) is
// reported on stderr instead of ending the process, once per process.
void installHostErrorHandler();
