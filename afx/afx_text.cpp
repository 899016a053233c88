// Distance-field text: the font table, the text state, the glyph sampler and
// threshold, strings with and without wrapping, and the measures.
#include "afx/afx_text.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"

// ---- The fonts ---------------------------------------------------------------

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

// ---- The text state ----------------------------------------------------------

namespace {

constexpr int64_t kOne = 65536;  // 1.0 in 16.16
// Pixbufs are at most 32768 pixels on a side; glyphs beyond this are skipped.
constexpr float kFarAway = 1.0e6f;

const afx_glyph* glyph_of(const afx_text* text, int32_t c) {
    if (!text->glyphs || c < kAfxFirstGlyphCode || c > kAfxLastGlyphCode) return nullptr;
    const uint32_t index = static_cast<uint32_t>(c - kAfxFirstGlyphCode);
    return index < text->font.glyph_count ? &text->glyphs[index] : nullptr;
}

// Cap height, smoothing width and baseline offset follow from the font, the
// size and the line height.
void recompute(afx_text* text) {
    const afx_glyph* h = glyph_of(text, 'H');
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

void afx_set_colour(afx_text* text, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    text->r = r;
    text->g = g;
    text->b = b;
    text->a = a;
}

void afx_text_set_target(afx_text* text, afx_pixbuf* pixbuf) {
    text->target = pixbuf;
    const int32_t w = pixbuf ? static_cast<int32_t>(pixbuf->width) : 0;
    const int32_t h = pixbuf ? static_cast<int32_t>(pixbuf->height) : 0;
    text->clip_left = 0;
    text->clip_right = w;
    text->clip_top = 0;
    text->clip_bottom = h;
    text->box_left = 0.0f;
    text->box_right = static_cast<float>(w);
    text->box_top = 0.0f;
    text->box_bottom = static_cast<float>(h);
}

void afx_text_set_box(afx_text* text, float x, float y, float width, float height) {
    text->box_left = x;
    text->box_right = x + width;
    text->box_top = y;
    text->box_bottom = y + height;
    text->clip_left = static_cast<int32_t>(text->box_left);
    text->clip_right = static_cast<int32_t>(text->box_right);
    text->clip_top = static_cast<int32_t>(text->box_top);
    text->clip_bottom = static_cast<int32_t>(text->box_bottom);
    text->pen_x = x;
    text->pen_y = y + text->baseline_offset * text->scale;
}

void afx_text_move_to(afx_text* text, float x, float y) {
    text->pen_x = x;
    text->pen_y = y;
}

void afx_text_newline(afx_text* text) {
    text->pen_x = text->box_left;
    text->pen_y += text->line_height * text->scale;
}

// ---- One glyph -------------------------------------------------------------

namespace {

// Coverage 0..255 of one atlas sample d (bilinear red, 0..65280): the edge
// lies where d x gain is half of full scale, softened over +-width by a
// smoothstep. gain and width are 16.16.
inline int32_t coverage_of(int64_t d, int64_t gain, int64_t width) {
    const int64_t above = ((d * gain) >> 16) + (width - 32768);
    // Most pixels of a glyph box lie clear of the edge band: there the
    // clamped threshold is known without the division.
    if (above <= 0) return 0;
    if (above >= 2 * width) return 255;
    // Inside the band t lies in 0..65535, so neither t nor the smoothstep
    // needs clamping. (Written over the whole range, the numerator goes
    // negative outside the glyph: it is multiplied by 65536, never shifted.)
    const int64_t t = (above * kOne) / (2 * width);
    const int64_t c = ((98304 - t) * 2 * ((t * t) >> 16)) / kOne;  // t^2 (3 - 2t)
    return static_cast<int32_t>(c >> 8);
}

// v / 65536 rounded toward minus infinity (an arithmetic shift).
inline int64_t fx16_floor(int64_t v) { return v >> 16; }

void draw_glyph(afx_text* text, const afx_glyph& g) {
    afx_pixbuf* target = text->target;
    const afx_pixbuf* atlas = text->atlas;
    if (!target || !target->pixels || !atlas || g.width <= 0 || g.height <= 0) return;
    const float s = text->scale;
    const float left = text->pen_x - static_cast<float>(g.origin_x) * s;
    const float top = text->pen_y - static_cast<float>(g.origin_y) * s;
    // Far outside any pixbuf (or not a number): nothing to draw, and the
    // pixel range must stay inside 32-bit integers.
    if (!(std::fabs(left) < kFarAway && std::fabs(top) < kFarAway)) return;
    if (!(static_cast<float>(g.width) * s < kFarAway && static_cast<float>(g.height) * s < kFarAway)) return;
    const int32_t x0 = static_cast<int32_t>(std::floor(left));
    const int32_t x1 = static_cast<int32_t>(std::ceil(left + static_cast<float>(g.width) * s));
    const int32_t y0 = static_cast<int32_t>(std::floor(top));
    const int32_t y1 = static_cast<int32_t>(std::ceil(top + static_cast<float>(g.height) * s));

    // Strictly inside the clip box, and inside the pixbuf whatever the box says.
    const int32_t left_limit = text->clip_left + 1 > 0 ? text->clip_left + 1 : 0;
    const int32_t top_limit = text->clip_top + 1 > 0 ? text->clip_top + 1 : 0;
    const int32_t right_limit = text->clip_right < static_cast<int32_t>(target->width)
                                    ? text->clip_right : static_cast<int32_t>(target->width);
    const int32_t bottom_limit = text->clip_bottom < static_cast<int32_t>(target->height)
                                     ? text->clip_bottom : static_cast<int32_t>(target->height);
    const int32_t cx0 = x0 > left_limit ? x0 : left_limit, cx1 = x1 < right_limit ? x1 : right_limit;
    const int32_t cy0 = y0 > top_limit ? y0 : top_limit, cy1 = y1 < bottom_limit ? y1 : bottom_limit;
    if (cx0 >= cx1 || cy0 >= cy1) return;

    const int64_t origin_x = static_cast<int64_t>(g.atlas_x) * kOne;
    const int64_t origin_y = static_cast<int64_t>(g.atlas_y) * kOne;
    const int64_t max_x = origin_x + static_cast<int64_t>(g.width) * kOne - 32768;
    const int64_t max_y = origin_y + static_cast<int64_t>(g.height) * kOne - 32768;
    const int64_t inverse = static_cast<int64_t>(65536.0f / s);
    const int64_t gain = static_cast<int64_t>(text->gain * 65536.0f);
    int64_t width = static_cast<int64_t>(text->smoothing * 65536.0f);
    if (width < 1) width = 1;  // beyond 6000x the base size the edge is a hard step
    const int64_t left_fx = static_cast<int64_t>(static_cast<double>(left) * 65536.0);
    const int64_t top_fx = static_cast<int64_t>(static_cast<double>(top) * 65536.0);
    const uint32_t alpha_scale = text->a;
    const size_t stride = atlas->stride;

    // Atlas x grows by exactly the inverse scale per pixel when (lx x inv) is
    // divided by 65536 rounding down. Rounding toward zero, as it is usually
    // written, differs only where lx is negative, and there the position lies
    // left of the glyph box and is clamped to its edge either way.
    const int64_t ax_first = origin_x + fx16_floor((static_cast<int64_t>(cx0) * kOne - left_fx) * inverse);
    for (int32_t y = cy0; y < cy1; ++y) {
        int64_t ay = origin_y + fx16_floor((static_cast<int64_t>(y) * kOne - top_fx) * inverse);
        ay = ay < origin_y ? origin_y : (ay > max_y ? max_y : ay);
        const int64_t fy = (ay >> 8) & 255;
        const uint8_t* row0 = atlas->pixels + static_cast<size_t>(ay >> 16) * stride;
        const uint8_t* row1 = row0 + stride;
        uint8_t* out = target->pixels + static_cast<size_t>(y) * target->stride + static_cast<size_t>(cx0) * 4u;
        int64_t ax_run = ax_first;
        for (int32_t x = cx0; x < cx1; ++x, ax_run += inverse, out += 4) {
            const int64_t ax = ax_run < origin_x ? origin_x : (ax_run > max_x ? max_x : ax_run);
            const int64_t fx = (ax >> 8) & 255;
            const size_t px = static_cast<size_t>(ax >> 16) * 4u;
            const int64_t d = (row0[px] * (256 - fx) * (256 - fy) + row0[px + 4] * fx * (256 - fy) +
                               row1[px] * (256 - fx) * fy + row1[px + 4] * fx * fy) >> 8;
            const uint32_t alpha = (alpha_scale * static_cast<uint32_t>(coverage_of(d, gain, width))) >> 8;
            if (alpha == 0) continue;  // the blend would leave the pixel as it is
            out[0] = static_cast<uint8_t>(afx_blend_channel(out[0], text->r, alpha));
            out[1] = static_cast<uint8_t>(afx_blend_channel(out[1], text->g, alpha));
            out[2] = static_cast<uint8_t>(afx_blend_channel(out[2], text->b, alpha));
        }
    }
}

// Draws code c at the pen (when it has a glyph) and advances the pen, also
// for glyphs with nothing to draw.
void draw_char(afx_text* text, int32_t c) {
    const afx_glyph* g = glyph_of(text, c);
    if (!g) return;
    draw_glyph(text, *g);
    text->pen_x += static_cast<float>(g->advance) * text->scale;
}

// The formatted text: in place when short, on the heap when long; empty when
// formatting fails or memory runs out.
class Formatted {
public:
    Formatted(const char* format, va_list args) {
        va_list again;
        va_copy(again, args);
        const int n = std::vsnprintf(local_, sizeof(local_), format, args);
        if (n < 0) {
            local_[0] = '\0';
        } else if (static_cast<size_t>(n) >= sizeof(local_)) {
            heap_ = static_cast<char*>(std::malloc(static_cast<size_t>(n) + 1));
            if (heap_) {
                std::vsnprintf(heap_, static_cast<size_t>(n) + 1, format, again);
                text_ = heap_;
            } else {
                text_ = "";
            }
        }
        va_end(again);
    }
    ~Formatted() { std::free(heap_); }
    Formatted(const Formatted&) = delete;
    Formatted& operator=(const Formatted&) = delete;
    const char* str() const { return text_; }

private:
    char local_[512];
    char* heap_ = nullptr;
    const char* text_ = local_;
};

}  // namespace

void afx_text_draw(afx_text* text, const char* string) {
    if (!text || !string) return;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(string); *p; ++p) {
        if (*p == '\n')
            afx_text_newline(text);
        else
            draw_char(text, *p);
    }
}

void afx_text_printf(afx_text* text, const char* format, ...) {
    if (!text || !format) return;
    va_list args;
    va_start(args, format);
    const Formatted formatted(format, args);
    va_end(args);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(formatted.str()); *p; ++p) {
        if (*p == '\n') {
            afx_text_newline(text);
            continue;
        }
        // A character wider than the whole box stays on its line rather than
        // leaving an empty line behind.
        const bool line_started = text->pen_x > text->box_left;
        if (line_started && text->pen_x + afx_text_char_width(text, *p) > text->box_right)
            afx_text_newline(text);
        draw_char(text, *p);
    }
}

