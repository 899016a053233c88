// A film-strip widget.
#include "afx/widgets/afx_filmstrip.h"

#include "afx/afx_pixbuf.h"
#include "afx/widgets/afx_widget.h"

namespace {

// The frame's top-left corner without the origin.
int32_t frame_left(const afx_filmstrip* s) {
    return static_cast<int32_t>(s->centre_x) - static_cast<int32_t>(s->frame_width / 2);
}
int32_t frame_top(const afx_filmstrip* s) {
    return static_cast<int32_t>(s->centre_y) - static_cast<int32_t>(s->frame_height / 2);
}

}  // namespace

void afx_filmstrip_init(afx_filmstrip* s, afx_context* context) {
    s->value = s->shown_value = 0.0f;
    s->centre_x = s->centre_y = 0;
    s->frame_width = s->frame_height = s->frame_count = 0;
    s->hit_width = s->hit_height = s->hit_offset_x = s->hit_offset_y = 0;
    s->origin_x = s->origin_y = 0;
    s->pressed = s->hover = s->latched = 0;
    s->context = context;
    s->strip = nullptr;
    s->background = nullptr;
}

void afx_filmstrip_set_value(afx_filmstrip* s, float value) {
    s->value = afx_clamp(value, 0.0f, 100.0f);
    s->shown_value = s->value;
}
void afx_filmstrip_show(afx_filmstrip* s, float value) {
    s->shown_value = afx_clamp(value, 0.0f, 100.0f);
}
float afx_filmstrip_get_value(const afx_filmstrip* s) { return s->value; }
void afx_filmstrip_set_centre_x(afx_filmstrip* s, uint32_t x) { s->centre_x = x; }
void afx_filmstrip_set_centre_y(afx_filmstrip* s, uint32_t y) { s->centre_y = y; }
void afx_filmstrip_set_frame_width(afx_filmstrip* s, uint32_t width) { s->frame_width = width; }
void afx_filmstrip_set_frame_height(afx_filmstrip* s, uint32_t height) { s->frame_height = height; }
void afx_filmstrip_set_frame_count(afx_filmstrip* s, uint32_t count) { s->frame_count = count; }
void afx_filmstrip_set_hit_width(afx_filmstrip* s, uint32_t width) { s->hit_width = width; }
void afx_filmstrip_set_hit_height(afx_filmstrip* s, uint32_t height) { s->hit_height = height; }
void afx_filmstrip_set_hit_offset_x(afx_filmstrip* s, uint32_t x) { s->hit_offset_x = x; }
void afx_filmstrip_set_hit_offset_y(afx_filmstrip* s, uint32_t y) { s->hit_offset_y = y; }
void afx_filmstrip_set_origin_x(afx_filmstrip* s, int32_t x) { s->origin_x = x; }
void afx_filmstrip_set_origin_y(afx_filmstrip* s, int32_t y) { s->origin_y = y; }
void afx_filmstrip_set_pressed(afx_filmstrip* s, bool on) { s->pressed = on ? 1 : 0; }
bool afx_filmstrip_is_pressed(const afx_filmstrip* s) { return s->pressed != 0; }
void afx_filmstrip_set_hover(afx_filmstrip* s, bool on) { s->hover = on ? 1 : 0; }
bool afx_filmstrip_is_hover(const afx_filmstrip* s) { return s->hover != 0; }
void afx_filmstrip_set_latched(afx_filmstrip* s, bool on) { s->latched = on ? 1 : 0; }
bool afx_filmstrip_is_latched(const afx_filmstrip* s) { return s->latched != 0; }
void afx_filmstrip_set_strip(afx_filmstrip* s, const afx_pixbuf* pixbuf) { s->strip = pixbuf; }
void afx_filmstrip_set_background(afx_filmstrip* s, const afx_pixbuf* pixbuf) {
    s->background = pixbuf;
}

int32_t afx_filmstrip_frame(const afx_filmstrip* s, float value) {
    return afx_value_to_index(afx_clamp(value, 0.0f, 100.0f) / 100.0f,
                              static_cast<int32_t>(s->frame_count));
}

bool afx_filmstrip_hit(afx_filmstrip* s, int32_t x, int32_t y) {
    s->hover = 0;
    const int64_t left = int64_t(s->origin_x) + s->hit_offset_x + frame_left(s);
    const int64_t top = int64_t(s->origin_y) + s->hit_offset_y + frame_top(s);
    if (x < left || x > left + s->hit_width || y < top || y > top + s->hit_height) return false;
    s->hover = 1;
    return true;
}

void afx_filmstrip_dirty_rect(const afx_filmstrip* s, int32_t* x, int32_t* y, int32_t* width,
                              int32_t* height) {
    *x = s->origin_x + frame_left(s);
    *y = s->origin_y + frame_top(s);
    *width = static_cast<int32_t>(s->frame_width);
    *height = static_cast<int32_t>(s->frame_height);
}

void afx_filmstrip_draw(const afx_filmstrip* s, afx_pixbuf* target) {
    if (!s->strip) return;
    int32_t x, y, w, h;
    afx_filmstrip_dirty_rect(s, &x, &y, &w, &h);
    const int32_t row = afx_filmstrip_frame(s, s->shown_value) * h;
    afx_pixbuf_blend(s->context, s->strip, target, 0, row, x, y, w, h);
}

void afx_filmstrip_redraw(const afx_filmstrip* s, afx_pixbuf* target) {
    if (s->background) {
        int32_t x, y, w, h;
        afx_filmstrip_dirty_rect(s, &x, &y, &w, &h);
        afx_pixbuf_copy(s->context, s->background, target, frame_left(s), frame_top(s), x, y, w, h);
    }
    afx_filmstrip_draw(s, target);
}
