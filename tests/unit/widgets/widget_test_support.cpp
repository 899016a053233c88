#include "widget_test_support.h"

#include <cmath>

Canvas::Canvas(uint32_t width, uint32_t height, uint32_t r, uint32_t g, uint32_t b, uint32_t a)
    : pixbuf(afx_pixbuf_new(nullptr, width, height)) {
    afx_pixbuf_fill(nullptr, pixbuf, r, g, b, a);
}

Canvas::~Canvas() { afx_pixbuf_free(nullptr, pixbuf); }

int32_t Canvas::countNot(uint32_t word) const {
    int32_t n = 0;
    for (uint32_t y = 0; y < pixbuf->height; ++y)
        for (uint32_t x = 0; x < pixbuf->width; ++x) n += at(int32_t(x), int32_t(y)) != word;
    return n;
}

void fillBox(Canvas& c, Box box, uint32_t r, uint32_t g, uint32_t b) {
    for (int32_t y = box[1]; y < box[1] + box[3]; ++y)
        for (int32_t x = box[0]; x < box[0] + box[2]; ++x)
            afx_pixbuf_set_pixel(nullptr, c.pixbuf, x, y, r, g, b, 255);
}

::testing::AssertionResult restoresBox(
    const char* name, bool fromPicture, Box box,
    const std::function<void(afx_pixbuf*, afx_pixbuf*)>& restore) {
    Canvas picture(160, 100, 7, 8, 9), target(160, 100, 200, 0, 0), want(160, 100, 200, 0, 0);
    restore(fromPicture ? picture.pixbuf : nullptr, target.pixbuf);
    if (fromPicture) fillBox(want, box, 7, 8, 9);
    else fillBox(want, box, 40, 41, 42);
    return golden_compare(name, want.picture(), target.picture());
}

int32_t referenceBlend(int32_t old, int32_t colour, int32_t alpha) {
    return old + static_cast<int32_t>(std::floor((colour - old) * alpha / 256.0));
}

int32_t referenceCoverageAlpha(double distancePx, int32_t penAlpha) {
    const double coverage = std::fmin(std::fmax(0.5 - distancePx, 0.0), 65535.0 / 65536.0);
    const int32_t byte = static_cast<int32_t>(std::floor(coverage * 256.0));
    return byte * penAlpha / 256;
}
