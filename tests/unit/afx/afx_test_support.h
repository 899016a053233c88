// Shared set-up of the toolkit tests: a context over the in-memory backend
// with the library's class names, the test resources and a host window; the
// text tests' resources and synthetic fonts; pixbufs as words.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_text.h"
#include "afx/afx_window.h"
#include "afx/platform/afx_platform.h"
#include "afx/platform/afx_resource_bundle.h"
#include "afx/platform/headless/afx_headless.h"

void* korvex_afx_test_resources_module();  // embedded from afx-test.rc
void* korvex_text_resources_module();      // the font atlases, from korvex52.rc

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        afx_headless_reset();
        afx_set_module(korvex_afx_test_resources_module());
        ctx = afx_context_get(true);
        ASSERT_NE(ctx, nullptr);
        afx_set_class_base(ctx, "27D706069AC8");
        // The host's window: a top-level window of some other class.
        afxp_class_register(nullptr, "host", AFXP_CLASS_SPLASH);
        parent = afxp_window_create(nullptr, "host", AFXP_CLASS_SPLASH, 0, 0, 800, 600, nullptr);
    }
    void TearDown() override {
        afx_destroy_all(ctx);
        afx_context_release(ctx);
        afx_context_free(ctx);
        afx_set_module(nullptr);
    }
    int32_t newChild(int32_t width = 364, int32_t height = 538, float scale = 1.0f) {
        return afx_window_new(ctx, width, height, scale, parent, &userTag);
    }
    void* handle(int32_t index) { return afx_window_handle(ctx, index); }
    afx_headless_window* window(int32_t index) { return afx_headless_find(handle(index)); }

    afx_context* ctx = nullptr;
    void* parent = nullptr;
    int userTag = 0;
};

// Over the library's own resources, a text state at DejaVu Sans 32 px, white
// ("A" advances 22, "H" 24).
class TextTest : public ::testing::Test {
protected:
    void SetUp() override {
        afx_set_module(korvex_text_resources_module());
        afx_text_init(&t);
        afx_text_set_size(&t, 32.0f);
        afx_set_colour(&t, 255, 255, 255, 255);
    }
    void TearDown() override {
        afx_text_release(&t);
        afx_set_module(nullptr);
    }
    afx_text t;
};

// A font whose every code 32..126 has the same glyph, over an atlas whose red
// channel is red(x, y): the only resource of its own module, made current by install().
class SyntheticFont {
public:
    SyntheticFont(int32_t width, int32_t height,
                  const std::function<uint8_t(int32_t, int32_t)>& red, const afx_glyph& glyph) {
        // Pixel data: "GdkP", length, raw RGBA, stride, width, height (big-endian), rows.
        const uint32_t stride = uint32_t(width) * 4u;
        for (const uint32_t v : {0x47646B50u, 24u + stride * uint32_t(height), 0x01010002u, stride,
                                 uint32_t(width), uint32_t(height)})
            for (int shift = 24; shift >= 0; shift -= 8) pixdata_.push_back(uint8_t(v >> shift));
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                pixdata_.insert(pixdata_.end(), {red(x, y), 0, 0, 255});
        entry_ = {AFX_RESOURCE_BINARY, 5000, pixdata_.data(), pixdata_.data() + pixdata_.size()};
        bundle_ = {&entry_, 1};
        for (int32_t c = kAfxFirstGlyphCode; c <= kAfxLastGlyphCode; ++c) {
            glyphs_.push_back(glyph);
            glyphs_.back().code = c;
        }
        desc_ = {
            "Synthetic",    64,   0, 0, uint32_t(width), uint32_t(height), uint32_t(glyphs_.size()),
            glyphs_.data(), 5000, 0};
    }
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
inline afx_pixbuf* filled_pixbuf(uint32_t width, uint32_t height, uint32_t r, uint32_t g,
                                 uint32_t b, uint32_t a = 255) {
    afx_pixbuf* p = afx_pixbuf_new(nullptr, width, height);
    afx_pixbuf_fill(nullptr, p, r, g, b, a);
    return p;
}
// Every pixel word of a pixbuf (red in bits 0-7, alpha in 24-31), rows top to bottom.
inline std::vector<uint32_t> pixel_words(const afx_pixbuf* p) {
    std::vector<uint32_t> out;
    for (uint32_t y = 0; y < p->height; ++y)
        for (uint32_t x = 0; x < p->width; ++x)
            out.push_back(afx_pixbuf_pixel(p, int32_t(x), int32_t(y)));
    return out;
}
