// The value read-out.
#include "afx/widgets/afx_lcd.h"

#include "afx/afx_bitmap_font.h"
#include "afx/afx_pixbuf.h"

namespace {

constexpr int32_t kTextColumn = 8;    // where the text starts in the strip
constexpr int32_t kWindowColumn = 6;  // first strip column shown at offset 0
constexpr int32_t kScrollSlack = 8;   // a text this much wider than the read-out still fits

void set(afx_rgb* c, uint32_t r, uint32_t g, uint32_t b) { *c = afx_rgb{r, g, b}; }

// c / 2.5, rounded: the shadow's dimmed colour.
uint32_t dimmed(uint32_t c) { return static_cast<uint32_t>(static_cast<float>(c) / 2.5f + 0.5f); }

// The border: with the frame, one-pixel lines around the shown rows; in
// either case half-transparent corners. It lies on the strip's first width
// columns, 0 to width - 1, the read-out's own place in the strip, and not on
// the window that is shown (from column kWindowColumn at scroll offset 0):
// its left column stays out of view and its right column shows
// kWindowColumn pixels inside the read-out's right edge.
void draw_border(afx_lcd* lcd) {
    afx_pixbuf* s = lcd->strip;
    const afx_rgb c = lcd->frame ? lcd->frame_colour : lcd->background;
    const int32_t top = static_cast<int32_t>(lcd->top_row);
    const int32_t left = 0, right = static_cast<int32_t>(lcd->width) - 1;
    const int32_t bottom = top + static_cast<int32_t>(lcd->height) - 1;
    if (lcd->frame) {
        afx_pixbuf_blend_hline(lcd->context, s, left + 1, top, right - 1, c.r, c.g, c.b, 255);
        afx_pixbuf_blend_vline(lcd->context, s, left, top + 1, bottom - 1, c.r, c.g, c.b, 255);
        afx_pixbuf_blend_hline(lcd->context, s, left + 1, bottom, right - 1, c.r, c.g, c.b, 255);
        afx_pixbuf_blend_vline(lcd->context, s, right, top + 1, bottom - 1, c.r, c.g, c.b, 255);
    }
    afx_pixbuf_set_pixel(lcd->context, s, left, top, c.r, c.g, c.b, 127);
    afx_pixbuf_set_pixel(lcd->context, s, right, top, c.r, c.g, c.b, 127);
    afx_pixbuf_set_pixel(lcd->context, s, left, bottom, c.r, c.g, c.b, 127);
    afx_pixbuf_set_pixel(lcd->context, s, right, bottom, c.r, c.g, c.b, 127);
}

}  // namespace

void afx_lcd_init(afx_lcd* lcd, afx_context* context, afx_bitmap_font* font) {
    lcd->context = context;
    lcd->font = font;
    lcd->strip = nullptr;
    lcd->background_pixbuf = nullptr;
    lcd->x = lcd->y = lcd->width = lcd->height = 0;
    lcd->origin_x = lcd->origin_y = 0;
    lcd->strip_width = 0;
    lcd->baseline_row = 14;
    lcd->top_row = 0;
    lcd->reserved = 0;
    lcd->text_colour = lcd->background = afx_rgb{0, 0, 0};
    lcd->frame_colour = afx_rgb{95, 95, 95};
    lcd->scroll_offset = 0;
    lcd->max_chars = 0;
    lcd->text_width = 0;
    lcd->scroll_position = 0.0f;
    lcd->scroll_speed = 0.0f;
    lcd->prepared = lcd->visible = lcd->frame = lcd->shadow = lcd->scrolling = 0;
}

void afx_lcd_release(afx_lcd* lcd) {
    afx_pixbuf_free(lcd->context, lcd->strip);
    lcd->strip = nullptr;
    lcd->prepared = 0;
}

void afx_lcd_set_x(afx_lcd* lcd, uint32_t x) { lcd->x = x; }
void afx_lcd_set_y(afx_lcd* lcd, uint32_t y) { lcd->y = y; }
void afx_lcd_set_width(afx_lcd* lcd, uint32_t width) { lcd->width = width; }
void afx_lcd_set_height(afx_lcd* lcd, uint32_t height) { lcd->height = height; }
void afx_lcd_set_origin_x(afx_lcd* lcd, int32_t x) { lcd->origin_x = x; }
void afx_lcd_set_origin_y(afx_lcd* lcd, int32_t y) { lcd->origin_y = y; }
void afx_lcd_set_background_colour(afx_lcd* lcd, uint32_t r, uint32_t g, uint32_t b) {
    set(&lcd->background, r, g, b);
}
void afx_lcd_set_background(afx_lcd* lcd, const afx_pixbuf* pixbuf) {
    lcd->background_pixbuf = pixbuf;
}
void afx_lcd_set_text_colour(afx_lcd* lcd, uint32_t r, uint32_t g, uint32_t b) {
    set(&lcd->text_colour, r, g, b);
    if (lcd->font) afx_bitmap_font_set_colour(lcd->font, r, g, b);
}
void afx_lcd_set_frame_colour(afx_lcd* lcd, uint32_t r, uint32_t g, uint32_t b) {
    set(&lcd->frame_colour, r, g, b);
}
void afx_lcd_set_visible(afx_lcd* lcd, bool on) { lcd->visible = on ? 1 : 0; }
void afx_lcd_set_frame(afx_lcd* lcd, bool on) { lcd->frame = on ? 1 : 0; }
void afx_lcd_set_shadow(afx_lcd* lcd, bool on) { lcd->shadow = on ? 1 : 0; }
void afx_lcd_set_max_chars(afx_lcd* lcd, int32_t count) { lcd->max_chars = count; }
void afx_lcd_set_scroll_position(afx_lcd* lcd, float pixels) {
    lcd->scroll_position = pixels;
    lcd->scroll_offset = static_cast<int32_t>(pixels);
}
void afx_lcd_set_scroll_speed(afx_lcd* lcd, float pixels) { lcd->scroll_speed = pixels; }

