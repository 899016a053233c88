// What the editor command asks of the screen, over each platform's list of
// the process's windows.
#include "tools/host/HostDesktop.h"

bool findProcessWindow(const std::string& title, TopWindow& found) {
    for (const TopWindow& window : processWindows()) {
        if (window.title == title) {
            found = window;
            return true;
        }
    }
    return false;
}
