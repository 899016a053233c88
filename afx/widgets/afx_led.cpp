// The indicator lamp.
#include "afx/widgets/afx_led.h"

#include "afx/afx_pixbuf.h"

namespace {

void set(afx_rgb* c, uint32_t r, uint32_t g, uint32_t b) { *c = afx_rgb{r, g, b}; }

}  // namespace

void afx_led_init(afx_led* led, afx_context* context) {
    afx_text_init(&led->text);
    afx_pen_init(&led->pen);
    led->x = led->y = led->radius = 0;
    led->corner_radius = 1;
    led->background = led->lamp = afx_rgb{0, 0, 0};
    led->ring = afx_rgb{22, 22, 22};
    led->on = led->drawn_on = led->dirty = 0;
    led->context = context;
    led->background_pixbuf = nullptr;
}

void afx_led_release(afx_led* led) { afx_text_release(&led->text); }

void afx_led_set_x(afx_led* led, uint32_t x) { led->x = x; }
void afx_led_set_y(afx_led* led, uint32_t y) { led->y = y; }
void afx_led_set_radius(afx_led* led, uint32_t radius) { led->radius = radius; }
void afx_led_set_background_colour(afx_led* led, uint32_t r, uint32_t g, uint32_t b) {
    set(&led->background, r, g, b);
}
void afx_led_set_lamp_colour(afx_led* led, uint32_t r, uint32_t g, uint32_t b) {
    set(&led->lamp, r, g, b);
}
void afx_led_set_ring_colour(afx_led* led, uint32_t r, uint32_t g, uint32_t b) {
    set(&led->ring, r, g, b);
}
void afx_led_set_on(afx_led* led, bool on) { led->on = on ? 1 : 0; }
bool afx_led_is_on(const afx_led* led) { return led->on != 0; }
void afx_led_set_dirty(afx_led* led, bool on) { led->dirty = on ? 1 : 0; }
void afx_led_set_background(afx_led* led, const afx_pixbuf* pixbuf) {
    led->background_pixbuf = pixbuf;
}

bool afx_led_hit(const afx_led* led, int32_t x, int32_t y) {
    const int64_t side = 2 * int64_t(led->radius);
    return x >= int64_t(led->x) && x <= led->x + side && y >= int64_t(led->y) && y <= led->y + side;
}

void afx_led_dirty_rect(const afx_led* led, int32_t* x, int32_t* y, int32_t* width,
                        int32_t* height) {
    *x = static_cast<int32_t>(led->x) - 1;
    *y = static_cast<int32_t>(led->y) - 1;
    *width = 2 * static_cast<int32_t>(led->radius) + 2;
    *height = *width;
}

void afx_led_restore(afx_led* led, afx_pixbuf* target) {
    led->dirty = 0;
    if (led->background_pixbuf) {
        int32_t x, y, w, h;
        afx_led_dirty_rect(led, &x, &y, &w, &h);
        afx_pixbuf_copy(led->context, led->background_pixbuf, target, x, y, x, y, w, h);
        return;
    }
    const int32_t side = 2 * static_cast<int32_t>(led->radius) + 1;
    afx_pixbuf_fill_rect(led->context, target, static_cast<int32_t>(led->x),
                         static_cast<int32_t>(led->y), side, side, led->background.r,
                         led->background.g, led->background.b);
}

void afx_led_draw(afx_led* led, afx_pixbuf* target) {
    led->drawn_on = led->on;
    const float r = static_cast<float>(led->radius);
    const float cx = static_cast<float>(led->x) + r, cy = static_cast<float>(led->y) + r;
    afx_pen_set_target(&led->pen, target);
    afx_set_colour(&led->pen, led->ring.r, led->ring.g, led->ring.b, 255);
    afx_fill_disc(&led->pen, cx, cy, 1.0625f * r);
    const uint32_t shift = led->on ? 0 : 1;  // half brightness while off
    afx_set_colour(&led->pen, led->lamp.r >> shift, led->lamp.g >> shift, led->lamp.b >> shift,
                   255);
    afx_fill_disc(&led->pen, cx, cy, 0.75f * r);
}

void afx_led_redraw(afx_led* led, afx_pixbuf* target) {
    afx_led_restore(led, target);
    afx_led_draw(led, target);
}

bool afx_led_update(afx_led* led, afx_pixbuf* target) {
    if (led->on == led->drawn_on) return false;
    afx_led_redraw(led, target);
    return true;
}
