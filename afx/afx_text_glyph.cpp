// The glyph rasteriser: one distance-field glyph sampled from the atlas in
// 16.16 fixed point, put through the smooth threshold and blended into the
// target strictly inside the clip box.
#include "afx/afx_text_glyph.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "afx/afx_pixbuf.h"

namespace {

constexpr int64_t kOne = 65536;  // 1.0 in 16.16
// Pixbufs are at most 32768 pixels on a side; glyphs beyond this are skipped.
constexpr float kFarAway = 1.0e6f;

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

// Target pixels x0..x1, y0..y1 (exclusive ends).
struct PixelRange {
    int32_t x0, x1, y0, y1;
};

// The pixels that a glyph box at (left, top) of the given size touches,
// strictly inside the clip box and inside the target whatever the box says.
// False when there are none.
bool pixel_range(const afx_text* text, float left, float top, float width, float height,
                 PixelRange* r) {
    // Far outside any pixbuf (or not a number): nothing to draw, and the
    // pixel range must stay inside 32-bit integers.
    if (!(std::fabs(left) < kFarAway && std::fabs(top) < kFarAway)) return false;
    if (!(width < kFarAway && height < kFarAway)) return false;
    const int32_t target_width = static_cast<int32_t>(text->target->width);
    const int32_t target_height = static_cast<int32_t>(text->target->height);
    r->x0 = std::max({static_cast<int32_t>(std::floor(left)), text->clip_left + 1, 0});
    r->x1 =
        std::min({static_cast<int32_t>(std::ceil(left + width)), text->clip_right, target_width});
    r->y0 = std::max({static_cast<int32_t>(std::floor(top)), text->clip_top + 1, 0});
    r->y1 =
        std::min({static_cast<int32_t>(std::ceil(top + height)), text->clip_bottom, target_height});
    return r->x0 < r->x1 && r->y0 < r->y1;
}

// Where a glyph lies in the atlas and how the threshold reads it, in 16.16.
struct Sampler {
    int64_t origin_x, origin_y;  // the glyph box's corner in the atlas
    int64_t max_x, max_y;        // samples stay half a pixel inside the far edges
    int64_t inverse;             // atlas pixels per target pixel
    int64_t gain, width;         // the threshold's gain and half-width
};

Sampler sampler_for(const afx_text* text, const afx_glyph& g) {
    Sampler s;
    s.origin_x = static_cast<int64_t>(g.atlas_x) * kOne;
    s.origin_y = static_cast<int64_t>(g.atlas_y) * kOne;
    s.max_x = s.origin_x + static_cast<int64_t>(g.width) * kOne - 32768;
    s.max_y = s.origin_y + static_cast<int64_t>(g.height) * kOne - 32768;
    s.inverse = static_cast<int64_t>(65536.0f / text->scale);
    s.gain = static_cast<int64_t>(text->gain * 65536.0f);
    s.width = static_cast<int64_t>(text->smoothing * 65536.0f);
    if (s.width < 1) s.width = 1;  // beyond 6000x the base size the edge is a hard step
    return s;
}

// Blends the text colour into target row y, columns x0..x1 (exclusive), by
// the coverage sampled along atlas row ay from atlas column ax_first on.
void blend_row(afx_text* text, const Sampler& s, int64_t ay, int64_t ax_first, int32_t x0,
               int32_t x1, int32_t y) {
    const afx_pixbuf* atlas = text->atlas;
    const int64_t fy = (ay >> 8) & 255;
    const uint8_t* row0 = atlas->pixels + static_cast<size_t>(ay >> 16) * atlas->stride;
    const uint8_t* row1 = row0 + atlas->stride;
    afx_pixbuf* target = text->target;
    uint8_t* out =
        target->pixels + static_cast<size_t>(y) * target->stride + static_cast<size_t>(x0) * 4u;
    int64_t ax_run = ax_first;
    for (int32_t x = x0; x < x1; ++x, ax_run += s.inverse, out += 4) {
        const int64_t ax = std::clamp(ax_run, s.origin_x, s.max_x);
        const int64_t fx = (ax >> 8) & 255;
        const size_t px = static_cast<size_t>(ax >> 16) * 4u;
        const int64_t d = (row0[px] * (256 - fx) * (256 - fy) + row0[px + 4] * fx * (256 - fy) +
                           row1[px] * (256 - fx) * fy + row1[px + 4] * fx * fy) >>
                          8;
        const uint32_t alpha =
            (text->a * static_cast<uint32_t>(coverage_of(d, s.gain, s.width))) >> 8;
        if (alpha == 0) continue;  // the blend would leave the pixel as it is
        out[0] = static_cast<uint8_t>(afx_blend_channel(out[0], text->r, alpha));
        out[1] = static_cast<uint8_t>(afx_blend_channel(out[1], text->g, alpha));
        out[2] = static_cast<uint8_t>(afx_blend_channel(out[2], text->b, alpha));
    }
}

void draw_glyph(afx_text* text, const afx_glyph& g) {
    if (!text->target || !text->target->pixels || !text->atlas || g.width <= 0 || g.height <= 0)
        return;
    const float scale = text->scale;
    const float left = text->pen_x - static_cast<float>(g.origin_x) * scale;
    const float top = text->pen_y - static_cast<float>(g.origin_y) * scale;
    PixelRange r;
    if (!pixel_range(text, left, top, static_cast<float>(g.width) * scale,
                     static_cast<float>(g.height) * scale, &r))
        return;
    const Sampler s = sampler_for(text, g);
    const int64_t left_fx = static_cast<int64_t>(static_cast<double>(left) * 65536.0);
    const int64_t top_fx = static_cast<int64_t>(static_cast<double>(top) * 65536.0);
    // Atlas x grows by exactly the inverse scale per pixel when (lx x inv) is
    // divided by 65536 rounding down. Rounding toward zero, as it is usually
    // written, differs only where lx is negative, and there the position lies
    // left of the glyph box and is clamped to its edge either way.
    const int64_t ax_first =
        s.origin_x + fx16_floor((static_cast<int64_t>(r.x0) * kOne - left_fx) * s.inverse);
    for (int32_t y = r.y0; y < r.y1; ++y) {
        const int64_t ay =
            s.origin_y + fx16_floor((static_cast<int64_t>(y) * kOne - top_fx) * s.inverse);
        blend_row(text, s, std::clamp(ay, s.origin_y, s.max_y), ax_first, r.x0, r.x1, y);
    }
}

}  // namespace

void afx_set_colour(afx_text* text, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    text->r = r;
    text->g = g;
    text->b = b;
    text->a = a;
}

void afx_text_draw_char(afx_text* text, int32_t c) {
    const afx_glyph* g = afx_text_glyph(text, c);
    if (!g) return;
    draw_glyph(text, *g);
    text->pen_x += static_cast<float>(g->advance) * text->scale;
}