// ---- Measures --------------------------------------------------------------

float afx_text_char_width(const afx_text* text, int32_t c) {
    const afx_glyph* g = glyph_of(text, c);
    return g ? static_cast<float>(g->advance) * text->scale : 0.0f;
}

float afx_text_width(afx_text* text, const char* string) {
    if (!text || !string) return 0.0f;
    float sum = 0.0f;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(string); *p; ++p) {
        if (*p == '\n') {
            sum = 0.0f;
            afx_text_newline(text);
        } else {
            sum += afx_text_char_width(text, *p);
        }
    }
    return sum;
}

float afx_text_ascent(const afx_text* text) { return text->baseline_offset * text->scale; }
float afx_text_cap_height(const afx_text* text) { return text->cap_height * text->scale; }
float afx_text_line_height(const afx_text* text) { return text->line_height * text->scale; }
float afx_text_pen_x(const afx_text* text) { return text->pen_x; }
float afx_text_pen_y(const afx_text* text) { return text->pen_y; }

void afx_text_measure_box(afx_text* text, int32_t* width, int32_t* height, float max_width,
                          float max_height, const char* format, ...) {
    if (width) *width = 0;
    if (height) *height = 0;
    if (!text || !format) return;
    va_list args;
    va_start(args, format);
    const Formatted formatted(format, args);
    va_end(args);

    const float line = afx_text_line_height(text);
    float widest = 0.0f, sum = 0.0f, total = line;
    for (const char* p = formatted.str(); *p;) {
        if (std::strncmp(p, "<a>", 3) == 0) { p += 3; continue; }
        if (std::strncmp(p, "</a>", 4) == 0) { p += 4; continue; }
        const unsigned char c = static_cast<unsigned char>(*p++);
        const float advance = c == '\n' ? 0.0f : afx_text_char_width(text, c);
        if (c == '\n' || sum + advance > max_width) {
            // The character that overflows ends the line and is not counted.
            if (sum > widest) widest = sum;
            sum = 0.0f;
            total += line;
            continue;
        }
        sum += advance;
    }
    if (sum > widest) widest = sum;
    const float w = widest < max_width ? widest : max_width;
    const float h = total < max_height ? total : max_height;
    if (width) *width = w > 0.0f ? static_cast<int32_t>(std::ceil(w)) : 0;
    if (height) *height = h > 0.0f ? static_cast<int32_t>(std::ceil(h)) : 0;
}
