// The dialogs' text box: a rounded box in a fill colour with one line of
// text, clipped to the box less a 4-pixel inset on the left. Alignment 0
// starts the text after the inset, 1 centres it, and 2 keeps its end visible
// when it is wider than the box (the start is cut), like an entry field.
#pragma once

#include <cstdint>

#include "afx/widgets/afx_captioned.h"

struct afx_context;
struct afx_pixbuf;

struct afx_text_box {
    afx_widget widget;
    afx_rgb fill;
    afx_rgb text_colour;
    uint32_t alignment;  // 0 left, 1 centre, 2 keep the end visible [0]
    float font_size;     // pixels [0]; width and height set it
    uint8_t hidden;
    char* caption;  // owned, or none
    afx_context* context;
    const afx_pixbuf* background_pixbuf;  // not owned
    afx_rgb background;                   // restore colour without a background picture
};

void afx_text_box_init(afx_text_box* box, afx_context* context);
// Frees the caption and the text state's atlas.
void afx_text_box_release(afx_text_box* box);

// Width and height also set the font size to 0.6 of the smaller side.
void afx_text_box_set_width(afx_text_box* box, uint32_t width);
void afx_text_box_set_height(afx_text_box* box, uint32_t height);
void afx_text_box_set_fill(afx_text_box* box, uint32_t r, uint32_t g, uint32_t b);
void afx_text_box_set_text_colour(afx_text_box* box, uint32_t r, uint32_t g, uint32_t b);
void afx_text_box_set_alignment(afx_text_box* box, uint32_t alignment);
void afx_text_box_set_font_size(afx_text_box* box, float pixels);
// Only stores the flag: the owner redraws what lies under a box it hides.
void afx_text_box_set_hidden(afx_text_box* box, bool on);
// Keeps a copy; null removes the text.
void afx_text_box_set_caption(afx_text_box* box, const char* caption);
void afx_text_box_set_background(afx_text_box* box, const afx_pixbuf* pixbuf);
void afx_text_box_set_background_colour(afx_text_box* box, uint32_t r, uint32_t g, uint32_t b);

// Inside the box, edges included.
bool afx_text_box_hit(const afx_text_box* box, int32_t x, int32_t y);
// (x, y, width + 1, height + 1).
void afx_text_box_dirty_rect(const afx_text_box* box, int32_t* x, int32_t* y, int32_t* width,
                             int32_t* height);
// Nothing while hidden; otherwise restores the dirty rectangle.
void afx_text_box_restore(afx_text_box* box, afx_pixbuf* target);
// Left edge of the text for a measured width, by the alignment.
float afx_text_box_caption_x(const afx_text_box* box, float caption_width);
// Nothing while hidden.
void afx_text_box_draw(afx_text_box* box, afx_pixbuf* target);
void afx_text_box_redraw(afx_text_box* box, afx_pixbuf* target);
