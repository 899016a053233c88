// The captioned kinds' shared part: geometry, the owned caption and its placement.
#include "afx/widgets/afx_captioned.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "afx/afx_pixbuf.h"

void afx_widget_init(afx_widget* w) {
    afx_text_init(&w->text);
    afx_pen_init(&w->pen);
    w->x = w->y = w->width = w->height = 0;
    w->radius = 1;
}

void afx_widget_release(afx_widget* w) { afx_text_release(&w->text); }

void afx_widget_set_x(afx_widget* w, uint32_t x) { w->x = x; }
void afx_widget_set_y(afx_widget* w, uint32_t y) { w->y = y; }
void afx_widget_set_radius(afx_widget* w, uint32_t radius) { w->radius = radius; }

bool afx_widget_hit(const afx_widget* w, int32_t x, int32_t y) {
    return x >= int64_t(w->x) && x <= int64_t(w->x) + w->width && y >= int64_t(w->y) &&
           y <= int64_t(w->y) + w->height;
}

bool afx_caption_set(char** caption, const char* text) {
    afx_caption_free(caption);
    if (!text) return true;
    const size_t length = std::strlen(text);
    char* copy = static_cast<char*>(std::malloc(length + 1));
    if (!copy) return false;
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    *caption = copy;
    return true;
}

void afx_caption_free(char** caption) {
    std::free(*caption);
    *caption = nullptr;
}

float afx_caption_prepare(afx_widget* w, afx_pixbuf* target, const char* caption, float font_size,
                          const afx_rgb& colour) {
    afx_text* text = &w->text;
    afx_set_colour(text, colour.r, colour.g, colour.b, 255);
    afx_text_set_target(text, target);
    afx_text_set_size(text, font_size);
    afx_text_set_line_height(text, static_cast<float>(w->height));
    return afx_text_width(text, caption);
}

float afx_caption_baseline(const afx_widget* w) {
    const float height = static_cast<float>(w->height);
    return static_cast<float>(w->y) + height - std::ceil(height - afx_text_ascent(&w->text));
}

float afx_caption_x(const afx_widget* w, uint32_t alignment, float indent, float caption_width) {
    const float x = static_cast<float>(w->x);
    if (alignment == 1) {
        return x + (static_cast<float>(w->width) - std::trunc(caption_width)) * 0.5f;
    }
    return x + indent;
}

void afx_caption_draw(afx_widget* w, const char* caption, float x, float baseline) {
    afx_text_move_to(&w->text, x, baseline);
    afx_text_draw(&w->text, caption);
}

void afx_widget_restore_rect(afx_pixbuf* target, const afx_pixbuf* background,
                             const afx_rgb& colour, int32_t x, int32_t y, int32_t width,
                             int32_t height) {
    if (background) {
        afx_pixbuf_copy(nullptr, background, target, x, y, x, y, width, height);
    } else {
        afx_pixbuf_fill_rect(nullptr, target, x, y, width, height, colour.r, colour.g, colour.b);
    }
}
