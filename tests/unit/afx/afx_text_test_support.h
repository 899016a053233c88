// Shared pieces of the text tests: the library's resources (the real font
// atlases), synthetic fonts over atlases a test paints itself, and pixbuf helpers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_text.h"
#include "afx/platform/afx_resource_bundle.h"

// The library's resources (font atlases 1024..1027), embedded from korvex52.rc.
void* korvex_text_resources_module();

// Tests run against the library's own resources.
class TextTest : public ::testing::Test {
protected:
    void SetUp() override { afx_set_module(korvex_text_resources_module()); }
    void TearDown() override { afx_set_module(nullptr); }
};

// A font whose every code 32..126 has the same glyph, over an atlas painted
// by red(x, y). Its atlas is the only resource of its own module: install()
// makes that module current.
class SyntheticFont {
public:
    static constexpr uint32_t kAtlasId = 5000;
    SyntheticFont(int32_t atlas_width, int32_t atlas_height,
                  const std::function<uint8_t(int32_t, int32_t)>& red, const afx_glyph& glyph,
                  uint32_t base_size = 64);
    void install() const { afx_set_module(const_cast<afx_resource_bundle*>(&bundle_)); }
    const afx_font_desc* desc() const { return &desc_; }

private:
    std::vector<uint8_t> pixdata_;
    afx_resource_entry entry_{};
    afx_resource_bundle bundle_{};
    std::vector<afx_glyph> glyphs_;
    afx_font_desc desc_{};
};

// A pixel-data image (24-byte big-endian header, RGBA rows).
std::vector<uint8_t> make_pixdata(int32_t width, int32_t height,
                                  const std::function<uint32_t(int32_t, int32_t)>& rgba);

// An owned pixbuf filled with one colour.
afx_pixbuf* filled_pixbuf(uint32_t width, uint32_t height, uint32_t r, uint32_t g, uint32_t b,
                          uint32_t a = 255);

// Whether two pixbufs of one size hold the same pixels; whether every pixel is word.
bool same_pixels(const afx_pixbuf* a, const afx_pixbuf* b);
bool all_pixels(const afx_pixbuf* p, uint32_t word);

// Channels of a pixel word (red in bits 0-7).
inline uint32_t red_of(uint32_t word) { return word & 255u; }
inline uint32_t green_of(uint32_t word) { return (word >> 8) & 255u; }
inline uint32_t blue_of(uint32_t word) { return (word >> 16) & 255u; }
inline uint32_t alpha_of(uint32_t word) { return word >> 24; }
