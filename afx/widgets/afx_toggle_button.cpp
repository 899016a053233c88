// The toggle button.
#include "afx/widgets/afx_toggle_button.h"

namespace {

void set(afx_rgb* c, uint32_t r, uint32_t g, uint32_t b) { *c = afx_rgb{r, g, b}; }

float smaller_side(const afx_widget& w) {
    return static_cast<float>(w.width < w.height ? w.width : w.height);
}

void fill_box(afx_pen* pen, const afx_rgb& c, uint32_t alpha, float x, float y, float w, float h) {
    afx_set_colour(pen, c.r, c.g, c.b, alpha);
    afx_fill_round_rect(pen, x, y, w, h);
}

}  // namespace

void afx_toggle_button_init(afx_toggle_button* b, afx_context* context) {
    afx_widget_init(&b->widget);
    b->highlight = afx_rgb{0, 0, 0};
    b->highlight_alpha = 32;
    b->background = b->fill = b->on_fill = b->hover_fill = afx_rgb{0, 0, 0};
    b->border = afx_rgb{22, 22, 22};
    b->text_colour = b->on_text_colour = afx_rgb{0, 0, 0};
    b->alignment = 0;
    b->caption_width = 0;
    b->font_size = 12.0f;
    b->on = b->pressed = b->dirty = b->highlight_on = b->hover = 0;
    b->caption = nullptr;
    b->context = context;
    b->background_pixbuf = nullptr;
}

void afx_toggle_button_release(afx_toggle_button* b) {
    afx_caption_free(&b->caption);
    afx_widget_release(&b->widget);
}

void afx_toggle_button_set_width(afx_toggle_button* b, uint32_t width) {
    b->widget.width = width;
    b->font_size = 0.5f * smaller_side(b->widget);
}
void afx_toggle_button_set_height(afx_toggle_button* b, uint32_t height) {
    b->widget.height = height;
    b->font_size = 0.5f * smaller_side(b->widget);
}
void afx_toggle_button_set_highlight_colour(afx_toggle_button* b, uint32_t r, uint32_t g,
                                            uint32_t bl) {
    set(&b->highlight, r, g, bl);
}
void afx_toggle_button_set_highlight_alpha(afx_toggle_button* b, uint32_t alpha) {
    b->highlight_alpha = alpha;
}
void afx_toggle_button_set_background_colour(afx_toggle_button* b, uint32_t r, uint32_t g,
                                             uint32_t bl) {
    set(&b->background, r, g, bl);
}
void afx_toggle_button_set_fill(afx_toggle_button* b, uint32_t r, uint32_t g, uint32_t bl) {
    set(&b->fill, r, g, bl);
}
void afx_toggle_button_set_border_colour(afx_toggle_button* b, uint32_t r, uint32_t g,
                                         uint32_t bl) {
    set(&b->border, r, g, bl);
}
void afx_toggle_button_set_on_fill(afx_toggle_button* b, uint32_t r, uint32_t g, uint32_t bl) {
    set(&b->on_fill, r, g, bl);
}
void afx_toggle_button_set_hover_fill(afx_toggle_button* b, uint32_t r, uint32_t g, uint32_t bl) {
    set(&b->hover_fill, r, g, bl);
}
void afx_toggle_button_set_text_colour(afx_toggle_button* b, uint32_t r, uint32_t g, uint32_t bl) {
    set(&b->text_colour, r, g, bl);
}
void afx_toggle_button_set_on_text_colour(afx_toggle_button* b, uint32_t r, uint32_t g,
                                          uint32_t bl) {
    set(&b->on_text_colour, r, g, bl);
}
void afx_toggle_button_set_alignment(afx_toggle_button* b, uint32_t alignment) {
    b->alignment = alignment;
}
void afx_toggle_button_set_font_size(afx_toggle_button* b, float pixels) { b->font_size = pixels; }
void afx_toggle_button_set_on(afx_toggle_button* b, bool on) { b->on = on ? 1 : 0; }
bool afx_toggle_button_is_on(const afx_toggle_button* b) { return b->on != 0; }
void afx_toggle_button_toggle(afx_toggle_button* b) { b->on = b->on ? 0 : 1; }
void afx_toggle_button_set_pressed(afx_toggle_button* b, bool on) { b->pressed = on ? 1 : 0; }
bool afx_toggle_button_is_pressed(const afx_toggle_button* b) { return b->pressed != 0; }
void afx_toggle_button_set_dirty(afx_toggle_button* b, bool on) { b->dirty = on ? 1 : 0; }
void afx_toggle_button_set_highlight(afx_toggle_button* b, bool on) {
    b->highlight_on = on ? 1 : 0;
}
void afx_toggle_button_set_hover(afx_toggle_button* b, bool on) { b->hover = on ? 1 : 0; }
void afx_toggle_button_set_caption(afx_toggle_button* b, const char* caption) {
    afx_caption_set(&b->caption, caption);
}
void afx_toggle_button_set_background(afx_toggle_button* b, const afx_pixbuf* pixbuf) {
    b->background_pixbuf = pixbuf;
}

