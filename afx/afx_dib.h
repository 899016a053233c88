// Window bitmaps: 24-bit top-down device-independent bitmaps (blue, green, red
// per pixel; rows padded to 4 bytes) the size of a window, what the screen is
// copied from. A back-buffer pixbuf in logical pixels is resampled into one
// and presented to the window.
#pragma once

#include <cstdint>

struct afx_context;
struct afx_pixbuf;

struct afx_dib {
    void* bitmap;     // the platform's bitmap
    uint8_t* pixels;  // owned by the bitmap
    uint32_t stride;  // width x 3 rounded up to 4
    uint32_t width;
    uint32_t height;
};

// A black width x height bitmap made on the window's device context; null on failure.
afx_dib* afx_dib_new(afx_context* context, uint32_t width, uint32_t height, int32_t window_index);
void afx_dib_free(afx_context* context, afx_dib* dib);

// Resamples a region of source into the bitmap with a bicubic (Catmull-Rom)
// filter. The destination rectangle (x, y, width, height) is in bitmap pixels;
// bitmap pixel X shows source column (X - offset_x) / scale, likewise for rows.
// Clipped to the bitmap and to where the source reaches; alpha is ignored.
// Scale 1.0 copies exactly.
void afx_dib_scale_from(afx_context* context, const afx_pixbuf* source, afx_dib* dib, int32_t x,
                        int32_t y, int32_t width, int32_t height, int32_t offset_x,
                        int32_t offset_y, float scale);

// Copies the rectangle (sx, sy, width, height) of the bitmap to (dx, dy) of the
// window; the rectangle is first cut to the bitmap.
void afx_present(afx_context* context, int32_t window_index, afx_dib* dib, int32_t sx, int32_t sy,
                 int32_t dx, int32_t dy, int32_t width, int32_t height);
// The same with every channel halved for the transfer; the bitmap is unchanged after.
void afx_present_dimmed(afx_context* context, int32_t window_index, afx_dib* dib, int32_t sx,
                        int32_t sy, int32_t dx, int32_t dy, int32_t width, int32_t height);
// The same in grey with darker bands two logical pixels high (scale: device
// pixels per logical pixel); the bitmap is unchanged after.
void afx_present_striped(afx_context* context, int32_t window_index, afx_dib* dib, int32_t sx,
                         int32_t sy, int32_t dx, int32_t dy, int32_t width, int32_t height,
                         float scale);

// A bitmap with a dot grid and a dotted triangular resize grip in the
// bottom-right corner. Dots are (r, g, b) x 2/7, dot_size square every period
// pixels; the grip (orange) fills grip_size pixels up to grip_margin pixels
// from the right and bottom edges. Null on failure.
afx_dib* afx_dib_new_pattern(afx_context* context, uint32_t width, uint32_t height, uint32_t r,
                             uint32_t g, uint32_t b, int32_t grip_size, int32_t grip_margin,
                             int32_t period, int32_t dot_size, int32_t window_index);
