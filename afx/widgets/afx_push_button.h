// The dialogs' push button: a rounded box in one of three fills (normal,
// hover, pressed) with a caption, or a two-frame picture (normal above
// pressed). It can be hidden: it then draws nothing and is never hit, and the
// next restore erases it. The owner sets pressed, hover and activated.
#pragma once

#include <cstdint>

#include "afx/widgets/afx_captioned.h"

struct afx_context;
struct afx_pixbuf;

struct afx_push_button {
    afx_widget widget;
    afx_rgb background;  // restore colour without a background picture
    afx_rgb fill;
    afx_rgb pressed_fill;
    afx_rgb hover_fill;
    afx_rgb text_colour;
    afx_rgb pressed_text_colour;
    uint32_t alignment;      // 0 left (indented by the font size), 1 centred [0]
    char* caption;           // owned, or none
    uint32_t caption_width;  // as last measured
    float font_size;         // [12]
    uint8_t pressed;
    uint8_t activated;
    uint8_t hidden;
    uint8_t dirty;
    uint8_t hover;
    afx_context* context;
    const afx_pixbuf* background_pixbuf;  // not owned
    const afx_pixbuf* image;              // not owned; none: the vector button
};

void afx_push_button_init(afx_push_button* button, afx_context* context);
// Frees the caption and the text state's atlas.
void afx_push_button_release(afx_push_button* button);

// Width and height also set the font size to half the smaller side.
void afx_push_button_set_width(afx_push_button* button, uint32_t width);
void afx_push_button_set_height(afx_push_button* button, uint32_t height);
void afx_push_button_set_background_colour(afx_push_button* button, uint32_t r, uint32_t g,
                                           uint32_t b);
void afx_push_button_set_fill(afx_push_button* button, uint32_t r, uint32_t g, uint32_t b);
void afx_push_button_set_pressed_fill(afx_push_button* button, uint32_t r, uint32_t g, uint32_t b);
void afx_push_button_set_hover_fill(afx_push_button* button, uint32_t r, uint32_t g, uint32_t b);
void afx_push_button_set_text_colour(afx_push_button* button, uint32_t r, uint32_t g, uint32_t b);
void afx_push_button_set_pressed_text_colour(afx_push_button* button, uint32_t r, uint32_t g,
                                             uint32_t b);
void afx_push_button_set_alignment(afx_push_button* button, uint32_t alignment);
// Keeps a copy; null removes the caption.
void afx_push_button_set_caption(afx_push_button* button, const char* caption);
void afx_push_button_set_font_size(afx_push_button* button, float pixels);
void afx_push_button_set_pressed(afx_push_button* button, bool on);
void afx_push_button_set_hover(afx_push_button* button, bool on);
void afx_push_button_set_activated(afx_push_button* button, bool on);
void afx_push_button_clear_activated(afx_push_button* button);
bool afx_push_button_is_activated(const afx_push_button* button);
// A change marks the button dirty, so that the next restore erases or shows it.
void afx_push_button_set_hidden(afx_push_button* button, bool on);
// Ignored while hidden.
void afx_push_button_set_dirty(afx_push_button* button, bool on);
void afx_push_button_set_background(afx_push_button* button, const afx_pixbuf* pixbuf);
// Two frames stacked vertically, each width x height of the button.
void afx_push_button_set_image(afx_push_button* button, const afx_pixbuf* pixbuf);

// Inside the box, edges included; never while hidden.
bool afx_push_button_hit(const afx_push_button* button, int32_t x, int32_t y);
// The box grown by the corner radius and a pixel, not left of or above 0.
void afx_push_button_dirty_rect(const afx_push_button* button, int32_t* x, int32_t* y,
                                int32_t* width, int32_t* height);
// Nothing while hidden and clean; otherwise clears dirty and restores (x, y, width + 1, height +
// 1).
void afx_push_button_restore(afx_push_button* button, afx_pixbuf* target);
// Nothing while hidden.
void afx_push_button_draw(afx_push_button* button, afx_pixbuf* target);
void afx_push_button_redraw(afx_push_button* button, afx_pixbuf* target);
