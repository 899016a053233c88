// Shared pieces of the text tests: the library's resources (the real font
// atlases), synthetic fonts over atlases a test paints itself, and pixbufs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_text.h"
#include "afx/platform/afx_resource_bundle.h"
#include "golden_image.h"

// The library's resources (font atlases 1024..1027), embedded from korvex52.rc.
void* korvex_text_resources_module();

// Tests run against the library's own resources.
class TextTest : public ::testing::Test {
protected:
    void SetUp() override { afx_set_module(korvex_text_resources_module()); }
    void TearDown() override { afx_set_module(nullptr); }
};

// A font whose every code 32..126 has the same glyph, over an atlas whose
// red channel is red(x, y). Its atlas is the only resource of its own
// module: install() makes that module current.
class SyntheticFont {
public:
    SyntheticFont(int32_t atlas_width, int32_t atlas_height,
                  const std::function<uint8_t(int32_t, int32_t)>& red, const afx_glyph& glyph);
    void install() const { afx_set_module(const_cast<afx_resource_bundle*>(&bundle_)); }
    const afx_font_desc* desc() const { return &desc_; }

private:
    std::vector<uint8_t> pixdata_;
    afx_resource_entry entry_{};
    afx_resource_bundle bundle_{};
    std::vector<afx_glyph> glyphs_;
    afx_font_desc desc_{};
};

// An owned pixbuf filled with one colour.
afx_pixbuf* filled_pixbuf(uint32_t width, uint32_t height, uint32_t r, uint32_t g, uint32_t b,
                          uint32_t a = 255);
// Every pixel word of a pixbuf (red in bits 0-7, alpha in 24-31), rows top to bottom.
inline std::vector<uint32_t> pixel_words(const afx_pixbuf* p) {
    std::vector<uint32_t> out;
    for (uint32_t y = 0; y < p->height; ++y)
        for (uint32_t x = 0; x < p->width; ++x)
            out.push_back(afx_pixbuf_pixel(p, int32_t(x), int32_t(y)));
    return out;
}
