// The push button.
#include "afx/widgets/afx_push_button.h"

#include "afx/afx_pixbuf.h"

namespace {

void set(afx_rgb* c, uint32_t r, uint32_t g, uint32_t b) { *c = afx_rgb{r, g, b}; }

float half_smaller_side(const afx_widget& w) {
    return 0.5f * static_cast<float>(w.width < w.height ? w.width : w.height);
}

}  // namespace

void afx_push_button_init(afx_push_button* b, afx_context* context) {
    afx_widget_init(&b->widget);
    b->background = b->fill = b->pressed_fill = b->hover_fill = afx_rgb{0, 0, 0};
    b->text_colour = b->pressed_text_colour = afx_rgb{0, 0, 0};
    b->alignment = 0;
    b->caption = nullptr;
    b->caption_width = 0;
    b->font_size = 12.0f;
    b->pressed = b->activated = b->hidden = b->dirty = b->hover = 0;
    b->context = context;
    b->background_pixbuf = nullptr;
    b->image = nullptr;
}

void afx_push_button_release(afx_push_button* b) {
    afx_caption_free(&b->caption);
    afx_widget_release(&b->widget);
}

void afx_push_button_set_width(afx_push_button* b, uint32_t width) {
    b->widget.width = width;
    b->font_size = half_smaller_side(b->widget);
}
void afx_push_button_set_height(afx_push_button* b, uint32_t height) {
    b->widget.height = height;
    b->font_size = half_smaller_side(b->widget);
}
void afx_push_button_set_background_colour(afx_push_button* b, uint32_t r, uint32_t g,
                                           uint32_t bl) {
    set(&b->background, r, g, bl);
}
void afx_push_button_set_fill(afx_push_button* b, uint32_t r, uint32_t g, uint32_t bl) {
    set(&b->fill, r, g, bl);
}
void afx_push_button_set_pressed_fill(afx_push_button* b, uint32_t r, uint32_t g, uint32_t bl) {
    set(&b->pressed_fill, r, g, bl);
}
void afx_push_button_set_hover_fill(afx_push_button* b, uint32_t r, uint32_t g, uint32_t bl) {
    set(&b->hover_fill, r, g, bl);
}
void afx_push_button_set_text_colour(afx_push_button* b, uint32_t r, uint32_t g, uint32_t bl) {
    set(&b->text_colour, r, g, bl);
}
void afx_push_button_set_pressed_text_colour(afx_push_button* b, uint32_t r, uint32_t g,
                                             uint32_t bl) {
    set(&b->pressed_text_colour, r, g, bl);
}
void afx_push_button_set_alignment(afx_push_button* b, uint32_t alignment) {
    b->alignment = alignment;
}
void afx_push_button_set_caption(afx_push_button* b, const char* caption) {
    afx_caption_set(&b->caption, caption);
}
void afx_push_button_set_font_size(afx_push_button* b, float pixels) { b->font_size = pixels; }
void afx_push_button_set_pressed(afx_push_button* b, bool on) { b->pressed = on ? 1 : 0; }
void afx_push_button_set_hover(afx_push_button* b, bool on) { b->hover = on ? 1 : 0; }
void afx_push_button_set_activated(afx_push_button* b, bool on) { b->activated = on ? 1 : 0; }
void afx_push_button_clear_activated(afx_push_button* b) { b->activated = 0; }
bool afx_push_button_is_activated(const afx_push_button* b) { return b->activated != 0; }

void afx_push_button_set_hidden(afx_push_button* b, bool on) {
    const uint8_t hidden = on ? 1 : 0;
    if (hidden != b->hidden) b->dirty = 1;
    b->hidden = hidden;
}

void afx_push_button_set_dirty(afx_push_button* b, bool on) {
    if (!b->hidden) b->dirty = on ? 1 : 0;
}

void afx_push_button_set_background(afx_push_button* b, const afx_pixbuf* pixbuf) {
    b->background_pixbuf = pixbuf;
}
void afx_push_button_set_image(afx_push_button* b, const afx_pixbuf* pixbuf) { b->image = pixbuf; }

bool afx_push_button_hit(const afx_push_button* b, int32_t x, int32_t y) {
    return !b->hidden && afx_widget_hit(&b->widget, x, y);
}

void afx_push_button_dirty_rect(const afx_push_button* b, int32_t* x, int32_t* y, int32_t* width,
                                int32_t* height) {
    const afx_widget& w = b->widget;
    const int32_t grow = static_cast<int32_t>(w.radius) + 1;
    const int32_t left = static_cast<int32_t>(w.x) - grow, top = static_cast<int32_t>(w.y) - grow;
    *x = left > 0 ? left : 0;
    *y = top > 0 ? top : 0;
    *width = static_cast<int32_t>(w.x + w.width) + grow - *x;
    *height = static_cast<int32_t>(w.y + w.height) + grow - *y;
}

void afx_push_button_restore(afx_push_button* b, afx_pixbuf* target) {
    if (b->hidden && !b->dirty) return;
    b->dirty = 0;
    const afx_widget& w = b->widget;
    afx_widget_restore_rect(target, b->background_pixbuf, b->background, static_cast<int32_t>(w.x),
                            static_cast<int32_t>(w.y), static_cast<int32_t>(w.width) + 1,
                            static_cast<int32_t>(w.height) + 1);
}

void afx_push_button_draw(afx_push_button* b, afx_pixbuf* target) {
    if (b->hidden) return;
    afx_widget* w = &b->widget;
    const int32_t width = static_cast<int32_t>(w->width), height = static_cast<int32_t>(w->height);
    if (b->image) {
        afx_pixbuf_blend(b->context, b->image, target, 0, b->pressed ? height : 0,
                         static_cast<int32_t>(w->x), static_cast<int32_t>(w->y), width, height);
        return;
    }
    const afx_rgb& fill = b->pressed ? b->pressed_fill : b->hover ? b->hover_fill : b->fill;
    afx_pen_set_target(&w->pen, target);
    afx_set_colour(&w->pen, fill.r, fill.g, fill.b, 255);
    afx_pen_set_radius(&w->pen, static_cast<float>(w->radius));
    afx_fill_round_rect(&w->pen, static_cast<float>(w->x), static_cast<float>(w->y),
                        static_cast<float>(width), static_cast<float>(height));
    if (!b->caption) return;
    const afx_rgb& ink = b->pressed ? b->pressed_text_colour : b->text_colour;
    const float measured = afx_caption_prepare(w, target, b->caption, b->font_size, ink);
    b->caption_width = static_cast<uint32_t>(measured);
    afx_caption_draw(w, b->caption, afx_caption_x(w, b->alignment, b->font_size, measured),
                     afx_caption_baseline(w));
}

void afx_push_button_redraw(afx_push_button* b, afx_pixbuf* target) {
    afx_push_button_restore(b, target);
    afx_push_button_draw(b, target);
}
