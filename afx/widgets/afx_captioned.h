// The part the captioned kinds share (push button, toggle button, switch,
// text box): a text state first, so the record passes wherever a text state
// is expected, then a pen and the geometry. Also the caption's owned copy and
// its placement inside the box.
#pragma once

#include <cstdint>

#include "afx/afx_pen.h"
#include "afx/afx_text.h"
#include "afx/widgets/afx_widget.h"

struct afx_pixbuf;

struct afx_widget {
    afx_text text;  // "DejaVu Sans" after initialisation
    afx_pen pen;
    uint32_t x, y;  // logical pixels
    uint32_t width, height;
    uint32_t radius;  // corner radius [1]
};

// Text state, pen, zero geometry, corner radius 1. Release with afx_widget_release.
void afx_widget_init(afx_widget* widget);
// Frees the text state's atlas.
void afx_widget_release(afx_widget* widget);
void afx_widget_set_x(afx_widget* widget, uint32_t x);
void afx_widget_set_y(afx_widget* widget, uint32_t y);
// Corner radius.
void afx_widget_set_radius(afx_widget* widget, uint32_t radius);
// x <= px <= x + width and y <= py <= y + height.
bool afx_widget_hit(const afx_widget* widget, int32_t x, int32_t y);

// Replaces an owned caption with a copy of text (null: none). False when the
// copy cannot be made; the caption is then none.
bool afx_caption_set(char** caption, const char* text);
void afx_caption_free(char** caption);

// Gets the text state ready for a caption in the box: colour, target, size,
// line height = the box's height. Returns the caption's measured width.
float afx_caption_prepare(afx_widget* widget, afx_pixbuf* target, const char* caption,
                          float font_size, const afx_rgb& colour);
// The baseline that puts the middle of the capitals at the middle of the
// box: y + height - ceil(height - ascent). After afx_caption_prepare.
float afx_caption_baseline(const afx_widget* widget);
// Left edge of a caption for alignment 0 (x + indent) or 1 (centred on the
// box, by the truncated width).
float afx_caption_x(const afx_widget* widget, uint32_t alignment, float indent,
                    float caption_width);
// Draws the caption with its pen at (x, baseline).
void afx_caption_draw(afx_widget* widget, const char* caption, float x, float baseline);

// Restores a rectangle from the background picture (same coordinates in both
// buffers), or without one fills it with the colour (opaque).
void afx_widget_restore_rect(afx_pixbuf* target, const afx_pixbuf* background,
                             const afx_rgb& colour, int32_t x, int32_t y, int32_t width,
                             int32_t height);
