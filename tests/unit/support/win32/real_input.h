// Real pointer input through the system's queue, as a user's mouse makes it,
// for the tests that drive windows under Wine and Xvfb.
#pragma once

#include <windows.h>

// Runs the message loop for ms milliseconds.
void pump(DWORD ms);

// Puts the pointer on screen pixel (x, y) with MOUSEEVENTF_ flags and a wheel
// delta, then runs the message loop for 25 ms.
void mouse(int x, int y, DWORD flags, int wheel = 0);
