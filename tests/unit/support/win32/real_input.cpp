#include "real_input.h"

#include <cstdint>

void pump(DWORD ms) {
    const DWORD deadline = timeGetTime() + ms;
    for (;;) {
        MSG m;
        while (static_cast<int32_t>(deadline - timeGetTime()) > 0 &&
               PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        const DWORD now = timeGetTime();
        if (static_cast<int32_t>(deadline - now) <= 0) return;
        MsgWaitForMultipleObjectsEx(0, nullptr, deadline - now, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void mouse(int x, int y, DWORD flags, int wheel) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    // Absolute positions are in 1/65536 of the screen; rounding up lands on
    // the pixel itself whether the system truncates or rounds on the way back.
    in.mi.dx = (x * 65536 + sw - 1) / sw;
    in.mi.dy = (y * 65536 + sh - 1) / sh;
    in.mi.mouseData = static_cast<DWORD>(wheel);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof(in));
    pump(25);
}
