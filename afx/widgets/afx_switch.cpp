// The slide switch.
#include "afx/widgets/afx_switch.h"

#include <cmath>

namespace {

void set(afx_rgb* c, uint32_t r, uint32_t g, uint32_t b) { *c = afx_rgb{r, g, b}; }

float half_smaller_side(const afx_widget& w) {
    return 0.5f * static_cast<float>(w.width < w.height ? w.width : w.height);
}

// The track is three quarters of the height, inset by the remaining quarter
// split between both sides; the thumb takes 45 % of its width and 90 % of its height.
struct Layout {
    float track_left, track_top, track_width, track_height;
    float thumb_width, thumb_height, thumb_top;
};

Layout layout_of(const afx_switch* s) {
    const afx_widget& w = s->widget;
    const float width = static_cast<float>(w.width), height = static_cast<float>(w.height);
    Layout l;
    l.track_height = 0.75f * height;
    const float margin = height - l.track_height;
    l.track_width = width - margin;
    l.track_left = static_cast<float>(w.x) + (width - l.track_width) / 2.0f;
    l.track_top = static_cast<float>(w.y) + margin / 2.0f;
    l.thumb_width = 0.45f * l.track_width;
    l.thumb_height = 0.9f * l.track_height;
    l.thumb_top = l.track_top + (l.track_height - l.thumb_height) / 2.0f;
    return l;
}

bool thumb_on_right(const afx_switch* s) { return s->thumb_side == 1 ? s->on != 0 : s->on == 0; }

void fill_box(afx_pen* pen, const afx_rgb& c, uint32_t alpha, float x, float y, float w, float h) {
    afx_set_colour(pen, c.r, c.g, c.b, alpha);
    afx_fill_round_rect(pen, x, y, w, h);
}

}  // namespace

void afx_switch_init(afx_switch* s, afx_context* context) {
    afx_widget_init(&s->widget);
    s->background = afx_rgb{0, 0, 0};
    s->thumb_highlight = afx_rgb{0, 0, 0};
    s->thumb_highlight_alpha = 32;
    s->thumb = afx_rgb{64, 64, 64};
    s->track_on = afx_rgb{127, 79, 127};
    s->track_off = afx_rgb{40, 40, 40};
    s->frame = afx_rgb{22, 22, 22};
    s->text_colour = afx_rgb{240, 240, 240};
    s->thumb_side = 0;
    s->font_size = 12.0f;
    s->on = s->pressed = s->dirty = s->thumb_highlight_on = 0;
    s->caption = nullptr;
    s->context = context;
    s->background_pixbuf = nullptr;
}

void afx_switch_release(afx_switch* s) {
    afx_caption_free(&s->caption);
    afx_widget_release(&s->widget);
}

void afx_switch_set_width(afx_switch* s, uint32_t width) {
    s->widget.width = width;
    s->font_size = half_smaller_side(s->widget);
}
void afx_switch_set_height(afx_switch* s, uint32_t height) {
    s->widget.height = height;
    s->font_size = half_smaller_side(s->widget);
}
void afx_switch_set_background_colour(afx_switch* s, uint32_t r, uint32_t g, uint32_t b) {
    set(&s->background, r, g, b);
}
void afx_switch_set_thumb_highlight_colour(afx_switch* s, uint32_t r, uint32_t g, uint32_t b) {
    set(&s->thumb_highlight, r, g, b);
}
void afx_switch_set_thumb_highlight_alpha(afx_switch* s, uint32_t alpha) {
    s->thumb_highlight_alpha = alpha;
}
void afx_switch_set_thumb_colour(afx_switch* s, uint32_t r, uint32_t g, uint32_t b) {
    set(&s->thumb, r, g, b);
}
void afx_switch_set_track_on_colour(afx_switch* s, uint32_t r, uint32_t g, uint32_t b) {
    set(&s->track_on, r, g, b);
}
void afx_switch_set_track_off_colour(afx_switch* s, uint32_t r, uint32_t g, uint32_t b) {
    set(&s->track_off, r, g, b);
}
void afx_switch_set_frame_colour(afx_switch* s, uint32_t r, uint32_t g, uint32_t b) {
    set(&s->frame, r, g, b);
}
void afx_switch_set_text_colour(afx_switch* s, uint32_t r, uint32_t g, uint32_t b) {
    set(&s->text_colour, r, g, b);
}
void afx_switch_set_thumb_side(afx_switch* s, uint32_t side) { s->thumb_side = side; }
void afx_switch_set_font_size(afx_switch* s, float pixels) { s->font_size = pixels; }
void afx_switch_set_on(afx_switch* s, bool on) { s->on = on ? 1 : 0; }
bool afx_switch_is_on(const afx_switch* s) { return s->on != 0; }
void afx_switch_toggle(afx_switch* s) { s->on = s->on ? 0 : 1; }
void afx_switch_set_pressed(afx_switch* s, bool on) { s->pressed = on ? 1 : 0; }
bool afx_switch_is_pressed(const afx_switch* s) { return s->pressed != 0; }
void afx_switch_set_dirty(afx_switch* s, bool on) { s->dirty = on ? 1 : 0; }
void afx_switch_set_thumb_highlight(afx_switch* s, bool on) { s->thumb_highlight_on = on ? 1 : 0; }
void afx_switch_set_caption(afx_switch* s, const char* caption) {
    afx_caption_set(&s->caption, caption);
}
void afx_switch_set_background(afx_switch* s, const afx_pixbuf* pixbuf) {
    s->background_pixbuf = pixbuf;
}

