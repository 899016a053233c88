// 32-bit RGBA pixel buffers with straight alpha (bytes red, green, blue,
// alpha; rows top to bottom, stride width x 4), the surfaces every widget
// draws into, and the pixel-data images the library carries as resources.
//
// Drawing calls clip to the buffer: parts of a rectangle or run outside it are
// skipped. Colours are 0..255 per channel. Blending follows one channel rule,
// new = old + (((colour - old) x alpha) >> 8) with an arithmetic shift, on red,
// green and blue; the destination's alpha byte is kept. Alpha 255 therefore
// leaves the colour one short of the target when rising (255 over 0 gives 254).
#pragma once

#include <cstdint>

struct afx_context;

struct afx_pixbuf {
    uint32_t width;
    uint32_t height;
    uint32_t stride;           // bytes per row
    uint32_t bytes_per_pixel;  // 4
    uint8_t* pixels;           // resource memory (read-only) or owned
    uint8_t owns_pixels;       // 1 when pixels were allocated here
};

// One channel of the blend rule.
inline uint32_t afx_blend_channel(uint32_t old, uint32_t colour, uint32_t alpha) {
    const int32_t d = static_cast<int32_t>(colour) - static_cast<int32_t>(old);
    return static_cast<uint32_t>(static_cast<int32_t>(old) +
                                 ((d * static_cast<int32_t>(alpha)) >> 8)) &
           0xFFu;
}

// A pixbuf over the pixel-data resource id (type "BINARY") of the library: the
// pixels stay in the resource (not owned, never to be written). Null when the
// resource is missing or malformed; a wrong magic also writes
// "afx_pixbuf_new_from_inline - pixbuf is not a pixbuf test failed\n" to stderr.
afx_pixbuf* afx_pixbuf_new_from_inline(afx_context* context, int32_t id);
// The same without any message, for font atlases.
afx_pixbuf* afx_pixbuf_new_from_inline_quiet(afx_context* context, int32_t id);
// Interprets bytes as a pixel-data image (24-byte big-endian header, then
// RGBA rows). Null when malformed; quiet as above.
afx_pixbuf* afx_pixbuf_new_from_pixdata(const void* bytes, uint32_t size_bytes, bool quiet);

// An owned width x height pixbuf, every visible pixel opaque black
// (0xFF000000). Its pixel array has an 8-pixel margin on each axis beyond the
// visible area. Null when a size is 0 or memory runs out.
afx_pixbuf* afx_pixbuf_new(afx_context* context, uint32_t width, uint32_t height);
// Frees an owned pixel array and the record; a resource pixbuf loses only its record.
void afx_pixbuf_free(afx_context* context, afx_pixbuf* pixbuf);

// Sets every visible pixel (allocating the array first when it is absent).
void afx_pixbuf_fill(afx_context* context, afx_pixbuf* pixbuf, uint32_t r, uint32_t g, uint32_t b,
                     uint32_t a);
// Fills with opaque black.
void afx_pixbuf_clear(afx_context* context, afx_pixbuf* pixbuf);
// Opaque fill of a rectangle (alpha 255); nothing for a null pixbuf or a height below 1.
void afx_pixbuf_fill_rect(afx_context* context, afx_pixbuf* pixbuf, int32_t x, int32_t y,
                          int32_t width, int32_t height, uint32_t r, uint32_t g, uint32_t b);
// Writes one pixel as given, alpha included.
void afx_pixbuf_set_pixel(afx_context* context, afx_pixbuf* pixbuf, int32_t x, int32_t y,
                          uint32_t r, uint32_t g, uint32_t b, uint32_t a);
// Reads one pixel as a little-endian word (red in bits 0-7, alpha in 24-31); 0 outside.
uint32_t afx_pixbuf_pixel(const afx_pixbuf* pixbuf, int32_t x, int32_t y);
// Blends a colour over a run; the ends may come in either order, both are included.
void afx_pixbuf_blend_hline(afx_context* context, afx_pixbuf* pixbuf, int32_t x1, int32_t y,
                            int32_t x2, uint32_t r, uint32_t g, uint32_t b, uint32_t a);
void afx_pixbuf_blend_vline(afx_context* context, afx_pixbuf* pixbuf, int32_t x, int32_t y1,
                            int32_t y2, uint32_t r, uint32_t g, uint32_t b, uint32_t a);
// Copies a rectangle unchanged (alpha included).
void afx_pixbuf_copy(afx_context* context, const afx_pixbuf* source, afx_pixbuf* destination,
                     int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t width, int32_t height);
// Blends a rectangle: each source pixel's alpha blends its colour over the
// destination, whose alpha stays.
void afx_pixbuf_blend(afx_context* context, const afx_pixbuf* source, afx_pixbuf* destination,
                      int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t width,
                      int32_t height);
