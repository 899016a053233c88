// The distance-field fonts compiled into the library, and the text state's
// choice of font and size: loading a font's atlas, and the metrics that follow
// from the font, the size and the line height.
#include "afx/afx_text.h"

#include <cstring>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_text_glyph.h"

namespace {

// Glyph rows {code, atlas x, atlas y, width, height, origin x, origin y, advance},
// one per code 32..126, as the font generator wrote them.
const afx_glyph kGlyphs1024[] = {
#include "resources/fonts/1024-dejavu-sans.glyphs.inc"
};
const afx_glyph kGlyphs1025[] = {
#include "resources/fonts/1025-saira.glyphs.inc"
};
const afx_glyph kGlyphs1026[] = {
#include "resources/fonts/1026-michroma.glyphs.inc"
};
const afx_glyph kGlyphs1027[] = {
#include "resources/fonts/1027-arial-small.glyphs.inc"
};

// A font added to the generator's list needs its glyph table above.
#define KORVEX_SDF_FONT(id, name, base, w, h, count, atlas, table) \
    static_assert(sizeof(kGlyphs##id) / sizeof(afx_glyph) == (count), name ": glyph table size");
#include "resources/fonts/fonts.inc"
#undef KORVEX_SDF_FONT

}  // namespace

#define KORVEX_SDF_FONT(id, name, base, w, h, count, atlas, table) \
    {name, base, 0, 0, w, h, count, kGlyphs##id, id, 0},
const afx_font_desc afx_fonts[] = {
#include "resources/fonts/fonts.inc"
};
#undef KORVEX_SDF_FONT
const int32_t afx_font_count = static_cast<int32_t>(sizeof(afx_fonts) / sizeof(afx_fonts[0]));

const afx_font_desc* afx_font_find(const char* name) {
    if (!name) return nullptr;
    for (int32_t i = 0; i < afx_font_count; ++i) {
        if (std::strcmp(afx_fonts[i].name, name) == 0) return &afx_fonts[i];
    }
    return nullptr;
}

const afx_glyph* afx_text_glyph(const afx_text* text, int32_t c) {
    if (!text->glyphs || c < kAfxFirstGlyphCode || c > kAfxLastGlyphCode) return nullptr;
    const uint32_t index = static_cast<uint32_t>(c - kAfxFirstGlyphCode);
    return index < text->font.glyph_count ? &text->glyphs[index] : nullptr;
}

namespace {

// Cap height, smoothing width and baseline offset follow from the font, the
// size and the line height.
void recompute(afx_text* text) {
    const afx_glyph* h = afx_text_glyph(text, 'H');
    text->cap_height = h ? static_cast<float>(h->height) : 0.0f;
    text->smoothing = 0.25f / (text->scale * 2.5f);
    text->baseline_offset = text->line_height - (text->line_height - text->cap_height) * 0.5f;
}

// The sampler reads one atlas pixel right of and below each glyph box: every
// box plus that pixel must lie inside the loaded atlas. The glyph table is
// compiled in but the atlas is resource bytes, checked here once.
bool atlas_fits(const afx_pixbuf* atlas, const afx_font_desc& font) {
    for (uint32_t i = 0; i < font.glyph_count; ++i) {
        const afx_glyph& g = font.glyphs[i];
        if (g.width <= 0 || g.height <= 0) continue;
        if (g.atlas_x < 0 || g.atlas_y < 0) return false;
        if (static_cast<int64_t>(g.atlas_x) + g.width + 1 > atlas->width) return false;
        if (static_cast<int64_t>(g.atlas_y) + g.height + 1 > atlas->height) return false;
    }
    return true;
}

}  // namespace

void afx_text_init(afx_text* text) {
    std::memset(text, 0, sizeof(*text));
    text->a = 255;
    text->scale = 1.0f;
    text->gain = 1.25f;
    text->smoothing = 0.1f;
    const afx_font_desc* first = afx_font_find("DejaVu Sans");
    afx_text_set_font(text, first ? first : &afx_fonts[0]);
}

void afx_text_release(afx_text* text) {
    if (!text) return;
    afx_pixbuf_free(afx_context_get(false), text->atlas);
    text->atlas = nullptr;
}

void afx_text_set_font(afx_text* text, const afx_font_desc* font) {
    if (!text || !font) return;
    afx_context* context = afx_context_get(false);
    afx_pixbuf_free(context, text->atlas);
    text->atlas = afx_pixbuf_new_from_inline_quiet(context, static_cast<int32_t>(font->atlas_id));
    if (text->atlas && !atlas_fits(text->atlas, *font)) {
        afx_pixbuf_free(context, text->atlas);
        text->atlas = nullptr;
    }
    text->font = *font;
    text->glyphs = font->glyphs;
    text->line_height = static_cast<float>(font->base_size);
    recompute(text);
}

void afx_text_set_size(afx_text* text, float pixels) {
    if (!text || !(pixels > 0.0f) || text->font.base_size == 0) return;
    text->scale = pixels / static_cast<float>(text->font.base_size);
    recompute(text);
}

void afx_text_set_line_height(afx_text* text, float pixels) {
    if (!text) return;
    text->line_height = pixels / text->scale;
    recompute(text);
}

float afx_text_char_width(const afx_text* text, int32_t c) {
    const afx_glyph* g = afx_text_glyph(text, c);
    return g ? static_cast<float>(g->advance) * text->scale : 0.0f;
}

float afx_text_ascent(const afx_text* text) { return text->baseline_offset * text->scale; }
float afx_text_cap_height(const afx_text* text) { return text->cap_height * text->scale; }
float afx_text_line_height(const afx_text* text) { return text->line_height * text->scale; }
