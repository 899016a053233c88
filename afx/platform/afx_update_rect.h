// The pending update rectangle that a backend keeps for a window when the
// window system keeps none of its own (the in-memory and X11 backends):
// left, top, right, bottom, empty while left >= right or top >= bottom.
#pragma once

#include <algorithm>
#include <cstdint>

// Grows rect by (l, t, r, b), first cut to a width x height window.
inline void afx_update_rect_add(int32_t rect[4], int32_t l, int32_t t, int32_t r, int32_t b,
                                int32_t width, int32_t height) {
    l = std::max(l, 0);
    t = std::max(t, 0);
    r = std::min(r, width);
    b = std::min(b, height);
    if (l >= r || t >= b) return;
    if (rect[0] >= rect[2] || rect[1] >= rect[3]) {
        rect[0] = l;
        rect[1] = t;
        rect[2] = r;
        rect[3] = b;
    } else {
        rect[0] = std::min(rect[0], l);
        rect[1] = std::min(rect[1], t);
        rect[2] = std::max(rect[2], r);
        rect[3] = std::max(rect[3], b);
    }
}