bool afx_toggle_button_hit(const afx_toggle_button* b, int32_t x, int32_t y) {
    return afx_widget_hit(&b->widget, x, y);
}

void afx_toggle_button_dirty_rect(const afx_toggle_button* b, int32_t* x, int32_t* y,
                                  int32_t* width, int32_t* height) {
    const afx_widget& w = b->widget;
    const int32_t r = static_cast<int32_t>(w.radius);
    *x = static_cast<int32_t>(w.x) - r - 1;
    *y = static_cast<int32_t>(w.y) - r - 1;
    *width = static_cast<int32_t>(w.width) + 2 + 2 * r;
    *height = static_cast<int32_t>(w.height) + 2 + 2 * r;
}

void afx_toggle_button_restore(afx_toggle_button* b, afx_pixbuf* target) {
    b->dirty = 0;
    const afx_widget& w = b->widget;
    afx_widget_restore_rect(target, b->background_pixbuf, b->background, static_cast<int32_t>(w.x),
                            static_cast<int32_t>(w.y), static_cast<int32_t>(w.width) + 1,
                            static_cast<int32_t>(w.height) + 1);
}

void afx_toggle_button_draw(afx_toggle_button* b, afx_pixbuf* target) {
    afx_widget* w = &b->widget;
    afx_pen* pen = &w->pen;
    const float x = static_cast<float>(w->x), y = static_cast<float>(w->y);
    const float width = static_cast<float>(w->width), height = static_cast<float>(w->height);
    const float e = 0.0625f * smaller_side(*w);
    afx_pen_set_target(pen, target);
    afx_pen_set_radius(pen, static_cast<float>(w->radius));
    fill_box(pen, b->border, 255, x - e, y - e, width + 2.0f * e, height + 2.0f * e);
    fill_box(pen,
             b->on      ? b->on_fill
             : b->hover ? b->hover_fill
                        : b->fill,
             255, x, y, width, height);
    if (b->highlight_on)
        fill_box(pen, b->highlight, b->highlight_alpha, x + 2.0f, y + 2.0f, width - 4.0f,
                 height - 4.0f);
    if (!b->caption) return;
    const float measured = afx_caption_prepare(w, target, b->caption, b->font_size,
                                               b->on ? b->on_text_colour : b->text_colour);
    b->caption_width = static_cast<uint32_t>(measured);
    afx_caption_draw(w, b->caption, afx_caption_x(w, b->alignment, b->font_size, measured),
                     afx_caption_baseline(w));
}

void afx_toggle_button_redraw(afx_toggle_button* b, afx_pixbuf* target) {
    afx_toggle_button_restore(b, target);
    afx_toggle_button_draw(b, target);
}
