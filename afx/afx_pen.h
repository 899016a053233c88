// The pen and the four anti-aliased primitives every vector widget is drawn
// with: filled disc, filled rounded rectangle, ring segment and thick line
// with rounded caps. Each computes, per visited pixel, a signed distance to
// the shape's edge in 16.16 and blends the pen colour with a one-pixel
// coverage ramp (full half a pixel inside the edge, none half a pixel out).
//
// Coordinates are floats in pixels of the target; pixel (x, y) is sampled at
// its integer position, not at its centre. Every primitive clips to the pen's
// clip box and writes a pixel only strictly inside it: left < x < right and
// top < y < bottom, so the clip box's left column and top row are never
// written. The blend keeps the target's alpha byte; a fully covered pixel
// gets the pen alpha scaled by 255/256, so opaque white over black reads 253.
// Nothing is drawn without a target, with pen alpha 0 or with a negative size.
#pragma once

#include <cstdint>

struct afx_pixbuf;

struct afx_pen {
    uint32_t r, g, b, a;  // colour, 0..255 each
    int32_t clip_left, clip_right, clip_top, clip_bottom;
    int32_t radius_fx8;  // truncate(radius x 256)
    float radius;        // half the stroke width of lines; corner radius of rectangles
    afx_pixbuf* target;  // not owned
};

// Black, alpha 255, clip box zero, radius 0, no target.
void afx_pen_init(afx_pen* pen);
// Stores the colour and alpha (each 0..255) used by the next primitives.
void afx_set_colour(afx_pen* pen, uint32_t r, uint32_t g, uint32_t b, uint32_t a);
// Draws into pixbuf from now on; clip box (0, width, 0, height). Null: no target.
void afx_pen_set_target(afx_pen* pen, afx_pixbuf* pixbuf);
// Sets the clip box; still never beyond the target.
void afx_pen_set_clip(afx_pen* pen, int32_t left, int32_t right, int32_t top, int32_t bottom);
// Stores radius and truncate(radius x 256).
void afx_pen_set_radius(afx_pen* pen, float radius);

// Disc of radius r around (cx, cy): visits floor(cx - r)..ceil(cx + r) on
// both axes, ends included. Radius 0.5 on a pixel covers just that pixel.
void afx_fill_disc(afx_pen* pen, float cx, float cy, float r);
// Rectangle (x, y, width, height) with the pen's radius as corner radius.
// Ends are included: at integer x and y it covers width + 1 by height + 1
// pixels fully; at half-pixel positions its outer rows and columns get half.
void afx_fill_round_rect(afx_pen* pen, float x, float y, float width, float height);
// Band between inner and outer radius from start to end degrees, 0 straight
// down and growing clockwise (45 to 315 leaves the bottom quarter empty).
// Degrees beyond an end fade like pixels beyond an edge. Nothing when
// end < start or outer < inner.
void afx_fill_arc(afx_pen* pen, float cx, float cy, float inner, float outer, float start_deg,
                  float end_deg);
// Line from (x1, y1) to (x2, y2) with rounded caps, half-width the pen's
// radius: pixels up to radius + 0.5 from the segment get coverage. Each pixel
// is blended at most once per stroke, so translucent lines have no seams.
void afx_stroke_line(afx_pen* pen, float x1, float y1, float x2, float y2);
