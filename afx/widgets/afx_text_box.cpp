// The text box.
#include "afx/widgets/afx_text_box.h"

#include <cmath>

namespace {

constexpr float kInset = 4.0f;  // pixels of fill left of the text

void set(afx_rgb* c, uint32_t r, uint32_t g, uint32_t b) { *c = afx_rgb{r, g, b}; }

float font_for(const afx_widget& w) {
    return 0.6f * static_cast<float>(w.width < w.height ? w.width : w.height);
}

}  // namespace

void afx_text_box_init(afx_text_box* t, afx_context* context) {
    afx_widget_init(&t->widget);
    t->fill = t->text_colour = afx_rgb{0, 0, 0};
    t->alignment = 0;
    t->font_size = 0.0f;
    t->hidden = 0;
    t->caption = nullptr;
    t->context = context;
    t->background_pixbuf = nullptr;
    t->background = afx_rgb{0, 0, 0};
}

void afx_text_box_release(afx_text_box* t) {
    afx_caption_free(&t->caption);
    afx_widget_release(&t->widget);
}

void afx_text_box_set_width(afx_text_box* t, uint32_t width) {
    t->widget.width = width;
    t->font_size = font_for(t->widget);
}
void afx_text_box_set_height(afx_text_box* t, uint32_t height) {
    t->widget.height = height;
    t->font_size = font_for(t->widget);
}
void afx_text_box_set_fill(afx_text_box* t, uint32_t r, uint32_t g, uint32_t b) {
    set(&t->fill, r, g, b);
}
void afx_text_box_set_text_colour(afx_text_box* t, uint32_t r, uint32_t g, uint32_t b) {
    set(&t->text_colour, r, g, b);
}
void afx_text_box_set_alignment(afx_text_box* t, uint32_t alignment) { t->alignment = alignment; }
void afx_text_box_set_font_size(afx_text_box* t, float pixels) { t->font_size = pixels; }
void afx_text_box_set_hidden(afx_text_box* t, bool on) { t->hidden = on ? 1 : 0; }
void afx_text_box_set_caption(afx_text_box* t, const char* caption) {
    afx_caption_set(&t->caption, caption);
}
void afx_text_box_set_background(afx_text_box* t, const afx_pixbuf* pixbuf) {
    t->background_pixbuf = pixbuf;
}
void afx_text_box_set_background_colour(afx_text_box* t, uint32_t r, uint32_t g, uint32_t b) {
    set(&t->background, r, g, b);
}

bool afx_text_box_hit(const afx_text_box* t, int32_t x, int32_t y) {
    return afx_widget_hit(&t->widget, x, y);
}

void afx_text_box_dirty_rect(const afx_text_box* t, int32_t* x, int32_t* y, int32_t* width,
                             int32_t* height) {
    const afx_widget& w = t->widget;
    *x = static_cast<int32_t>(w.x);
    *y = static_cast<int32_t>(w.y);
    *width = static_cast<int32_t>(w.width) + 1;
    *height = static_cast<int32_t>(w.height) + 1;
}

void afx_text_box_restore(afx_text_box* t, afx_pixbuf* target) {
    if (t->hidden) return;
    int32_t x, y, w, h;
    afx_text_box_dirty_rect(t, &x, &y, &w, &h);
    afx_widget_restore_rect(target, t->background_pixbuf, t->background, x, y, w, h);
}

float afx_text_box_caption_x(const afx_text_box* t, float caption_width) {
    const float x = static_cast<float>(t->widget.x), width = static_cast<float>(t->widget.width);
    switch (t->alignment) {
        case 1: return x + (width - std::trunc(caption_width)) / 2.0f;
        case 2:
            // Too wide: the end stays inside the box and the start is cut.
            if (caption_width > width - kInset) return x - (caption_width - (width - kInset));
            return x + kInset;
        default: return x + kInset;
    }
}

void afx_text_box_draw(afx_text_box* t, afx_pixbuf* target) {
    if (t->hidden) return;
    afx_widget* w = &t->widget;
    const float x = static_cast<float>(w->x), y = static_cast<float>(w->y);
    const float width = static_cast<float>(w->width), height = static_cast<float>(w->height);
    afx_pen_set_target(&w->pen, target);
    afx_pen_set_radius(&w->pen, static_cast<float>(w->radius));
    afx_set_colour(&w->pen, t->fill.r, t->fill.g, t->fill.b, 255);
    afx_fill_round_rect(&w->pen, x, y, width, height);
    if (!t->caption) return;
    const float measured = afx_caption_prepare(w, target, t->caption, t->font_size, t->text_colour);
    afx_text_set_box(&w->text, x + kInset, y, width - kInset, height);  // clips the text to the box
    afx_caption_draw(w, t->caption, afx_text_box_caption_x(t, measured), afx_caption_baseline(w));
}

void afx_text_box_redraw(afx_text_box* t, afx_pixbuf* target) {
    afx_text_box_restore(t, target);
    afx_text_box_draw(t, target);
}
