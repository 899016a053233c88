// The one-line value read-out: text in the bitmap font drawn into a private
// strip once per change, then blended onto the back buffer on every draw.
// A text too long for the read-out scrolls sideways by the scroll speed per
// draw until its end has come into view, then stops.
//
// The strip holds the text on its baseline row with room above and below;
// the read-out shows the window (scroll offset + 6, visible top row, width,
// height) of it, so text drawn at strip column 8 appears 2 pixels in.
#pragma once

#include <cstdint>

#include "afx/widgets/afx_widget.h"

struct afx_bitmap_font;
struct afx_context;
struct afx_pixbuf;

struct afx_lcd {
    afx_context* context;
    afx_bitmap_font* font;                // not owned
    afx_pixbuf* strip;                    // owned, created by afx_lcd_prepare
    const afx_pixbuf* background_pixbuf;  // not owned
    uint32_t x, y, width, height;         // logical pixels
    int32_t origin_x, origin_y;           // added to every drawing position
    uint32_t strip_width;
    uint32_t baseline_row;  // of the text in the strip [14]
    uint32_t top_row;       // first strip row shown
    uint32_t reserved;      // 0
    afx_rgb text_colour;
    afx_rgb frame_colour;   // [95, 95, 95]
    afx_rgb background;     // the strip's fill
    int32_t scroll_offset;  // pixels
    int32_t max_chars;      // drawn at most, then "..."
    int32_t text_width;     // pixels, of the last text set
    float scroll_position;
    float scroll_speed;  // pixels per draw [0]
    uint8_t prepared;
    uint8_t visible;
    uint8_t frame;   // draw a one-pixel frame
    uint8_t shadow;  // a dim copy of the text one pixel right
    uint8_t scrolling;
};

void afx_lcd_init(afx_lcd* lcd, afx_context* context, afx_bitmap_font* font);
// Frees the strip.
void afx_lcd_release(afx_lcd* lcd);

void afx_lcd_set_x(afx_lcd* lcd, uint32_t x);
void afx_lcd_set_y(afx_lcd* lcd, uint32_t y);
void afx_lcd_set_width(afx_lcd* lcd, uint32_t width);
void afx_lcd_set_height(afx_lcd* lcd, uint32_t height);
void afx_lcd_set_origin_x(afx_lcd* lcd, int32_t x);
void afx_lcd_set_origin_y(afx_lcd* lcd, int32_t y);
void afx_lcd_set_background_colour(afx_lcd* lcd, uint32_t r, uint32_t g, uint32_t b);
void afx_lcd_set_background(afx_lcd* lcd, const afx_pixbuf* pixbuf);
// Also sets the bitmap font's colour.
void afx_lcd_set_text_colour(afx_lcd* lcd, uint32_t r, uint32_t g, uint32_t b);
void afx_lcd_set_frame_colour(afx_lcd* lcd, uint32_t r, uint32_t g, uint32_t b);
void afx_lcd_set_visible(afx_lcd* lcd, bool on);
void afx_lcd_set_frame(afx_lcd* lcd, bool on);
void afx_lcd_set_shadow(afx_lcd* lcd, bool on);
void afx_lcd_set_max_chars(afx_lcd* lcd, int32_t count);
// The scroll offset becomes its truncation.
void afx_lcd_set_scroll_position(afx_lcd* lcd, float pixels);
// Pixels per draw while scrolling; negative runs back towards the start.
void afx_lcd_set_scroll_speed(afx_lcd* lcd, float pixels);

// Sizes the strip for the widest text of max_chars characters (or the
// read-out plus one character) and, the first time, creates it, cleared to
// opaque black. False without a font or when the strip cannot be made.
bool afx_lcd_prepare(afx_lcd* lcd);
// Writes the text into the strip (from the start, scroll reset) and decides
// whether it scrolls: when it is wider than the read-out + 8. Nothing before prepare.
void afx_lcd_set_text(afx_lcd* lcd, const char* text);
// Blends the shown window of the strip at (origin + x, origin + y), then
// advances the scroll.
void afx_lcd_draw(afx_lcd* lcd, afx_pixbuf* target);
// Opaque copy of (x, y, width, height) from the background picture to
// (origin + x, origin + y); nothing without one.
void afx_lcd_restore(const afx_lcd* lcd, afx_pixbuf* target);
// Scrolling or visible.
bool afx_lcd_needs_draw(const afx_lcd* lcd);
// (origin x + x, origin y + y, width, height).
void afx_lcd_dirty_rect(const afx_lcd* lcd, int32_t* x, int32_t* y, int32_t* width,
                        int32_t* height);
