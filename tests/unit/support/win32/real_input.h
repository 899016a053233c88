// Real input for the tests that drive windows under Wine and Xvfb: pointer
// events through the system's input queue, as a user's mouse makes them,
// and the message loop run long enough for them to arrive.
#pragma once

#include <windows.h>

// Runs the message loop for ms milliseconds.
void pump(DWORD ms);

// Puts the pointer on screen pixel (x, y) with the MOUSEEVENTF_ button flags
// and wheel delta given, then runs the message loop for 25 ms.
void mouse(int x, int y, DWORD flags, int wheel = 0);
