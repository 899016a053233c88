// The knob: value and detent, the four drag modes, the wheel grid, and its
// drawing from rings, arcs and a line.
#include "afx/widgets/afx_knob.h"

#include <cmath>

#include "afx/afx_pixbuf.h"

namespace {

constexpr float kDegreesPerRadian = 57.29577951f;
constexpr float kPi = 3.1415927f;
constexpr float kDetentHalfWidth = 2.0f;  // percent either side of the default
constexpr int32_t kWheelPositions = 49;   // 0 .. 48
constexpr float kCapShare = 0.55f;        // cap radius / knob radius

void set(afx_rgb* c, uint32_t r, uint32_t g, uint32_t b) {
    c->r = r;
    c->g = g;
    c->b = b;
}

float centre_x(const afx_knob* k) {
    return static_cast<float>(k->x) + static_cast<float>(k->radius);
}
float centre_y(const afx_knob* k) {
    return static_cast<float>(k->y) + static_cast<float>(k->radius);
}

// Degrees taken modulo 360 into 0..360.
float wrap_degrees(float degrees) {
    float d = std::fmod(degrees, 360.0f);
    if (d < 0.0f) d += 360.0f;
    return d;
}

// The value the indicator shows: inside the detent it sits exactly at the default.
float shown_value(const afx_knob* k) {
    if (k->default_value != 0.0f && k->default_value + kDetentHalfWidth > k->value &&
        k->value > k->default_value - kDetentHalfWidth) {
        return k->default_value;
    }
    return k->value;
}

// Circular press: the angle clockwise from the start of the sweep decides the value.
void jump_to_angle(afx_knob* k, float x, float y) {
    const float vx = x - centre_x(k), vy = y - centre_y(k);
    const float d = std::sqrt(vx * vx + vy * vy);
    // atan2(-x, y) is 0 straight down and grows clockwise; +180 puts 0 straight up.
    const float angle =
        wrap_degrees(std::atan2(-vx, vy) * kDegreesPerRadian + 180.0f - k->press_start_deg);
    const float sweep = k->press_end_deg - k->press_start_deg;
    if (angle > sweep) return;  // the gap at the bottom
    if (d > k->dead_radius) k->value = afx_clamp(angle / sweep * 100.0f, 0.0f, 100.0f);
}

// Degrees the pointer turned around the centre from old to new, in -180..180,
// scaled down by how far inside the radius the new position lies.
float turn_degrees(const afx_knob* k, float old_x, float old_y) {
    const float ax = old_x - centre_x(k), ay = old_y - centre_y(k);
    const float bx = k->pointer_x - centre_x(k), by = k->pointer_y - centre_y(k);
    const float lb = std::sqrt(bx * bx + by * by);
    float turn = (std::atan2(by, bx) - std::atan2(ay, ax)) * kDegreesPerRadian;
    turn = wrap_degrees(turn + 180.0f) - 180.0f;
    const float r = static_cast<float>(k->radius);
    if (r > lb) turn = turn * lb / r;
    return turn;
}

// Eases a growing step in from the last one; a reversal starts from rest.
// False when there is nothing to move.
bool smooth(afx_knob* k, float* delta) {
    if (*delta == 0.0f) return false;
    if ((*delta > 0.0f && k->last_delta < 0.0f) || (*delta < 0.0f && k->last_delta > 0.0f))
        k->last_delta = 0.0f;
    if (std::fabs(*delta) > std::fabs(k->last_delta)) {
        *delta = k->last_delta + (*delta - k->last_delta) * k->smoothing_factor;
    }
    return true;
}

void draw_disc(afx_pen* pen, const afx_rgb& c, uint32_t alpha, float cx, float cy, float r) {
    afx_set_colour(pen, c.r, c.g, c.b, alpha);
    afx_fill_disc(pen, cx, cy, r);
}

}  // namespace

