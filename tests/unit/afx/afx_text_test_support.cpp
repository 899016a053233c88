#include "afx_text_test_support.h"

SyntheticFont::SyntheticFont(int32_t atlas_width, int32_t atlas_height,
                             const std::function<uint8_t(int32_t, int32_t)>& red,
                             const afx_glyph& glyph) {
    // A pixel-data image: "GdkP", length, raw RGBA, stride, width, height
    // (big-endian), then the rows.
    const uint32_t stride = uint32_t(atlas_width) * 4u;
    for (const uint32_t v : {0x47646B50u, 24u + stride * uint32_t(atlas_height), 0x01010002u,
                             stride, uint32_t(atlas_width), uint32_t(atlas_height)})
        for (int shift = 24; shift >= 0; shift -= 8) pixdata_.push_back(uint8_t(v >> shift));
    for (int32_t y = 0; y < atlas_height; ++y)
        for (int32_t x = 0; x < atlas_width; ++x)
            pixdata_.insert(pixdata_.end(), {red(x, y), 0, 0, 255});
    entry_ = {AFX_RESOURCE_BINARY, 5000, pixdata_.data(), pixdata_.data() + pixdata_.size()};
    bundle_ = {&entry_, 1};
    for (int32_t c = kAfxFirstGlyphCode; c <= kAfxLastGlyphCode; ++c) {
        glyphs_.push_back(glyph);
        glyphs_.back().code = c;
    }
    desc_ = {"Synthetic",
             64,
             0,
             0,
             uint32_t(atlas_width),
             uint32_t(atlas_height),
             uint32_t(glyphs_.size()),
             glyphs_.data(),
             5000,
             0};
}

afx_pixbuf* filled_pixbuf(uint32_t width, uint32_t height, uint32_t r, uint32_t g, uint32_t b,
                          uint32_t a) {
    afx_pixbuf* p = afx_pixbuf_new(nullptr, width, height);
    afx_pixbuf_fill(nullptr, p, r, g, b, a);
    return p;
}
