// Pixel buffers: the pixel-data loader and the drawing operations widgets use.
// Every operation clips its rectangle or run to the buffer once and then runs
// a tight row loop.
#include "afx/afx_pixbuf.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "afx/afx_context.h"
#include "afx/afx_pixel_rows.h"
#include "afx/platform/afx_platform.h"

namespace {

constexpr uint32_t kPixdataMagic = 0x47646B50u;  // "GdkP"
constexpr uint32_t kHeaderBytes = 24;
// Created buffers reach this many pixels beyond the visible area on each axis.
constexpr uint32_t kMargin = 8;
constexpr uint32_t kOpaqueBlack = 0xFF000000u;

uint32_t read_be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint32_t pack(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16) | ((a & 0xFFu) << 24);
}

uint8_t* at(const afx_pixbuf* p, int32_t x, int32_t y) {
    return p->pixels + static_cast<size_t>(y) * p->stride + static_cast<size_t>(x) * 4u;
}

// Clips the rectangle (x, y, w, h) to 0..width x 0..height; false when empty.
bool clip(int32_t* x, int32_t* y, int32_t* w, int32_t* h, uint32_t width, uint32_t height) {
    if (*x < 0) {
        *w += *x;
        *x = 0;
    }
    if (*y < 0) {
        *h += *y;
        *y = 0;
    }
    if (static_cast<int64_t>(*x) + *w > width) *w = static_cast<int32_t>(width) - *x;
    if (static_cast<int64_t>(*y) + *h > height) *h = static_cast<int32_t>(height) - *y;
    return *w > 0 && *h > 0;
}

// Clips a transfer between two buffers, moving both corners together.
bool clip_transfer(const afx_pixbuf* s, const afx_pixbuf* d, int32_t* sx, int32_t* sy, int32_t* dx,
                   int32_t* dy, int32_t* w, int32_t* h) {
    if (!s || !d || !s->pixels || !d->pixels) return false;
    int32_t ox = *sx, oy = *sy;
    if (!clip(sx, sy, w, h, s->width, s->height)) return false;
    *dx += *sx - ox;
    *dy += *sy - oy;
    ox = *dx;
    oy = *dy;
    if (!clip(dx, dy, w, h, d->width, d->height)) return false;
    *sx += *dx - ox;
    *sy += *dy - oy;
    return true;
}

}  // namespace

afx_pixbuf* afx_pixbuf_new_from_pixdata(const void* bytes, uint32_t size_bytes, bool quiet) {
    const uint8_t* b = static_cast<const uint8_t*>(bytes);
    if (!b || size_bytes < kHeaderBytes) return nullptr;
    if (read_be32(b) != kPixdataMagic) {
        if (!quiet)
            std::fputs("afx_pixbuf_new_from_inline - pixbuf is not a pixbuf test failed\n", stderr);
        return nullptr;
    }
    const uint32_t stride = read_be32(b + 12);
    const uint32_t width = read_be32(b + 16);
    const uint32_t height = read_be32(b + 20);
    // Resource bytes come from outside the code: the rows must lie inside them.
    if (width == 0 || height == 0 || width > 0x3FFFFFFFu || stride < width * 4u) return nullptr;
    if (static_cast<uint64_t>(stride) * height > size_bytes - kHeaderBytes) return nullptr;
    afx_pixbuf* p = static_cast<afx_pixbuf*>(std::calloc(1, sizeof(afx_pixbuf)));
    if (!p) return nullptr;
    p->width = width;
    p->height = height;
    p->stride = stride;
    p->bytes_per_pixel = 4;
    p->pixels = const_cast<uint8_t*>(b + kHeaderBytes);
    p->owns_pixels = 0;
    return p;
}

static afx_pixbuf* from_resource(int32_t id, bool quiet) {
    if (id < 0) return nullptr;
    uint32_t size = 0;
    const void* bytes = afxp_resource_find(afx_get_module(), static_cast<uint32_t>(id), &size);
    return bytes ? afx_pixbuf_new_from_pixdata(bytes, size, quiet) : nullptr;
}

afx_pixbuf* afx_pixbuf_new_from_inline(afx_context*, int32_t id) {
    return from_resource(id, false);
}
afx_pixbuf* afx_pixbuf_new_from_inline_quiet(afx_context*, int32_t id) {
    return from_resource(id, true);
}

afx_pixbuf* afx_pixbuf_new(afx_context* context, uint32_t width, uint32_t height) {
    if (width == 0 || height == 0 || width > 0x8000u || height > 0x8000u) return nullptr;
    afx_pixbuf* p = static_cast<afx_pixbuf*>(std::calloc(1, sizeof(afx_pixbuf)));
    if (!p) return nullptr;
    p->width = width;
    p->height = height;
    p->stride = width * 4u;
    p->bytes_per_pixel = 4;
    afx_pixbuf_clear(context, p);
    if (!p->pixels) {
        std::free(p);
        return nullptr;
    }
    return p;
}

