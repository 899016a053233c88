// The rotary control: a vector-drawn knob with a value in percent (0..100),
// an indicator that slides along a 270-degree track, a pointer line and four
// drag modes. The knob keeps the pointer position and the last delta between
// events; the owner delivers press, drag, wheel and release and reads the
// value back. Positions and deltas are logical pixels, dy positive upwards.
#pragma once

#include <cstdint>

#include "afx/afx_pen.h"
#include "afx/widgets/afx_widget.h"

struct afx_context;
struct afx_pixbuf;

// Drag modes. Circular jumps to the pressed angle and follows the pointer
// around the centre; Relative only follows it around; Linear and Default
// turn one percent per pixel of vertical travel.
constexpr uint32_t kAfxKnobCircular = 0;
constexpr uint32_t kAfxKnobRelative = 1;
constexpr uint32_t kAfxKnobLinear = 2;
constexpr uint32_t kAfxKnobDefault = 3;

struct afx_knob {
    afx_pen pen;
    uint32_t x, y;                         // top-left corner of the 2r x 2r box
    uint32_t radius;                       // r; the centre is (x + r, y + r)
    afx_rgb shadow;                        // [0, 0, 0]
    uint32_t shadow_alpha;                 // [32]
    afx_rgb background;                    // restore colour without a background pixbuf [0, 0, 0]
    afx_rgb track;                         // [64, 64, 64]
    afx_rgb arc;                           // value indicator [127, 79, 127]
    afx_rgb pointer;                       // [224, 224, 224]
    afx_rgb cap;                           // [96, 96, 96]
    afx_rgb outer_ring;                    // [22, 22, 22]
    afx_rgb inner_ring;                    // [80, 80, 80], drawn with alpha 64
    float value;                           // percent [0]
    float indicator_width;                 // percent [1]
    float default_value;                   // [0]: none
    float last_delta;                      // [0]
    float smoothing_factor;                // [0.28]
    float pointer_x, pointer_y;            // last known pointer position
    float press_start_deg, press_end_deg;  // clickable sweep [-135, 135]
    float track_start_deg, track_end_deg;  // drawn track, 0 down, clockwise [45, 315]
    float dead_radius;                     // pixels [6]
    uint32_t mode;                         // kAfxKnob... [Circular]
    uint8_t dragging;
    uint8_t refresh;    // kept for the owner
    uint8_t smoothing;  // [1]
    uint8_t shadow_on;  // drop shadow under the cap [0]
    afx_context* context;
    const afx_pixbuf* background_pixbuf;  // not owned [none]
};

// Defaults as listed above; radius 0 at (0, 0).
void afx_knob_init(afx_knob* knob, afx_context* context);
// The knob owns nothing; kept for symmetry with the other kinds.
void afx_knob_release(afx_knob* knob);

void afx_knob_set_x(afx_knob* knob, uint32_t x);
void afx_knob_set_y(afx_knob* knob, uint32_t y);
void afx_knob_set_radius(afx_knob* knob, uint32_t radius);
// Restores from this picture (same coordinates as the target); null: fill with the colour.
void afx_knob_set_background(afx_knob* knob, const afx_pixbuf* pixbuf);
void afx_knob_set_background_colour(afx_knob* knob, uint32_t r, uint32_t g, uint32_t b);
void afx_knob_set_cap_colour(afx_knob* knob, uint32_t r, uint32_t g, uint32_t b);
void afx_knob_set_arc_colour(afx_knob* knob, uint32_t r, uint32_t g, uint32_t b);
void afx_knob_set_pointer_colour(afx_knob* knob, uint32_t r, uint32_t g, uint32_t b);
void afx_knob_set_shadow(afx_knob* knob, bool on);

// Applies from the next press or drag.
void afx_knob_set_mode(afx_knob* knob, uint32_t mode);
uint32_t afx_knob_get_mode(const afx_knob* knob);
void afx_knob_set_dead_radius(afx_knob* knob, float pixels);
// The detent value; 0 means none.
void afx_knob_set_default(afx_knob* knob, float value);
void afx_knob_set_smoothing(afx_knob* knob, bool on);

// Clamped to 0..100.
void afx_knob_set_value(afx_knob* knob, float value);
float afx_knob_get_value(const afx_knob* knob);
// True when a detent is set and the value lies strictly within 2 of it.
bool afx_knob_at_default(const afx_knob* knob);

// Inside the 2r x 2r box, edges included.
bool afx_knob_hit(const afx_knob* knob, float x, float y);
// Starts an interaction at (x, y): false when it misses the box. Circular
// mode jumps to the pressed angle (straight up 50, left 16.7, right 83.3)
// unless the press lies in the gap at the bottom or within the dead radius.
bool afx_knob_press(afx_knob* knob, float x, float y);
// Pointer travel since the last event: Circular and Relative turn one
// percent per degree around the centre (slower inside the radius), Linear and
// Default one percent per pixel up. With smoothing, growing steps are eased
// in by the smoothing factor and a reversal starts from rest.
void afx_knob_drag(afx_knob* knob, float dx, float dy);
// Wheel notches (+1 up, -1 down) on a grid of 49 positions, 1/48 of the range each.
void afx_knob_step(afx_knob* knob, int32_t notches);
void afx_knob_set_dragging(afx_knob* knob, bool on);
void afx_knob_clear_dragging(afx_knob* knob);
bool afx_knob_is_dragging(const afx_knob* knob);
// The stored pointer position lies within the dead radius of the centre.
bool afx_knob_in_dead_zone(const afx_knob* knob);

void afx_knob_set_refresh(afx_knob* knob, bool on);
bool afx_knob_get_refresh(const afx_knob* knob);

// (x - 2, y - 2, 2r + 4, 2r + 4): the outer ring reaches beyond the box.
void afx_knob_dirty_rect(const afx_knob* knob, int32_t* x, int32_t* y, int32_t* width,
                         int32_t* height);
// Copies the dirty rectangle from the background picture, or without one
// fills (x, y, 2r + 2, 2r + 2) with the background colour.
void afx_knob_restore(const afx_knob* knob, afx_pixbuf* target);
// Outer ring, track, inner ring, cap, optional shadow, indicator and pointer.
void afx_knob_draw(afx_knob* knob, afx_pixbuf* target);
// Restore, then draw; true.
bool afx_knob_redraw(afx_knob* knob, afx_pixbuf* target);
