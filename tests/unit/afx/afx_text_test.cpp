// Distance-field text against independent computations; the real glyphs
// are pinned by the golden text specimen.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "afx/afx_text.h"
#include "afx/platform/afx_resource_bundle.h"
#include "afx_test_support.h"
#include "golden_image.h"

void* korvex_text_resources_module();  // the font atlases, from korvex52.rc

namespace {

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

// Coverage 0..1 of a distance sample (red, 0..255) at a smoothing width: the
// edge where red x 1.25 is half of full scale, a smoothstep over +-width.
double coverage(double red, double smoothing) {
    const double x = red * 256.0 * 1.25 / 65536.0;
    const double t = std::clamp((x - 0.5 + smoothing) / (2.0 * smoothing), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

TEST_F(TextTest, GlyphsSampleTheAtlasBilinearlyAndThresholdItSmoothly) {
    // The atlas is the plane red = 2x + 3y, so bilinear sampling gives the
    // plane itself and the glyph's samples run from 5 to 230, across the
    // edge. Drawn white over black (alpha 200) at a fractional pen.
    SyntheticFont font(
        48, 48, [](int32_t x, int32_t y) { return uint8_t(2 * x + 3 * y); },
        afx_glyph{0, 1, 1, 44, 44, 0, 44, 50});
    font.install();
    for (const float px : {8.0f, 24.0f, 64.0f, 160.0f, 224.0f}) {
        afx_pixbuf* p = filled_pixbuf(180, 180, 0, 0, 0, 200);
        afx_text t;
        afx_text_init(&t);
        afx_text_set_font(&t, font.desc());
        ASSERT_NE(t.atlas, nullptr);
        afx_text_set_size(&t, px);
        afx_set_colour(&t, 255, 255, 255, 255);
        afx_text_set_target(&t, p);
        const double s = px / 64.0, left = 3.3, top = 3.6;
        afx_text_move_to(&t, float(left), float(top + 44.0 * s));
        afx_text_draw(&t, "#");
        for (int y = 0; y < 180; ++y) {
            for (int x = 0; x < 180; ++x) {
                const uint32_t word = afx_pixbuf_pixel(p, x, y);
                ASSERT_EQ(word >> 24, 200u);  // the pixel's alpha stays
                if (x < 3 || y < 3 || x >= left + 44 * s || y >= top + 44 * s) {
                    ASSERT_EQ(word, 0xC8000000u) << x << "," << y;  // outside the glyph box
                    continue;
                }
                // Pixel (x, y) samples the atlas at ((x, y) - box corner) / scale,
                // no further than half a pixel inside the box's far edge.
                const double u = 1 + std::clamp((x - left) / s, 0.0, 43.5);
                const double v = 1 + std::clamp((y - top) / s, 0.0, 43.5);
                // 255 x coverage through the alpha (255 x (c >> 8)) >> 8 and the
                // blend's >> 8 (alpha 255 gives 254/256): each truncation and
                // the smoothing's 16 bits lose up to a step.
                const double exact = 255.0 * coverage(2 * u + 3 * v, t.smoothing) * 254.0 / 256.0;
                ASSERT_NEAR(double(word & 255), exact - 1.0, 2.2)
                    << px << " px at " << x << "," << y;
            }
        }
        afx_text_release(&t);
        afx_pixbuf_free(nullptr, p);
    }
}

TEST_F(TextTest, PixelsAreWrittenOnlyStrictlyInsideTheClipBox) {
    // One solid 40 x 40 glyph box over a 48 x 48 target.
    SyntheticFont font(
        12, 12, [](int32_t, int32_t) { return uint8_t(255); },
        afx_glyph{0, 1, 1, 10, 10, 0, 10, 12});
    font.install();
    afx_pixbuf* p = filled_pixbuf(48, 48, 0, 0, 0);
    afx_text_set_font(&t, font.desc());
    afx_text_set_size(&t, 256.0f);
    struct Case {
        float x, y, w, h;  // the layout box; the clip box is its truncation
        int pen_x, pen_y;
    } cases[] = {{10.7f, 20.2f, 30, 15, 5, 45},    // clip box 10..40 x 20..35
                 {0, 0, 48, 48, -20, 20},          // the target's left column and top row stay
                 {-100, -100, 400, 400, 30, 60}};  // beyond the target: cut at it
    for (const Case& c : cases) {
        afx_pixbuf_fill(nullptr, p, 0, 0, 0, 255);
        afx_text_set_target(&t, p);
        afx_text_set_box(&t, c.x, c.y, c.w, c.h);
        afx_text_move_to(&t, float(c.pen_x), float(c.pen_y));
        afx_text_draw(&t, "#");
        std::vector<uint32_t> want;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                const bool glyph =
                    x >= c.pen_x && x < c.pen_x + 40 && y >= c.pen_y - 40 && y < c.pen_y;
                const bool inside =
                    int(c.x) < x && x < int(c.x + c.w) && int(c.y) < y && y < int(c.y + c.h);
                want.push_back(glyph && inside ? 0xFFFDFDFDu : 0xFF000000u);
            }
        EXPECT_EQ(pixel_words(p), want) << c.x;
    }
    afx_pixbuf_free(nullptr, p);
}

TEST_F(TextTest, PenAdvancesByEveryGlyphsAdvanceEvenWhenNothingIsDrawn) {
    afx_text_move_to(&t, 10.0f, 40.0f);
    afx_text_draw(&t, "A  \t\x7f\x80\xff");  // no target; spaces advance, codes without glyphs not
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 10.0f + 22.0f + 20.0f);
    afx_text_draw(&t, "H\nA");  // a newline goes back to the layout box's left edge
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 22.0f);
    EXPECT_FLOAT_EQ(afx_text_pen_y(&t), 40.0f + 32.0f);
    EXPECT_FLOAT_EQ(afx_text_char_width(&t, 'H'), 24.0f);
    for (const int c : {int('\n'), 31, 127, 200}) EXPECT_EQ(afx_text_char_width(&t, c), 0.0f) << c;
    afx_pixbuf* p = filled_pixbuf(16, 16, 0, 0, 0);
    afx_text_set_target(&t, p);
    afx_text_set_box(&t, 10.75f, 5.5f, 60.5f, 30.25f);  // a box puts the pen on its first baseline
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 10.75f);
    EXPECT_FLOAT_EQ(afx_text_pen_y(&t), 5.5f + afx_text_ascent(&t));
    afx_text_move_to(&t, 3.0e9f, std::nanf(""));  // beyond any pixel index or at no place
    afx_text_draw(&t, "HA");
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 3.0e9f + 46.0f);
    afx_pixbuf_free(nullptr, p);
    // An atlas smaller than the glyph boxes and the pixel the sampler reads
    // beyond them is refused rather than read past its end.
    for (const int32_t width : {11, 12}) {
        SyntheticFont font(
            width, 12, [](int32_t, int32_t) { return uint8_t(255); },
            afx_glyph{0, 1, 1, 10, 10, 0, 10, 12});
        font.install();
        afx_text_set_font(&t, font.desc());
        EXPECT_EQ(t.atlas != nullptr, width == 12) << width;
    }
}

