// The read-out's bitmap font: the global instance, its gamma tables and
// metrics, and gamma-corrected drawing of byte strings.
#include "afx/afx_bitmap_font.h"

#include <cmath>
#include <cstdlib>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"

namespace {

// kBitmapFontRecords (the glyph records back to back) and kBitmapFontOffsets
// (where each code's record starts), as the font generator wrote them.
#include "resources/fonts/bitmap-font.inc"

static_assert(sizeof(kBitmapFontOffsets) / sizeof(kBitmapFontOffsets[0]) == 256,
              "one record per byte code");

// Text longer than this is measured only this far.
constexpr int32_t kMeasureLimit = 1024;
// The metrics are taken over codes 0..254.
constexpr int32_t kMetricCodes = 255;

afx_bitmap_font* g_font = nullptr;

int32_t field(const uint8_t* glyph, afx_bitmap_glyph_field f) {
    if (f == AFX_GLYPH_X_OFFSET || f == AFX_GLYPH_Y_OFFSET) return static_cast<int8_t>(glyph[f]);
    return glyph[f];
}

uint8_t gamma_entry(int32_t i, double exponent) {
    double v = std::pow(i / 255.0, exponent);
    v = v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
    return static_cast<uint8_t>(v * 255.0);
}

void build(afx_bitmap_font* font) {
    for (int32_t c = 0; c < 256; ++c) font->glyphs[c] = kBitmapFontRecords + kBitmapFontOffsets[c];
    for (int32_t i = 0; i < 256; ++i) {
        font->decode[i] = gamma_entry(i, 1.8);
        font->encode[i] = gamma_entry(i, 0.5555556);
    }
    font->encode[0] = 0;
    for (int32_t c = 0; c < kMetricCodes; ++c) {
        const uint8_t* g = font->glyphs[c];
        const int32_t w = field(g, AFX_GLYPH_WIDTH), adv = field(g, AFX_GLYPH_ADVANCE);
        const int32_t h = field(g, AFX_GLYPH_HEIGHT), yo = field(g, AFX_GLYPH_Y_OFFSET);
        if (h > font->max_height) font->max_height = h;
        if (w > font->max_width) font->max_width = w;
        if (adv > font->max_width) font->max_width = adv;
        if (yo > font->max_y_offset) font->max_y_offset = yo;
    }
    font->baseline = font->max_y_offset < font->max_height ? font->max_y_offset : font->max_height;
    font->descent = 2 * font->max_height - font->baseline;
    font->context = afx_context_get(false);
}

// Blends one glyph with its baseline at row y; returns its advance.
int32_t draw_glyph(const afx_bitmap_font* font, afx_pixbuf* pixbuf, const uint8_t* g, int32_t x,
                   int32_t y) {
    if (!g) return 0;
    const int32_t w = field(g, AFX_GLYPH_WIDTH), h = field(g, AFX_GLYPH_HEIGHT);
    const int32_t left = x + field(g, AFX_GLYPH_X_OFFSET), top = y - field(g, AFX_GLYPH_Y_OFFSET);
    const uint8_t* coverage = g + AFX_GLYPH_COVERAGE;
    const int32_t pw = static_cast<int32_t>(pixbuf->width),
                  ph = static_cast<int32_t>(pixbuf->height);
    for (int32_t r = 0; r < h; ++r) {
        const int32_t dy = top + r;
        if (dy < 0 || dy >= ph) continue;
        uint8_t* row = pixbuf->pixels + static_cast<size_t>(dy) * pixbuf->stride;
        for (int32_t k = 0; k < w; ++k) {
            const int32_t dx = left + k;
            // Every pixel of the box takes the trip through linear light and
            // back, zero coverage included: where boxes overlap, a glyph's
            // empty margin settles its neighbour's ink by up to a few steps.
            if (dx < 0 || dx >= pw) continue;
            const int32_t a = coverage[r * w + k];
            uint8_t* p = row + static_cast<size_t>(dx) * 4u;
            for (int32_t ch = 0; ch < 3; ++ch) {
                const int32_t lin = font->decode[p[ch]];
                const int32_t mixed =
                    lin + (((static_cast<int32_t>(font->colour[ch]) - lin) * a) >> 8);
                p[ch] = font->encode[mixed & 255];
            }
        }
    }
    return field(g, AFX_GLYPH_ADVANCE);
}

// What one byte shows: its own glyph below 128, nothing for a continuation
// byte (128..191), one "-" for each lead byte of a multi-byte character.
const uint8_t* shown_glyph(const afx_bitmap_font* font, uint8_t c) {
    if (c < 128) return font->glyphs[c];
    if (c < 192) return nullptr;
    return font->glyphs[static_cast<uint8_t>('-')];
}

}  // namespace

afx_bitmap_font* afx_bitmap_font_get(bool create) {
    if (!g_font && create) {
        afx_bitmap_font* font =
            static_cast<afx_bitmap_font*>(std::calloc(1, sizeof(afx_bitmap_font)));
        if (!font) return nullptr;
        build(font);
        g_font = font;
    }
    return g_font;
}

void afx_bitmap_font_release(afx_bitmap_font* font) {
    if (font && font == g_font) g_font = nullptr;
}

void afx_bitmap_font_free(afx_bitmap_font* font) { std::free(font); }

void afx_bitmap_font_set_colour(afx_bitmap_font* font, uint32_t r, uint32_t g, uint32_t b) {
    if (!font) return;
    font->colour[0] = font->decode[r & 255];
    font->colour[1] = font->decode[g & 255];
    font->colour[2] = font->decode[b & 255];
}

int32_t afx_bitmap_font_draw(afx_bitmap_font* font, afx_pixbuf* pixbuf, const char* string,
                             int32_t x, int32_t y, int32_t max_chars) {
    if (!font || !pixbuf || !pixbuf->pixels || !string || max_chars < 1) return x;
    const uint8_t* s = reinterpret_cast<const uint8_t*>(string);
    int32_t i = 0;
    for (; i < max_chars && s[i]; ++i) x += draw_glyph(font, pixbuf, shown_glyph(font, s[i]), x, y);
    if (i == max_chars) {
        // Cut short: the ellipsis tells the reader there was more.
        for (int32_t dot = 0; dot < 3; ++dot)
            x += draw_glyph(font, pixbuf, font->glyphs[static_cast<unsigned char>('.')], x, y);
    }
    return x;
}

int32_t afx_bitmap_font_width(const afx_bitmap_font* font, const char* string) {
    if (!font || !string) return 0;
    const uint8_t* s = reinterpret_cast<const uint8_t*>(string);
    int32_t width = 0;
    for (int32_t i = 0; i < kMeasureLimit && s[i]; ++i) {
        if (const uint8_t* g = shown_glyph(font, s[i])) width += field(g, AFX_GLYPH_ADVANCE);
    }
    return width;
}

int32_t afx_bitmap_font_height(const afx_bitmap_font* font) { return font ? font->max_height : 0; }
int32_t afx_bitmap_font_width_max(const afx_bitmap_font* font) {
    return font ? font->max_width : 0;
}
int32_t afx_bitmap_font_baseline(const afx_bitmap_font* font) { return font ? font->baseline : 0; }
