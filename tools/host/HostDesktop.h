// HostDesktop: what the editor command needs of the screen around its own
// window: the process's other top-level windows (an editor's dialogs), the
// pixels the screen shows, and pointer input through the system's input
// queue, exactly as a user's mouse makes it. One implementation per
// platform: platform/win32 and platform/x11 (XTEST for input).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Pixels read from the screen: rows top-down, three bytes (red, green,
// blue) per pixel, no padding.
struct ScreenPixels {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

struct TopWindow {
    std::string title;
    ScreenRect frame;   // the whole window
    ScreenRect client;  // its client area (equal to frame for frameless windows)
    void* handle = nullptr;
};

// The visible top-level windows of this process, in the system's z order.
std::vector<TopWindow> processWindows();
// The first of them whose title is exactly title; false when none is.
bool findProcessWindow(const std::string& title, TopWindow& found);

// What the screen shows in rect; false when the rectangle is empty, does not
// lie wholly on the screen, or the screen cannot be read.
bool captureScreen(const ScreenRect& rect, ScreenPixels& out);

enum class PointerEvent { Move, LeftDown, LeftUp };
// Moves the system pointer to the screen pixel (x, y) and, for the button
// events, presses or releases the left button there.
void sendPointer(int x, int y, PointerEvent event);