void afx_pixbuf_free(afx_context*, afx_pixbuf* pixbuf) {
    if (!pixbuf) return;
    if (pixbuf->owns_pixels) std::free(pixbuf->pixels);
    std::free(pixbuf);
}

void afx_pixbuf_fill(afx_context*, afx_pixbuf* p, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    if (!p) return;
    if (!p->pixels) {
        const size_t bytes = size_t(p->width + kMargin) * (p->height + kMargin) * 4u;
        p->pixels = static_cast<uint8_t*>(std::calloc(bytes, 1));
        if (!p->pixels) return;
        p->owns_pixels = 1;
        p->stride = p->width * 4u;
        p->bytes_per_pixel = 4;
    }
    const uint32_t word = pack(r, g, b, a);
    for (uint32_t y = 0; y < p->height; ++y)
        afx_fill_row(word, at(p, 0, int32_t(y)), int32_t(p->width));
}

void afx_pixbuf_clear(afx_context* context, afx_pixbuf* p) {
    afx_pixbuf_fill(context, p, 0, 0, 0, kOpaqueBlack >> 24);
}

void afx_pixbuf_fill_rect(afx_context*, afx_pixbuf* p, int32_t x, int32_t y, int32_t w, int32_t h,
                          uint32_t r, uint32_t g, uint32_t b) {
    if (!p || !p->pixels || h < 1) return;
    if (!clip(&x, &y, &w, &h, p->width, p->height)) return;
    const uint32_t word = pack(r, g, b, 255);
    for (int32_t row = 0; row < h; ++row) afx_fill_row(word, at(p, x, y + row), w);
}

void afx_pixbuf_set_pixel(afx_context*, afx_pixbuf* p, int32_t x, int32_t y, uint32_t r, uint32_t g,
                          uint32_t b, uint32_t a) {
    if (!p || !p->pixels || x < 0 || y < 0 || uint32_t(x) >= p->width || uint32_t(y) >= p->height)
        return;
    const uint32_t word = pack(r, g, b, a);
    std::memcpy(at(p, x, y), &word, 4);
}

uint32_t afx_pixbuf_pixel(const afx_pixbuf* p, int32_t x, int32_t y) {
    if (!p || !p->pixels || x < 0 || y < 0 || uint32_t(x) >= p->width || uint32_t(y) >= p->height)
        return 0;
    uint32_t word;
    std::memcpy(&word, at(p, x, y), 4);
    return word;
}

void afx_pixbuf_blend_hline(afx_context*, afx_pixbuf* p, int32_t x1, int32_t y, int32_t x2,
                            uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    if (!p || !p->pixels) return;
    if (x2 < x1) {
        const int32_t t = x1;
        x1 = x2;
        x2 = t;
    }
    int32_t w = x2 - x1 + 1, h = 1;
    if (!clip(&x1, &y, &w, &h, p->width, p->height)) return;
    afx_blend_colour_row(pack(r, g, b, a), at(p, x1, y), w);
}

void afx_pixbuf_blend_vline(afx_context*, afx_pixbuf* p, int32_t x, int32_t y1, int32_t y2,
                            uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    if (!p || !p->pixels) return;
    if (y2 < y1) {
        const int32_t t = y1;
        y1 = y2;
        y2 = t;
    }
    int32_t w = 1, h = y2 - y1 + 1;
    if (!clip(&x, &y1, &w, &h, p->width, p->height)) return;
    const uint32_t colour = pack(r, g, b, a);
    for (int32_t row = 0; row < h; ++row)
        afx_blend_colour_row_scalar(colour, at(p, x, y1 + row), 1);
}

void afx_pixbuf_copy(afx_context*, const afx_pixbuf* s, afx_pixbuf* d, int32_t sx, int32_t sy,
                     int32_t dx, int32_t dy, int32_t w, int32_t h) {
    if (!clip_transfer(s, d, &sx, &sy, &dx, &dy, &w, &h)) return;
    for (int32_t row = 0; row < h; ++row) {
        std::memmove(at(d, dx, dy + row), at(s, sx, sy + row), size_t(w) * 4u);
    }
}

void afx_pixbuf_blend(afx_context*, const afx_pixbuf* s, afx_pixbuf* d, int32_t sx, int32_t sy,
                      int32_t dx, int32_t dy, int32_t w, int32_t h) {
    if (!clip_transfer(s, d, &sx, &sy, &dx, &dy, &w, &h)) return;
    for (int32_t row = 0; row < h; ++row)
        afx_blend_row(at(s, sx, sy + row), at(d, dx, dy + row), w);
}
