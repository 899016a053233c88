// The editor's slide switch: a framed track in the on or off colour with a
// thumb on one half. Thumb side 1 puts the thumb on the right while on; any
// other thumb side puts it on the right while off. The caption shows only
// while on, in the half the thumb leaves free.
#pragma once

#include <cstdint>

#include "afx/widgets/afx_captioned.h"

struct afx_context;
struct afx_pixbuf;

struct afx_switch {
    afx_widget widget;
    afx_rgb background;              // restore colour without a background picture
    afx_rgb thumb_highlight;         // [0, 0, 0]
    uint32_t thumb_highlight_alpha;  // [32]
    afx_rgb thumb;                   // [64, 64, 64]
    afx_rgb track_on;                // [127, 79, 127]
    afx_rgb track_off;               // [40, 40, 40]
    afx_rgb frame;                   // [22, 22, 22]
    afx_rgb text_colour;             // [240, 240, 240]
    uint32_t thumb_side;             // [0]
    float font_size;                 // [12]
    uint8_t on;
    uint8_t pressed;
    uint8_t dirty;
    uint8_t thumb_highlight_on;  // shade the thumb
    char* caption;               // owned, or none; shown only while on
    afx_context* context;
    const afx_pixbuf* background_pixbuf;  // not owned
};

void afx_switch_init(afx_switch* sw, afx_context* context);
// Frees the caption and the text state's atlas.
void afx_switch_release(afx_switch* sw);

// Width and height also set the font size to half the smaller side.
void afx_switch_set_width(afx_switch* sw, uint32_t width);
void afx_switch_set_height(afx_switch* sw, uint32_t height);
void afx_switch_set_background_colour(afx_switch* sw, uint32_t r, uint32_t g, uint32_t b);
void afx_switch_set_thumb_highlight_colour(afx_switch* sw, uint32_t r, uint32_t g, uint32_t b);
void afx_switch_set_thumb_highlight_alpha(afx_switch* sw, uint32_t alpha);
void afx_switch_set_thumb_colour(afx_switch* sw, uint32_t r, uint32_t g, uint32_t b);
void afx_switch_set_track_on_colour(afx_switch* sw, uint32_t r, uint32_t g, uint32_t b);
void afx_switch_set_track_off_colour(afx_switch* sw, uint32_t r, uint32_t g, uint32_t b);
void afx_switch_set_frame_colour(afx_switch* sw, uint32_t r, uint32_t g, uint32_t b);
void afx_switch_set_text_colour(afx_switch* sw, uint32_t r, uint32_t g, uint32_t b);
void afx_switch_set_thumb_side(afx_switch* sw, uint32_t side);
void afx_switch_set_font_size(afx_switch* sw, float pixels);
void afx_switch_set_on(afx_switch* sw, bool on);
bool afx_switch_is_on(const afx_switch* sw);
void afx_switch_toggle(afx_switch* sw);
void afx_switch_set_pressed(afx_switch* sw, bool on);
bool afx_switch_is_pressed(const afx_switch* sw);
void afx_switch_set_dirty(afx_switch* sw, bool on);
void afx_switch_set_thumb_highlight(afx_switch* sw, bool on);
// Keeps a copy; null removes the caption.
void afx_switch_set_caption(afx_switch* sw, const char* caption);
void afx_switch_set_background(afx_switch* sw, const afx_pixbuf* pixbuf);

// Inside the box, edges included.
bool afx_switch_hit(const afx_switch* sw, int32_t x, int32_t y);
// Left edge of the thumb: on the right half (track left + track width / 2)
// or on the left half (that minus the thumb width).
float afx_switch_thumb_left(const afx_switch* sw);
// (x, y, width + 1, height + 1): what the frame covers.
void afx_switch_dirty_rect(const afx_switch* sw, int32_t* x, int32_t* y, int32_t* width,
                           int32_t* height);
// Clears dirty and restores (x, y, width + 1, height + 1).
void afx_switch_restore(afx_switch* sw, afx_pixbuf* target);
// Frame, track, thumb, shade, and the caption while on.
void afx_switch_draw(afx_switch* sw, afx_pixbuf* target);
void afx_switch_redraw(afx_switch* sw, afx_pixbuf* target);
