// Canvases, the hit, dirty and restore check, and the blend and coverage rules in floating point.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"
#include "golden_image.h"

struct Canvas {
    Canvas(uint32_t width, uint32_t height, uint32_t r = 0, uint32_t g = 0, uint32_t b = 0,
           uint32_t a = 255);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    uint32_t at(int32_t x, int32_t y) const { return afx_pixbuf_pixel(pixbuf, x, y); }
    int32_t countNot(uint32_t word) const;  // pixels other than word
    GoldenPicture picture() const { return golden_picture(pixbuf); }

    afx_pixbuf* pixbuf;
};

inline uint32_t rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
    return r | g << 8 | b << 16 | a << 24;
}

using Box = std::array<int32_t, 4>;  // x, y, width, height
template <class F, class W>
Box boxOf(F rect, W* widget) {
    Box b{};
    rect(widget, &b[0], &b[1], &b[2], &b[3]);
    return b;
}

void fillBox(Canvas& c, Box box, uint32_t r, uint32_t g, uint32_t b);
// restore(picture, target) on a 160 x 100 target must fill only box: from the
// picture, or without one with the background colour (40, 41, 42).
::testing::AssertionResult restoresBox(
    const char* name, bool fromPicture, Box box,
    const std::function<void(afx_pixbuf*, afx_pixbuf*)>& restore);

// The last pixel right and down that hits, the dirty rectangle, what restore covers with and
// without a picture.
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

// old + (colour - old) x alpha / 256, floored.
int32_t referenceBlend(int32_t old, int32_t colour, int32_t alpha);
// The alpha at distancePx beyond an edge: +0.5 none to -0.5 full, in 8 bits, times the pen's.
int32_t referenceCoverageAlpha(double distancePx, int32_t penAlpha);

// The library's font atlases, embedded from korvex52.rc.
void* korvex_widget_resources_module();

class CaptionTest : public ::testing::Test {
protected:
    void SetUp() override { afx_set_module(korvex_widget_resources_module()); }
    void TearDown() override { afx_set_module(nullptr); }
};
