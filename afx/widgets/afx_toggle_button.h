// The editor's toggle button: a rounded box with a thin border, filled by
// state (on, hover, normal), an optional inner shade and a caption in the on
// or off text colour. It holds its state only; the owner toggles it.
#pragma once

#include <cstdint>

#include "afx/widgets/afx_captioned.h"

struct afx_context;
struct afx_pixbuf;

struct afx_toggle_button {
    afx_widget widget;
    afx_rgb highlight;         // inner shade [0, 0, 0]
    uint32_t highlight_alpha;  // [32]
    afx_rgb background;        // restore colour without a background picture
    afx_rgb fill;
    afx_rgb border;  // [22, 22, 22]
    afx_rgb on_fill;
    afx_rgb hover_fill;
    afx_rgb text_colour;     // while off
    afx_rgb on_text_colour;  // while on
    uint32_t alignment;      // 0 left (indented by the font size), 1 centred [0]
    uint32_t caption_width;  // as last measured
    float font_size;         // [12]
    uint8_t on;
    uint8_t pressed;
    uint8_t dirty;
    uint8_t highlight_on;  // draw the inner shade
    uint8_t hover;
    char* caption;  // owned, or none
    afx_context* context;
    const afx_pixbuf* background_pixbuf;  // not owned
};

void afx_toggle_button_init(afx_toggle_button* button, afx_context* context);
// Frees the caption and the text state's atlas.
void afx_toggle_button_release(afx_toggle_button* button);

// Width and height also set the font size to half the smaller side.
void afx_toggle_button_set_width(afx_toggle_button* button, uint32_t width);
void afx_toggle_button_set_height(afx_toggle_button* button, uint32_t height);
void afx_toggle_button_set_highlight_colour(afx_toggle_button* button, uint32_t r, uint32_t g,
                                            uint32_t b);
void afx_toggle_button_set_highlight_alpha(afx_toggle_button* button, uint32_t alpha);
void afx_toggle_button_set_background_colour(afx_toggle_button* button, uint32_t r, uint32_t g,
                                             uint32_t b);
void afx_toggle_button_set_fill(afx_toggle_button* button, uint32_t r, uint32_t g, uint32_t b);
void afx_toggle_button_set_border_colour(afx_toggle_button* button, uint32_t r, uint32_t g,
                                         uint32_t b);
void afx_toggle_button_set_on_fill(afx_toggle_button* button, uint32_t r, uint32_t g, uint32_t b);
void afx_toggle_button_set_hover_fill(afx_toggle_button* button, uint32_t r, uint32_t g,
                                      uint32_t b);
void afx_toggle_button_set_text_colour(afx_toggle_button* button, uint32_t r, uint32_t g,
                                       uint32_t b);
void afx_toggle_button_set_on_text_colour(afx_toggle_button* button, uint32_t r, uint32_t g,
                                          uint32_t b);
void afx_toggle_button_set_alignment(afx_toggle_button* button, uint32_t alignment);
void afx_toggle_button_set_font_size(afx_toggle_button* button, float pixels);
void afx_toggle_button_set_on(afx_toggle_button* button, bool on);
bool afx_toggle_button_is_on(const afx_toggle_button* button);
void afx_toggle_button_toggle(afx_toggle_button* button);
void afx_toggle_button_set_pressed(afx_toggle_button* button, bool on);
bool afx_toggle_button_is_pressed(const afx_toggle_button* button);
void afx_toggle_button_set_dirty(afx_toggle_button* button, bool on);
void afx_toggle_button_set_highlight(afx_toggle_button* button, bool on);
void afx_toggle_button_set_hover(afx_toggle_button* button, bool on);
// Keeps a copy; null removes the caption.
void afx_toggle_button_set_caption(afx_toggle_button* button, const char* caption);
void afx_toggle_button_set_background(afx_toggle_button* button, const afx_pixbuf* pixbuf);

// Inside the box, edges included.
bool afx_toggle_button_hit(const afx_toggle_button* button, int32_t x, int32_t y);
// (x - r - 1, y - r - 1, width + 2 + 2r, height + 2 + 2r), r the corner radius.
void afx_toggle_button_dirty_rect(const afx_toggle_button* button, int32_t* x, int32_t* y,
                                  int32_t* width, int32_t* height);
// Clears dirty and restores (x, y, width + 1, height + 1).
void afx_toggle_button_restore(afx_toggle_button* button, afx_pixbuf* target);
// Border 1/16 of the smaller side wide around the box, fill, shade, caption.
void afx_toggle_button_draw(afx_toggle_button* button, afx_pixbuf* target);
void afx_toggle_button_redraw(afx_toggle_button* button, afx_pixbuf* target);