void afx_knob_init(afx_knob* k, afx_context* context) {
    afx_pen_init(&k->pen);
    k->x = k->y = k->radius = 0;
    set(&k->shadow, 0, 0, 0);
    k->shadow_alpha = 32;
    set(&k->background, 0, 0, 0);
    set(&k->track, 64, 64, 64);
    set(&k->arc, 127, 79, 127);
    set(&k->pointer, 224, 224, 224);
    set(&k->cap, 96, 96, 96);
    set(&k->outer_ring, 22, 22, 22);
    set(&k->inner_ring, 80, 80, 80);
    k->value = 0.0f;
    k->indicator_width = 1.0f;
    k->default_value = 0.0f;
    k->last_delta = 0.0f;
    k->smoothing_factor = 0.28f;
    k->pointer_x = k->pointer_y = 0.0f;
    k->press_start_deg = -135.0f;
    k->press_end_deg = 135.0f;
    k->track_start_deg = 45.0f;
    k->track_end_deg = 315.0f;
    k->dead_radius = 6.0f;
    k->mode = kAfxKnobCircular;
    k->dragging = 0;
    k->refresh = 0;
    k->smoothing = 1;
    k->shadow_on = 0;
    k->context = context;
    k->background_pixbuf = nullptr;
}

void afx_knob_release(afx_knob* k) { k->background_pixbuf = nullptr; }

void afx_knob_set_x(afx_knob* k, uint32_t x) { k->x = x; }
void afx_knob_set_y(afx_knob* k, uint32_t y) { k->y = y; }
void afx_knob_set_radius(afx_knob* k, uint32_t radius) { k->radius = radius; }
void afx_knob_set_background(afx_knob* k, const afx_pixbuf* pixbuf) {
    k->background_pixbuf = pixbuf;
}
void afx_knob_set_background_colour(afx_knob* k, uint32_t r, uint32_t g, uint32_t b) {
    set(&k->background, r, g, b);
}
void afx_knob_set_cap_colour(afx_knob* k, uint32_t r, uint32_t g, uint32_t b) {
    set(&k->cap, r, g, b);
}
void afx_knob_set_arc_colour(afx_knob* k, uint32_t r, uint32_t g, uint32_t b) {
    set(&k->arc, r, g, b);
}
void afx_knob_set_pointer_colour(afx_knob* k, uint32_t r, uint32_t g, uint32_t b) {
    set(&k->pointer, r, g, b);
}
void afx_knob_set_shadow(afx_knob* k, bool on) { k->shadow_on = on ? 1 : 0; }

void afx_knob_set_mode(afx_knob* k, uint32_t mode) { k->mode = mode; }
uint32_t afx_knob_get_mode(const afx_knob* k) { return k->mode; }
void afx_knob_set_dead_radius(afx_knob* k, float pixels) { k->dead_radius = pixels; }
void afx_knob_set_default(afx_knob* k, float value) { k->default_value = value; }
void afx_knob_set_smoothing(afx_knob* k, bool on) { k->smoothing = on ? 1 : 0; }

void afx_knob_set_value(afx_knob* k, float value) { k->value = afx_clamp(value, 0.0f, 100.0f); }
float afx_knob_get_value(const afx_knob* k) { return k->value; }

bool afx_knob_at_default(const afx_knob* k) {
    return k->default_value != 0.0f && k->default_value + kDetentHalfWidth > k->value &&
           k->value > k->default_value - kDetentHalfWidth;
}

bool afx_knob_hit(const afx_knob* k, float x, float y) {
    const float left = static_cast<float>(k->x), top = static_cast<float>(k->y);
    const float side = 2.0f * static_cast<float>(k->radius);
    return x >= left && x <= left + side && y >= top && y <= top + side;
}

bool afx_knob_press(afx_knob* k, float x, float y) {
    if (!afx_knob_hit(k, x, y)) return false;
    k->last_delta = 0.0f;
    k->pointer_x = x;
    k->pointer_y = y;
    k->value = afx_clamp(k->value, 0.0f, 100.0f);
    if (k->mode == kAfxKnobCircular) jump_to_angle(k, x, y);  // the other modes never jump
    return true;
}

void afx_knob_drag(afx_knob* k, float dx, float dy) {
    const float old_x = k->pointer_x, old_y = k->pointer_y;
    k->pointer_x += dx;
    k->pointer_y -= dy;  // dy is positive upwards, the screen's y downwards
    float delta = dy;
    if (k->mode == kAfxKnobCircular || k->mode == kAfxKnobRelative)
        delta = turn_degrees(k, old_x, old_y);
    if (k->smoothing && !smooth(k, &delta)) return;
    k->last_delta = delta;
    k->value = afx_clamp(k->value + delta, 0.0f, 100.0f);
}