bool afx_lcd_prepare(afx_lcd* lcd) {
    if (!lcd->font) return false;
    const int64_t widest = int64_t(afx_bitmap_font_width_max(lcd->font));
    const int64_t all_chars = widest * (lcd->max_chars > 0 ? lcd->max_chars : 0);
    lcd->strip_width =
        static_cast<uint32_t>(all_chars > lcd->width ? all_chars : widest + lcd->width);
    if (lcd->prepared) return true;
    const int32_t tallest = afx_bitmap_font_height(lcd->font);
    if (!lcd->strip)
        lcd->strip =
            afx_pixbuf_new(lcd->context, lcd->strip_width, 2u * static_cast<uint32_t>(tallest));
    if (!lcd->strip) return false;
    lcd->baseline_row = static_cast<uint32_t>(tallest);
    lcd->top_row = static_cast<uint32_t>(tallest - afx_bitmap_font_baseline(lcd->font));
    afx_pixbuf_clear(lcd->context, lcd->strip);
    lcd->prepared = 1;
    return true;
}

void afx_lcd_set_text(afx_lcd* lcd, const char* text) {
    if (!lcd->strip || !lcd->font || !text) return;
    const afx_rgb& ink = lcd->text_colour;
    afx_pixbuf_fill(lcd->context, lcd->strip, lcd->background.r, lcd->background.g,
                    lcd->background.b, 255);
    const int32_t baseline = static_cast<int32_t>(lcd->baseline_row);
    if (lcd->shadow) {
        afx_bitmap_font_set_colour(lcd->font, dimmed(ink.r), dimmed(ink.g), dimmed(ink.b));
        afx_bitmap_font_draw(lcd->font, lcd->strip, text, kTextColumn + 1, baseline,
                             lcd->max_chars);
        afx_bitmap_font_set_colour(lcd->font, ink.r, ink.g, ink.b);
    }
    lcd->scroll_position = 0.0f;
    lcd->scroll_offset = 0;
    lcd->text_width = afx_bitmap_font_width(lcd->font, text);
    lcd->scrolling = lcd->text_width > static_cast<int32_t>(lcd->width) + kScrollSlack ? 1 : 0;
    afx_bitmap_font_draw(lcd->font, lcd->strip, text, kTextColumn, baseline, lcd->max_chars);
    draw_border(lcd);
}

void afx_lcd_draw(afx_lcd* lcd, afx_pixbuf* target) {
    if (lcd->strip) {
        const int32_t sx = lcd->scroll_offset + kWindowColumn,
                      sy = static_cast<int32_t>(lcd->top_row);
        int32_t w = static_cast<int32_t>(lcd->width), h = static_cast<int32_t>(lcd->height);
        if (sx + w > static_cast<int32_t>(lcd->strip->width))
            w = static_cast<int32_t>(lcd->strip->width) - sx;
        if (sy + h > static_cast<int32_t>(lcd->strip->height))
            h = static_cast<int32_t>(lcd->strip->height) - sy;
        afx_pixbuf_blend(lcd->context, lcd->strip, target, sx, sy,
                         lcd->origin_x + static_cast<int32_t>(lcd->x),
                         lcd->origin_y + static_cast<int32_t>(lcd->y), w, h);
    }
    if (!lcd->scrolling) return;
    lcd->scroll_position += lcd->scroll_speed;
    lcd->scroll_offset = static_cast<int32_t>(lcd->scroll_position + 0.5f);
    const int32_t end = lcd->text_width + kScrollSlack;
    if (lcd->scroll_offset < 0) {
        lcd->scroll_offset = 0;
        lcd->scrolling = 0;
    } else if (lcd->scroll_offset > end) {
        lcd->scroll_offset = end;
        lcd->scrolling = 0;
    }
}

void afx_lcd_restore(const afx_lcd* lcd, afx_pixbuf* target) {
    if (!lcd->background_pixbuf) return;
    const int32_t x = static_cast<int32_t>(lcd->x), y = static_cast<int32_t>(lcd->y);
    afx_pixbuf_copy(lcd->context, lcd->background_pixbuf, target, x, y, lcd->origin_x + x,
                    lcd->origin_y + y, static_cast<int32_t>(lcd->width),
                    static_cast<int32_t>(lcd->height));
}

bool afx_lcd_needs_draw(const afx_lcd* lcd) { return lcd->scrolling || lcd->visible; }

void afx_lcd_dirty_rect(const afx_lcd* lcd, int32_t* x, int32_t* y, int32_t* width,
                        int32_t* height) {
    *x = lcd->origin_x + static_cast<int32_t>(lcd->x);
    *y = lcd->origin_y + static_cast<int32_t>(lcd->y);
    *width = static_cast<int32_t>(lcd->width);
    *height = static_cast<int32_t>(lcd->height);
}
