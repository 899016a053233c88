// The native host has no window system: there is no window to give an editor.
#include "tools/host/HostWindow.h"

std::unique_ptr<HostWindow> HostWindow::create(int, int, std::string& error) {
    error = "no window system in the native host";
    return nullptr;
}
