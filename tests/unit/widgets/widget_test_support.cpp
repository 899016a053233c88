#include "widget_test_support.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "afx_render_output.h"

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

std::string Canvas::savePng(const char* name) const {
    std::vector<uint32_t> rgb(size_t(pixbuf->width) * pixbuf->height);
    for (uint32_t y = 0; y < pixbuf->height; ++y) {
        for (uint32_t x = 0; x < pixbuf->width; ++x) {
            const uint32_t w = at(int32_t(x), int32_t(y));
            rgb[y * pixbuf->width + x] = (w & 255u) << 16 | (w & 0xFF00u) | ((w >> 16) & 255u);
        }
    }
    return afx_write_render_png(name, int32_t(pixbuf->width), int32_t(pixbuf->height), rgb);
}

int32_t referenceBlend(int32_t old, int32_t colour, int32_t alpha) {
    return old + static_cast<int32_t>(std::floor((colour - old) * alpha / 256.0));
}

int32_t referenceCoverageAlpha(double distancePx, int32_t penAlpha) {
    const double coverage = std::fmin(std::fmax(0.5 - distancePx, 0.0), 65535.0 / 65536.0);
    const int32_t byte = static_cast<int32_t>(std::floor(coverage * 256.0));
    return byte * penAlpha / 256;
}

int32_t referenceShade(int32_t old, int32_t colour, double distancePx, int32_t penAlpha) {
    return referenceBlend(old, colour, referenceCoverageAlpha(distancePx, penAlpha));
}

bool samePixels(const Canvas& a, const Canvas& b) {
    int32_t l, t, r, bt;
    return a.pixbuf->width == b.pixbuf->width && a.pixbuf->height == b.pixbuf->height &&
           !differingBox(a, b, &l, &t, &r, &bt);
}

bool differingBox(const Canvas& a, const Canvas& b, int32_t* left, int32_t* top, int32_t* right,
                  int32_t* bottom) {
    bool any = false;
    for (int32_t y = 0; y < int32_t(a.pixbuf->height); ++y) {
        for (int32_t x = 0; x < int32_t(a.pixbuf->width); ++x) {
            if (a.at(x, y) == b.at(x, y)) continue;
            if (!any) {
                *left = *right = x;
                *top = *bottom = y;
                any = true;
            }
            if (x < *left) *left = x;
            if (x > *right) *right = x;
            if (y < *top) *top = y;
            if (y > *bottom) *bottom = y;
        }
    }
    return any;
}

std::string firstMiss(const Canvas& c, const std::function<uint32_t(int32_t, int32_t)>& expected,
                      int32_t channel, int32_t tolerance, int32_t from) {
    for (int32_t y = from; y < int32_t(c.pixbuf->height); ++y) {
        for (int32_t x = from; x < int32_t(c.pixbuf->width); ++x) {
            uint32_t got = c.at(x, y), want = expected(x, y);
            if (channel >= 0) {
                got = (got >> (8 * channel)) & 255u;
                want &= 255u;
            }
            const bool miss =
                channel < 0 ? got != want : std::abs(int32_t(got) - int32_t(want)) > tolerance;
            if (miss)
                return std::to_string(x) + "," + std::to_string(y) + ": got " +
                       std::to_string(got) + " want " + std::to_string(want);
        }
    }
    return std::string();
}

std::function<uint32_t(int32_t, int32_t)> boxed(Box box, uint32_t inside, uint32_t outside) {
    return [=](int32_t x, int32_t y) { return box.contains(x, y) ? inside : outside; };
}