bool afx_switch_hit(const afx_switch* s, int32_t x, int32_t y) {
    return afx_widget_hit(&s->widget, x, y);
}

float afx_switch_thumb_left(const afx_switch* s) {
    const Layout l = layout_of(s);
    const float middle = l.track_left + l.track_width / 2.0f;
    return thumb_on_right(s) ? middle : middle - l.thumb_width;
}

void afx_switch_dirty_rect(const afx_switch* s, int32_t* x, int32_t* y, int32_t* width,
                           int32_t* height) {
    const afx_widget& w = s->widget;
    *x = static_cast<int32_t>(w.x);
    *y = static_cast<int32_t>(w.y);
    *width = static_cast<int32_t>(w.width) + 1;
    *height = static_cast<int32_t>(w.height) + 1;
}

void afx_switch_restore(afx_switch* s, afx_pixbuf* target) {
    s->dirty = 0;
    int32_t x, y, w, h;
    afx_switch_dirty_rect(s, &x, &y, &w, &h);
    afx_widget_restore_rect(target, s->background_pixbuf, s->background, x, y, w, h);
}

void afx_switch_draw(afx_switch* s, afx_pixbuf* target) {
    afx_widget* w = &s->widget;
    afx_pen* pen = &w->pen;
    const Layout l = layout_of(s);
    const float width = static_cast<float>(w->width);
    afx_pen_set_target(pen, target);
    afx_pen_set_radius(pen, static_cast<float>(w->radius));
    fill_box(pen, s->frame, 255, static_cast<float>(w->x), static_cast<float>(w->y), width,
             static_cast<float>(w->height));
    fill_box(pen, s->on ? s->track_on : s->track_off, 255, l.track_left, l.track_top, l.track_width,
             l.track_height);
    const float thumb_left = afx_switch_thumb_left(s);
    fill_box(pen, s->thumb, 255, thumb_left, l.thumb_top, l.thumb_width, l.thumb_height);
    if (s->thumb_highlight_on) {
        fill_box(pen, s->thumb_highlight, s->thumb_highlight_alpha, thumb_left + 1.0f,
                 l.thumb_top + 1.0f, l.thumb_width - 2.0f, l.thumb_height - 2.0f);
    }
    if (!s->on || !s->caption) return;
    // Centred in the half the thumb leaves free: the right half for thumb side 0.
    const float caption_width =
        std::floor(afx_caption_prepare(w, target, s->caption, s->font_size, s->text_colour));
    float x = static_cast<float>(w->x) + (0.5f * width - caption_width) / 2.0f;
    if (s->thumb_side == 0) x += 0.5f * width;
    afx_caption_draw(w, s->caption, x, afx_caption_baseline(w));
}

void afx_switch_redraw(afx_switch* s, afx_pixbuf* target) {
    afx_switch_restore(s, target);
    afx_switch_draw(s, target);
}
