// A picture widget.
#include "afx/widgets/afx_image.h"

#include "afx/afx_pixbuf.h"

void afx_image_init(afx_image* image, afx_context* context) {
    image->width = image->height = 0;
    image->x = image->y = 0;
    image->pixbuf = nullptr;
    image->context = context;
}

void afx_image_set_width(afx_image* image, uint32_t width) { image->width = width; }
void afx_image_set_height(afx_image* image, uint32_t height) { image->height = height; }
void afx_image_set_x(afx_image* image, uint32_t x) { image->x = x; }
void afx_image_set_y(afx_image* image, uint32_t y) { image->y = y; }
void afx_image_set_pixbuf(afx_image* image, const afx_pixbuf* pixbuf) { image->pixbuf = pixbuf; }

void afx_image_draw(const afx_image* image, afx_pixbuf* target) {
    if (!image->pixbuf) return;
    afx_pixbuf_copy(image->context, image->pixbuf, target, 0, 0, static_cast<int32_t>(image->x),
                    static_cast<int32_t>(image->y), static_cast<int32_t>(image->width),
                    static_cast<int32_t>(image->height));
}
