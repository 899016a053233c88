// A picture shown at a place of the back buffer, as it is: the editor's
// background.
#pragma once

#include <cstdint>

struct afx_context;
struct afx_pixbuf;

struct afx_image {
    uint32_t width, height;
    uint32_t x, y;
    const afx_pixbuf* pixbuf;  // not owned
    afx_context* context;
};

// Zero size at (0, 0), no picture.
void afx_image_init(afx_image* image, afx_context* context);
void afx_image_set_width(afx_image* image, uint32_t width);
void afx_image_set_height(afx_image* image, uint32_t height);
void afx_image_set_x(afx_image* image, uint32_t x);
void afx_image_set_y(afx_image* image, uint32_t y);
void afx_image_set_pixbuf(afx_image* image, const afx_pixbuf* pixbuf);
// Opaque copy of the picture's (0, 0, width, height) to (x, y), clipped to
// both buffers; nothing without a picture.
void afx_image_draw(const afx_image* image, afx_pixbuf* target);
