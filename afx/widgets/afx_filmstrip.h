// A picture button or state picture: one frame of a vertical film strip
// (frame i at row i x frame height), chosen by a value 0..100, blended over
// the back buffer at a place given by its centre. The hit box is a rectangle
// relative to the frame's top-left corner; the hit test also keeps the hover
// flag. Pressed and latched are kept for the owner.
#pragma once

#include <cstdint>

struct afx_context;
struct afx_pixbuf;

struct afx_filmstrip {
    float value;        // 0..100
    float shown_value;  // 0..100, the one drawn
    uint32_t centre_x, centre_y;
    uint32_t frame_width, frame_height;
    uint32_t frame_count;
    uint32_t hit_width, hit_height;
    uint32_t hit_offset_x, hit_offset_y;  // from the frame's top-left corner
    int32_t origin_x, origin_y;           // added to every drawing position
    uint8_t pressed;
    uint8_t hover;
    uint8_t latched;
    afx_context* context;
    const afx_pixbuf* strip;       // not owned
    const afx_pixbuf* background;  // not owned
};

// Everything zero and none.
void afx_filmstrip_init(afx_filmstrip* strip, afx_context* context);

// Sets value and shown value, clamped to 0..100.
void afx_filmstrip_set_value(afx_filmstrip* strip, float value);
// Sets only the shown value, clamped: a picture that shows a state the value does not hold.
void afx_filmstrip_show(afx_filmstrip* strip, float value);
float afx_filmstrip_get_value(const afx_filmstrip* strip);
void afx_filmstrip_set_centre_x(afx_filmstrip* strip, uint32_t x);
void afx_filmstrip_set_centre_y(afx_filmstrip* strip, uint32_t y);
void afx_filmstrip_set_frame_width(afx_filmstrip* strip, uint32_t width);
void afx_filmstrip_set_frame_height(afx_filmstrip* strip, uint32_t height);
void afx_filmstrip_set_frame_count(afx_filmstrip* strip, uint32_t count);
void afx_filmstrip_set_hit_width(afx_filmstrip* strip, uint32_t width);
void afx_filmstrip_set_hit_height(afx_filmstrip* strip, uint32_t height);
void afx_filmstrip_set_hit_offset_x(afx_filmstrip* strip, uint32_t x);
void afx_filmstrip_set_hit_offset_y(afx_filmstrip* strip, uint32_t y);
void afx_filmstrip_set_origin_x(afx_filmstrip* strip, int32_t x);
void afx_filmstrip_set_origin_y(afx_filmstrip* strip, int32_t y);
void afx_filmstrip_set_pressed(afx_filmstrip* strip, bool on);
bool afx_filmstrip_is_pressed(const afx_filmstrip* strip);
void afx_filmstrip_set_hover(afx_filmstrip* strip, bool on);
bool afx_filmstrip_is_hover(const afx_filmstrip* strip);
void afx_filmstrip_set_latched(afx_filmstrip* strip, bool on);
bool afx_filmstrip_is_latched(const afx_filmstrip* strip);
void afx_filmstrip_set_strip(afx_filmstrip* strip, const afx_pixbuf* pixbuf);
void afx_filmstrip_set_background(afx_filmstrip* strip, const afx_pixbuf* pixbuf);

// The frame a value shows: truncate(clamp(value, 0, 100) / 100 x (count - 1) + 0.5).
int32_t afx_filmstrip_frame(const afx_filmstrip* strip, float value);
// Inside the hit box (edges included); sets hover to the answer.
bool afx_filmstrip_hit(afx_filmstrip* strip, int32_t x, int32_t y);
// The frame's place and size: (origin + centre - frame size / 2, frame size).
void afx_filmstrip_dirty_rect(const afx_filmstrip* strip, int32_t* x, int32_t* y, int32_t* width,
                              int32_t* height);
// Blends the shown value's frame; nothing without a strip.
void afx_filmstrip_draw(const afx_filmstrip* strip, afx_pixbuf* target);
// Copies the background under the frame (from the frame's place without the
// origin), then blends the frame.
void afx_filmstrip_redraw(const afx_filmstrip* strip, afx_pixbuf* target);