TEST_F(TextTest, PrintfMovesAnOverflowingCharacterToTheNextLineAndDrawsItThere) {
    // "AAAA" in 70 pixels: the fourth would end at 98, past 80. "AA" in 15: each
    // "A" (22 wide) breaks even the empty first line and goes on a line of its own.
    struct Case {
        float width;
        const char* text;
        int lines[4];  // the line of each character
    } cases[] = {{70, "AAAA", {0, 0, 0, 1}}, {15, "AA", {1, 2}}};
    afx_pixbuf* wrapped = filled_pixbuf(200, 120, 0, 0, 0);
    afx_pixbuf* expected = filled_pixbuf(200, 120, 0, 0, 0);
    for (const Case& c : cases) {
        for (afx_pixbuf* p : {wrapped, expected}) afx_pixbuf_fill(nullptr, p, 0, 0, 0, 255);
        afx_text_set_target(&t, wrapped);
        afx_text_set_box(&t, 10.0f, 5.0f, c.width, 110.0f);
        const float first = afx_text_pen_y(&t);
        afx_text_printf(&t, "%s", c.text);
        const int n = int(std::strlen(c.text)), last = c.lines[n - 1];
        EXPECT_FLOAT_EQ(afx_text_pen_y(&t), first + 32.0f * float(last));
        afx_text_set_target(&t, expected);
        afx_text_set_box(&t, 10.0f, 5.0f, c.width, 110.0f);
        for (int i = 0; i < n; ++i) {
            const int before = int(std::count(c.lines, c.lines + i, c.lines[i]));
            afx_text_move_to(&t, 10.0f + 22.0f * float(before), first + 32.0f * float(c.lines[i]));
            afx_text_draw(&t, "A");
        }
        EXPECT_TRUE(
            golden_compare("afx-text-wrap", golden_picture(expected), golden_picture(wrapped)));
    }
    // More than any in-place buffer.
    afx_text_set_box(&t, 0.0f, 0.0f, 1.0e6f, 90.0f);
    afx_text_printf(&t, "%s", std::string(3000, 'i').c_str());
    EXPECT_NEAR(afx_text_pen_x(&t),
                3000.0 * afx_fonts[0].glyphs['i' - kAfxFirstGlyphCode].advance * 0.5, 0.01);
    afx_pixbuf_free(nullptr, wrapped);
    afx_pixbuf_free(nullptr, expected);
}

TEST_F(TextTest, MeasuresSkipLinkMarkersCountLinesAndKeepToTheirLimits) {
    EXPECT_FLOAT_EQ(afx_text_width(&t, "A\x01H\x7f"), 46.0f);  // no glyph, no width
    afx_text_move_to(&t, 70.0f, 40.0f);
    EXPECT_FLOAT_EQ(afx_text_width(&t, "HHHH\nA A"), 54.0f);  // the last line's
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 0.0f);                // and the newline moved the pen
    EXPECT_FLOAT_EQ(afx_text_pen_y(&t), 72.0f);
    afx_text_set_line_height(&t, 20.0f);
    struct Case {
        float size, max_w, max_h;
        const char* text;
        int32_t w, h;
    } cases[] = {
        {32, 500, 500, "<a>AH</a>", 46, 20},
        {32, 500, 500, "A<a>H</a>\nH\n", 46, 60},  // three lines, the last one empty
        // "AA" fits in 50; the third "A" ends the line uncounted; the fourth starts line two.
        {32, 50, 500, "AAAA", 44, 40},
        {32, 500, 50, "A\nA\nA\nAHA", 68, 50},  // 80 limited to 50
        {32, 40.5f, 500, "HH", 24, 40},         // 48 > 40.5: the second H ends the line
        {13, 500, 500, "AAA", 27, 9},           // 3 x 44 x 13 / 64 = 26.8, rounded up
    };
    for (const Case& c : cases) {
        afx_text_set_size(&t, c.size);
        afx_text_set_line_height(&t, c.size == 32 ? 20.0f : 8.125f);
        int32_t w = -1, h = -1;
        afx_text_measure_box(&t, &w, &h, c.max_w, c.max_h, "%s", c.text);
        EXPECT_EQ(w, c.w) << c.text;
        EXPECT_EQ(h, c.h) << c.text;
    }
}

}  // namespace
