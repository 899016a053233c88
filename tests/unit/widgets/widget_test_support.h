// Shared helpers of the shape and widget tests: owned canvases and pixel
// reads, the hit, dirty and restore check every widget shares, the fixture
// with the library's fonts, and the blend and coverage rules written out once
// more from their definitions, in floating point, as the independent reference.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"
#include "golden_image.h"

// An owned canvas filled with one colour; freed by the destructor.
struct Canvas {
    Canvas(uint32_t width, uint32_t height, uint32_t r = 0, uint32_t g = 0, uint32_t b = 0,
           uint32_t a = 255);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    uint32_t at(int32_t x, int32_t y) const { return afx_pixbuf_pixel(pixbuf, x, y); }
    uint32_t red(int32_t x, int32_t y) const { return at(x, y) & 255u; }
    // Number of pixels that differ from word.
    int32_t countNot(uint32_t word) const;
    // The canvas as the suite's comparator takes it (golden_compare).
    GoldenPicture picture() const { return golden_picture(pixbuf); }

    afx_pixbuf* pixbuf;
};

inline uint32_t rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
    return r | g << 8 | b << 16 | a << 24;
}

// A widget's rectangle as its dirty-rectangle function reports it.
struct Box {
    int32_t x, y, w, h;
    bool operator==(const Box& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
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

// Fills box with one opaque colour, pixel by pixel.
void fillBox(Canvas& c, Box box, uint32_t r, uint32_t g, uint32_t b);
// Runs restore(picture, target) on a 160 x 100 target of (200, 0, 0), with
// picture a background of (7, 8, 9) or null, and compares the target with
// box filled with that picture's colour, or else with the widgets' background
// colour in these tests, (40, 41, 42).
::testing::AssertionResult restoresBox(
    const char* name, bool fromPicture, Box box,
    const std::function<void(afx_pixbuf*, afx_pixbuf*)>& restore);

// Each widget where its last pixel right and down still hits and one beyond
// misses, its dirty rectangle, and what restore covers from a picture and
// with the background colour.
struct Rects {
    int32_t lastX, lastY;
    Box dirty, fromPicture, withColour;
};

template <class W, class Hit, class Dirty, class Back, class Restore>
void expectRects(W* w, const Rects& k, Hit hit, Dirty dirty, Back back, Restore restore) {
    EXPECT_TRUE(hit(w, k.lastX, k.lastY));
    EXPECT_FALSE(hit(w, k.lastX + 1, k.lastY));
    EXPECT_FALSE(hit(w, k.lastX, k.lastY + 1));
    EXPECT_EQ(boxOf(dirty, w), k.dirty);
    for (bool fromPicture : {true, false}) {
        EXPECT_TRUE(restoresBox("widget-restore", fromPicture,
                                fromPicture ? k.fromPicture : k.withColour,
                                [&](afx_pixbuf* picture, afx_pixbuf* target) {
                                    back(w, picture);
                                    restore(w, target);
                                }));
    }
}

// One channel blended with alpha: old + (((colour - old) x alpha) >> 8), floored.
int32_t referenceBlend(int32_t old, int32_t colour, int32_t alpha);
// The blend alpha of a pixel whose distance beyond a shape's edge is
// distancePx (negative inside): a one-pixel ramp from +0.5 (none) to -0.5
// (full), quantised to 8 bits, times the pen alpha.
int32_t referenceCoverageAlpha(double distancePx, int32_t penAlpha);

// The library's resources (font atlases), embedded from korvex52.rc into
// each test program of the captioned widgets.
void* korvex_widget_resources_module();

class CaptionTest : public ::testing::Test {
protected:
    void SetUp() override { afx_set_module(korvex_widget_resources_module()); }
    void TearDown() override { afx_set_module(nullptr); }
};
