// Shared helpers of the shape and widget tests: owned canvases, pixel reads
// and the blend and coverage rules written out once more from their
// definitions, in floating point, as the independent reference.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "afx/afx_pixbuf.h"

// An owned canvas filled with one colour; freed by the destructor.
struct Canvas {
    Canvas(uint32_t width, uint32_t height, uint32_t r = 0, uint32_t g = 0, uint32_t b = 0,
           uint32_t a = 255);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    uint32_t at(int32_t x, int32_t y) const { return afx_pixbuf_pixel(pixbuf, x, y); }
    uint32_t red(int32_t x, int32_t y) const { return at(x, y) & 255u; }
    uint32_t green(int32_t x, int32_t y) const { return (at(x, y) >> 8) & 255u; }
    uint32_t blue(int32_t x, int32_t y) const { return (at(x, y) >> 16) & 255u; }
    uint32_t alpha(int32_t x, int32_t y) const { return at(x, y) >> 24; }
    // Number of pixels that differ from word.
    int32_t countNot(uint32_t word) const;
    // Writes the canvas as PNG under the build's render folder, for looking at.
    std::string savePng(const char* name) const;

    afx_pixbuf* pixbuf;
};

inline uint32_t rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
    return r | g << 8 | b << 16 | a << 24;
}

// A widget's rectangle as its dirty-rectangle function reports it.
struct Box {
    int32_t x, y, w, h;
    bool operator==(const Box& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
    bool contains(int32_t px, int32_t py) const {
        return px >= x && px < x + w && py >= y && py < y + h;
    }
};
inline std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "(" << b.x << ", " << b.y << ", " << b.w << " x " << b.h << ")";
}
template <class F, class W>
Box boxOf(F rect, W* widget) {
    Box b{};
    rect(widget, &b.x, &b.y, &b.w, &b.h);
    return b;
}

// Compares every pixel of c from (from, from) on with expected(x, y): whole
// words when channel is -1, else that channel (0 red, 1 green, 2 blue) within
// tolerance. Returns the first miss as "x,y: got .. want ..", empty when none.
std::string firstMiss(const Canvas& c, const std::function<uint32_t(int32_t, int32_t)>& expected,
                      int32_t channel = -1, int32_t tolerance = 0, int32_t from = 0);
// Inside box one word, outside another.
std::function<uint32_t(int32_t, int32_t)> boxed(Box box, uint32_t inside, uint32_t outside);

// True when both canvases hold the same pixels.
bool samePixels(const Canvas& a, const Canvas& b);
// The smallest box around the pixels that differ between a and b; false when none differ.
bool differingBox(const Canvas& a, const Canvas& b, int32_t* left, int32_t* top, int32_t* right,
                  int32_t* bottom);

// One channel blended with alpha: old + (((colour - old) x alpha) >> 8), floored.
int32_t referenceBlend(int32_t old, int32_t colour, int32_t alpha);
// The blend alpha of a pixel whose distance beyond a shape's edge is
// distancePx (negative inside): a one-pixel ramp from +0.5 (none) to -0.5
// (full), quantised to 8 bits, times the pen alpha.
int32_t referenceCoverageAlpha(double distancePx, int32_t penAlpha);
// The channel a shape leaves: colour over old with the coverage of distancePx.
int32_t referenceShade(int32_t old, int32_t colour, double distancePx, int32_t penAlpha = 255);
