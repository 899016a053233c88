// The built-in bitmap font of the value read-out: 8-bit coverage glyphs for
// every byte code, blended in a gamma-corrected way so that thin strokes keep
// their weight in a light colour on a dark strip. One global font is created
// when the library is loaded and shared by every instance in the process.
#pragma once

#include <cstdint>

struct afx_context;
struct afx_pixbuf;

// A glyph is a byte record: width, height, advance, 0, x offset, y offset
// (signed; rows above the baseline), then width x height coverage bytes row
// by row.
enum afx_bitmap_glyph_field : int32_t {
    AFX_GLYPH_WIDTH = 0,
    AFX_GLYPH_HEIGHT = 1,
    AFX_GLYPH_ADVANCE = 2,
    AFX_GLYPH_X_OFFSET = 4,
    AFX_GLYPH_Y_OFFSET = 5,
    AFX_GLYPH_COVERAGE = 6,
};

struct afx_bitmap_font {
    const uint8_t* glyphs[256];  // glyph records; null where a code has none
    uint8_t decode[256];         // byte to linear light: (i / 255)^1.8
    uint8_t encode[256];         // linear light to byte: (i / 255)^(1 / 1.8)
    uint32_t colour[3];          // red, green, blue in linear light
    // Over codes 0..254:
    int32_t max_height;
    int32_t max_width;  // the larger of width and advance
    int32_t max_y_offset;
    int32_t baseline;  // min(max_y_offset, max_height)
    int32_t descent;   // 2 x max_height - baseline
    afx_context* context;
};

// The global font; with create and none existing, builds it (black text).
// Null when it does not exist (and create is false) or cannot be allocated.
afx_bitmap_font* afx_bitmap_font_get(bool create);
// Forgets the global font; the caller then frees it with afx_bitmap_font_free.
void afx_bitmap_font_release(afx_bitmap_font* font);
void afx_bitmap_font_free(afx_bitmap_font* font);

// Text colour, 0..255 per channel (stored in linear light).
void afx_bitmap_font_set_colour(afx_bitmap_font* font, uint32_t r, uint32_t g, uint32_t b);
// Draws at most max_chars bytes of string with the baseline at row y, the pen
// starting at x; returns the pen x after the last glyph. Codes below 128 are
// glyphs; 128..191 are skipped; each code from 192 (the lead byte of a
// multi-byte character) draws one "-". When max_chars bytes are used up before
// the terminator, "..." follows. Pixels outside the pixbuf are skipped; the
// alpha byte of each pixel stays. A max_chars below 1 draws nothing.
int32_t afx_bitmap_font_draw(afx_bitmap_font* font, afx_pixbuf* pixbuf, const char* string,
                             int32_t x, int32_t y, int32_t max_chars);
// Width in pixels of what draw would show for the first 1024 bytes, without
// an ellipsis.
int32_t afx_bitmap_font_width(const afx_bitmap_font* font, const char* string);
// Tallest glyph, widest glyph or advance, and the rows above the baseline.
int32_t afx_bitmap_font_height(const afx_bitmap_font* font);
int32_t afx_bitmap_font_width_max(const afx_bitmap_font* font);
int32_t afx_bitmap_font_baseline(const afx_bitmap_font* font);
