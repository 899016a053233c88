// An indicator lamp: a dark ring around a disc of the lamp colour, at half
// brightness while off. It remembers the state it last drew, so the owner
// can redraw it only when the state changed.
#pragma once

#include <cstdint>

#include "afx/afx_pen.h"
#include "afx/afx_text.h"
#include "afx/widgets/afx_widget.h"

struct afx_context;
struct afx_pixbuf;

struct afx_led {
    afx_text text;  // the vector kinds' common layout; a lamp shows no text
    afx_pen pen;
    uint32_t x, y;           // top-left corner of the 2 radius x 2 radius box
    uint32_t radius;         // the lamp's centre is (x + radius, y + radius)
    uint32_t corner_radius;  // [1], unused by the round lamp
    afx_rgb background;      // restore colour without a background picture
    afx_rgb lamp;
    afx_rgb ring;  // [22, 22, 22]
    uint8_t on;
    uint8_t drawn_on;  // the state last drawn
    uint8_t dirty;
    afx_context* context;
    const afx_pixbuf* background_pixbuf;  // not owned
};

void afx_led_init(afx_led* led, afx_context* context);
// Frees the text state's atlas.
void afx_led_release(afx_led* led);

void afx_led_set_x(afx_led* led, uint32_t x);
void afx_led_set_y(afx_led* led, uint32_t y);
void afx_led_set_radius(afx_led* led, uint32_t radius);
void afx_led_set_background_colour(afx_led* led, uint32_t r, uint32_t g, uint32_t b);
void afx_led_set_lamp_colour(afx_led* led, uint32_t r, uint32_t g, uint32_t b);
void afx_led_set_ring_colour(afx_led* led, uint32_t r, uint32_t g, uint32_t b);
void afx_led_set_on(afx_led* led, bool on);
bool afx_led_is_on(const afx_led* led);
void afx_led_set_dirty(afx_led* led, bool on);
void afx_led_set_background(afx_led* led, const afx_pixbuf* pixbuf);

// Inside the 2 radius box, edges included.
bool afx_led_hit(const afx_led* led, int32_t x, int32_t y);
// (x - 1, y - 1, 2 radius + 2, 2 radius + 2).
void afx_led_dirty_rect(const afx_led* led, int32_t* x, int32_t* y, int32_t* width,
                        int32_t* height);
// Copies the dirty rectangle from the background picture, or fills
// (x, y, 2 radius + 1, 2 radius + 1) with the background colour; clears dirty.
void afx_led_restore(afx_led* led, afx_pixbuf* target);
// Ring of 1.0625 radius, lamp of 0.75 radius (each channel halved while off);
// records the state drawn.
void afx_led_draw(afx_led* led, afx_pixbuf* target);
void afx_led_redraw(afx_led* led, afx_pixbuf* target);
// Restores and draws when the state differs from the one last drawn: true
// then, false when nothing changed.
bool afx_led_update(afx_led* led, afx_pixbuf* target);