void afx_knob_step(afx_knob* k, int32_t notches) {
    const int32_t last = kWheelPositions - 1;
    int32_t index =
        static_cast<int32_t>(k->value / 100.0f * static_cast<float>(last) + 0.5f) + notches;
    if (index < 0) index = 0;
    if (index > last) index = last;
    k->value = static_cast<float>(index) / static_cast<float>(last) * 100.0f;
}

void afx_knob_set_dragging(afx_knob* k, bool on) { k->dragging = on ? 1 : 0; }
void afx_knob_clear_dragging(afx_knob* k) { k->dragging = 0; }
bool afx_knob_is_dragging(const afx_knob* k) { return k->dragging != 0; }

bool afx_knob_in_dead_zone(const afx_knob* k) {
    const float dx = k->pointer_x - centre_x(k), dy = k->pointer_y - centre_y(k);
    return std::sqrt(dx * dx + dy * dy) <= k->dead_radius;
}

void afx_knob_set_refresh(afx_knob* k, bool on) { k->refresh = on ? 1 : 0; }
bool afx_knob_get_refresh(const afx_knob* k) { return k->refresh != 0; }

void afx_knob_dirty_rect(const afx_knob* k, int32_t* x, int32_t* y, int32_t* width,
                         int32_t* height) {
    const int32_t side = 2 * static_cast<int32_t>(k->radius);
    *x = static_cast<int32_t>(k->x) - 2;
    *y = static_cast<int32_t>(k->y) - 2;
    *width = side + 4;
    *height = side + 4;
}

void afx_knob_restore(const afx_knob* k, afx_pixbuf* target) {
    int32_t x, y, w, h;
    afx_knob_dirty_rect(k, &x, &y, &w, &h);
    if (k->background_pixbuf) {
        afx_pixbuf_copy(k->context, k->background_pixbuf, target, x, y, x, y, w, h);
    } else {
        afx_pixbuf_fill_rect(k->context, target, x + 2, y + 2, w - 2, h - 2, k->background.r,
                             k->background.g, k->background.b);
    }
}

void afx_knob_draw(afx_knob* k, afx_pixbuf* target) {
    afx_pen* pen = &k->pen;
    afx_pen_set_target(pen, target);
    const float r = static_cast<float>(k->radius);
    const float cx = centre_x(k), cy = centre_y(k), cap = kCapShare * r;
    draw_disc(pen, k->outer_ring, 255, cx, cy, 1.0625f * r);
    afx_set_colour(pen, k->track.r, k->track.g, k->track.b, 255);
    afx_fill_arc(pen, cx, cy, 0.75f * r, r, k->track_start_deg, k->track_end_deg);
    draw_disc(pen, k->inner_ring, 64, cx, cy, 0.7f * r);
    draw_disc(pen, k->cap, 255, cx, cy, cap);
    if (k->shadow_on) draw_disc(pen, k->shadow, k->shadow_alpha, cx, cy + 3.0f, cap);

    // The indicator keeps a degree and its own half-width clear of the track's ends.
    const float half = (k->indicator_width * 0.01f * 252.0f + 16.0f) * 0.5f;
    const float lo = k->track_start_deg + 1.0f + half, hi = k->track_end_deg - 1.0f - half;
    const float angle = lo + shown_value(k) * 0.01f * (hi - lo);
    afx_set_colour(pen, k->arc.r, k->arc.g, k->arc.b, 255);
    afx_fill_arc(pen, cx, cy, 0.75f * r + 1.0f, r - 1.0f, angle - half, angle + half);

    const float t = angle / 360.0f * 2.0f * kPi;
    const float ux = -std::sin(t), uy = std::cos(t);  // 0 points straight down
    afx_set_colour(pen, k->pointer.r, k->pointer.g, k->pointer.b, 255);
    afx_pen_set_radius(pen, 2.0f);
    afx_stroke_line(pen, cx + 0.3f * cap * ux, cy + 0.3f * cap * uy, cx + 0.75f * cap * ux,
                    cy + 0.75f * cap * uy);
}

bool afx_knob_redraw(afx_knob* k, afx_pixbuf* target) {
    afx_knob_restore(k, target);
    afx_knob_draw(k, target);
    return true;
}
