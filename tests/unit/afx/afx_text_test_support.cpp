#include "afx_text_test_support.h"

namespace {

void put_be32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

}  // namespace

std::vector<uint8_t> make_pixdata(int32_t width, int32_t height,
                                  const std::function<uint32_t(int32_t, int32_t)>& rgba) {
    std::vector<uint8_t> out;
    const uint32_t stride = static_cast<uint32_t>(width) * 4u;
    put_be32(out, 0x47646B50u);  // "GdkP"
    put_be32(out, 24u + stride * static_cast<uint32_t>(height));
    put_be32(out, 0x01010002u);
    put_be32(out, stride);
    put_be32(out, static_cast<uint32_t>(width));
    put_be32(out, static_cast<uint32_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t word = rgba(x, y);
            for (int shift = 0; shift < 32; shift += 8)
                out.push_back(static_cast<uint8_t>(word >> shift));
        }
    }
    return out;
}

SyntheticFont::SyntheticFont(int32_t atlas_width, int32_t atlas_height,
                             const std::function<uint8_t(int32_t, int32_t)>& red,
                             const afx_glyph& glyph, uint32_t base_size) {
    pixdata_ = make_pixdata(atlas_width, atlas_height, [&](int32_t x, int32_t y) {
        return uint32_t(red(x, y)) | 0xFF000000u;
    });
    entry_ = {AFX_RESOURCE_BINARY, kAtlasId, pixdata_.data(), pixdata_.data() + pixdata_.size()};
    bundle_ = {&entry_, 1};
    for (int32_t c = kAfxFirstGlyphCode; c <= kAfxLastGlyphCode; ++c) {
        afx_glyph g = glyph;
        g.code = c;
        glyphs_.push_back(g);
    }
    desc_ = {"Synthetic",
             base_size,
             0,
             0,
             uint32_t(atlas_width),
             uint32_t(atlas_height),
             uint32_t(glyphs_.size()),
             glyphs_.data(),
             kAtlasId,
             0};
}

afx_pixbuf* filled_pixbuf(uint32_t width, uint32_t height, uint32_t r, uint32_t g, uint32_t b,
                          uint32_t a) {
    afx_pixbuf* p = afx_pixbuf_new(nullptr, width, height);
    afx_pixbuf_fill(nullptr, p, r, g, b, a);
    return p;
}

bool same_pixels(const afx_pixbuf* a, const afx_pixbuf* b) {
    for (uint32_t y = 0; y < a->height; ++y)
        for (uint32_t x = 0; x < a->width; ++x)
            if (afx_pixbuf_pixel(a, int32_t(x), int32_t(y)) !=
                afx_pixbuf_pixel(b, int32_t(x), int32_t(y)))
                return false;
    return true;
}

bool all_pixels(const afx_pixbuf* p, uint32_t word) {
    for (uint32_t y = 0; y < p->height; ++y)
        for (uint32_t x = 0; x < p->width; ++x)
            if (afx_pixbuf_pixel(p, int32_t(x), int32_t(y)) != word) return false;
    return true;
}
