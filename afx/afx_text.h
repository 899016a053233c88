// Scalable text from distance-field fonts. Each font is an atlas image whose
// red channel holds the signed distance to the glyph outline (the edge where
// red x gain reaches half of full scale), plus a table of glyph metrics in
// atlas pixels at the font's base size. A glyph is drawn at any size by
// sampling the atlas bilinearly in 16.16 fixed point and putting the sample
// through a smooth threshold whose width shrinks as the text grows.
//
// Every captioned widget embeds an afx_text as its first member. Drawing
// blends the text colour into the target pixbuf, only strictly inside the
// clip box (a pixel on the clip box's left column or top row is never
// written), and keeps each pixel's alpha byte.
#pragma once

#include <cstdint>

struct afx_pixbuf;

// One glyph of an atlas, all in atlas pixels at the base size. The glyph box
// starts at pen x - origin_x x scale; origin_y is the distance from the box's
// top down to the baseline.
struct afx_glyph {
    int32_t code;
    int32_t atlas_x, atlas_y;
    int32_t width, height;
    int32_t origin_x, origin_y;
    int32_t advance;
};

// A distance-field font compiled into the library.
struct afx_font_desc {
    const char* name;
    uint32_t base_size;  // pixels per em at which the atlas was made
    uint32_t reserved0;
    uint32_t reserved1;
    uint32_t atlas_width;  // as generated; drawing uses the loaded atlas's size
    uint32_t atlas_height;
    uint32_t glyph_count;  // codes 32..126
    const afx_glyph* glyphs;
    uint32_t atlas_id;  // pixel-data resource of the atlas
    uint32_t reserved2;
};

constexpr int32_t kAfxFirstGlyphCode = 32;
constexpr int32_t kAfxLastGlyphCode = 126;

// The library's fonts: "DejaVu Sans", "Saira", "Michroma" (base 64) and
// "Arial Small" (base 32), in resource order.
extern const afx_font_desc afx_fonts[];
extern const int32_t afx_font_count;
// The font of that exact name; null when there is none.
const afx_font_desc* afx_font_find(const char* name);

struct afx_text {
    uint32_t r, g, b, a;                                   // colour, 0..255 each
    int32_t clip_left, clip_right, clip_top, clip_bottom;  // pixels, exclusive on every side
    float box_left, box_right, box_top, box_bottom;        // layout box, pixels
    float scale;                                           // drawing size / base size
    float smoothing;        // threshold half-width, 0.25 / (scale x 2.5)
    float gain;             // applied to the distance before the threshold
    float baseline_offset;  // font units: line height - (line height - cap height) / 2
    float cap_height;       // font units: height of the glyph "H"
    float line_height;      // font units
    float pen_x, pen_y;     // pixels; pen y is the baseline
    const afx_glyph* glyphs;
    afx_font_desc font;
    afx_pixbuf* target;  // not owned
    afx_pixbuf* atlas;   // owned; null when the font's atlas did not load
};

// Sets up a fresh record (its memory is taken as uninitialised): black,
// opaque, no target, scale 1, gain 1.25, smoothing 0.1, "DejaVu Sans" with
// line height 64. Release with afx_text_release.
void afx_text_init(afx_text* text);
// Frees the atlas record; the text draws nothing until a font is set again.
void afx_text_release(afx_text* text);
// Switches to the font (its atlas is loaded from the library's resources);
// line height becomes the base size. An atlas that does not load, or that is
// too small for the glyph table, leaves the text undrawn (measures still work).
void afx_text_set_font(afx_text* text, const afx_font_desc* font);
// Drawing size in pixels per em.
void afx_text_set_size(afx_text* text, float pixels);
// Line height in pixels at the current size.
void afx_text_set_line_height(afx_text* text, float pixels);
// Stores the colour (0..255 each).
void afx_set_colour(afx_text* text, uint32_t r, uint32_t g, uint32_t b, uint32_t a);
// Draws into pixbuf from now on (not owned); clip and layout box become the
// whole pixbuf (0, width, 0, height).
void afx_text_set_target(afx_text* text, afx_pixbuf* pixbuf);
// Layout box (x, y, width, height) in pixels; the clip box is its truncation;
// the pen goes to the box's first baseline.
void afx_text_set_box(afx_text* text, float x, float y, float width, float height);
// Pen position in pixels; y is the baseline.
void afx_text_move_to(afx_text* text, float x, float y);
// Pen to the layout box's left edge, one line height down.
void afx_text_newline(afx_text* text);
// Draws a zero-terminated string at the pen and advances it: "\n" starts a
// new line, other control codes and codes above 126 are skipped.
void afx_text_draw(afx_text* text, const char* string);
// Formats and draws, wrapping per character: a character that would cross
// the layout box's right edge starts a new line, even when the line is still
// empty, and is drawn there.
void afx_text_printf(afx_text* text, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Measures, in pixels at the current size.
// Width of the string's last line. A "\n" also moves the pen as
// afx_text_newline does.
float afx_text_width(afx_text* text, const char* string);
// Advance of one character code; 0 for codes without a glyph.
float afx_text_char_width(const afx_text* text, int32_t c);
// Baseline below the layout box's top, cap height, line height.
float afx_text_ascent(const afx_text* text);
float afx_text_cap_height(const afx_text* text);
float afx_text_line_height(const afx_text* text);
float afx_text_pen_x(const afx_text* text);
float afx_text_pen_y(const afx_text* text);
// Size of the block the formatted text takes, for laying it out before
// printing it: the link markers "<a>" and "</a>" take no room; a line ends at
// "\n" or before a character that would make it wider than max_width (that
// character is dropped from the count); one line height per line. Both
// results are rounded up and limited to the maxima.
void afx_text_measure_box(afx_text* text, int32_t* width, int32_t* height, float max_width,
                          float max_height, const char* format, ...)
    __attribute__((format(printf, 6, 7)));
