// The native host has no window system: no windows, no pixels, no pointer.
#include "tools/host/HostDesktop.h"

std::vector<TopWindow> processWindows() { return {}; }

bool findProcessWindow(const std::string&, TopWindow&) { return false; }

bool captureScreen(const ScreenRect&, ScreenPixels&) { return false; }

void sendPointer(int, int, PointerEvent) {}
