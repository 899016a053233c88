// Distance-field text: the font table, the text state's sizes and boxes, the
// threshold and sampler against independent computations, the strict clip
// box, pen advance, wrapping and the measures. Real glyphs at the reviewed
// sizes are pinned by the golden text specimen.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "afx_text_test_support.h"

namespace {

const afx_glyph& glyph(const afx_font_desc& font, char c) {
    return font.glyphs[c - kAfxFirstGlyphCode];
}

// Rows whose brightest red reaches at least half of full scale.
std::vector<int32_t> ink_rows(const afx_pixbuf* p) {
    std::vector<int32_t> rows;
    for (uint32_t y = 0; y < p->height; ++y) {
        uint32_t brightest = 0;
        for (uint32_t x = 0; x < p->width; ++x)
            brightest = std::max(brightest, red_of(afx_pixbuf_pixel(p, int32_t(x), int32_t(y))));
        if (brightest >= 128) rows.push_back(int32_t(y));
    }
    return rows;
}

// A text state at DejaVu Sans 32 px ("A" advances 22, "H" 24), released afterwards.
class TextStateTest : public TextTest {
protected:
    void SetUp() override {
        TextTest::SetUp();
        afx_text_init(&t);
        afx_text_set_size(&t, 32.0f);
    }
    void TearDown() override {
        afx_text_release(&t);
        TextTest::TearDown();
    }
    afx_text t;
};

// ---- The fonts -------------------------------------------------------------

TEST_F(TextTest, TheLibraryCarriesFourFontsWhoseAtlasesCoverTheirGlyphTables) {
    ASSERT_EQ(afx_font_count, 4);
    const char* names[] = {"DejaVu Sans", "Saira", "Michroma", "Arial Small"};
    const uint32_t bases[] = {64, 64, 64, 32};
    for (int32_t i = 0; i < afx_font_count; ++i) {
        const afx_font_desc& f = afx_fonts[i];
        EXPECT_STREQ(f.name, names[i]);
        EXPECT_EQ(f.base_size, bases[i]);
        EXPECT_EQ(f.atlas_id, 1024u + uint32_t(i));
        ASSERT_EQ(f.glyph_count, 95u);
        for (int32_t c = 32; c <= 126; ++c) ASSERT_EQ(f.glyphs[c - 32].code, c) << f.name;
        EXPECT_EQ(afx_font_find(names[i]), &f);
        // Loading checks every glyph box (and the pixel the sampler reads
        // beyond it) against the atlas: a mismatched atlas would come out null.
        afx_text t;
        afx_text_init(&t);
        afx_text_set_font(&t, &f);
        ASSERT_NE(t.atlas, nullptr) << f.name;
        EXPECT_EQ(t.font.atlas_id, f.atlas_id);
        EXPECT_EQ(t.atlas->width, f.atlas_width);
        EXPECT_EQ(t.atlas->height, f.atlas_height);
        afx_text_release(&t);
        EXPECT_EQ(t.atlas, nullptr);
    }
    EXPECT_EQ(afx_font_find("Dejavu Sans"), nullptr);
    EXPECT_EQ(afx_font_find(nullptr), nullptr);
    // The widths every caption is laid out with.
    EXPECT_EQ(glyph(afx_fonts[0], ' ').advance, 20);
    EXPECT_EQ(glyph(afx_fonts[0], 'A').advance, 44);
    EXPECT_EQ(glyph(afx_fonts[0], 'H').advance, 48);
}

TEST_F(TextTest, InitStartsWithOpaqueBlackDejaVuAtItsBaseSize) {
    afx_text t;
    std::memset(&t, 0xA5, sizeof(t));  // whatever the memory held before
    afx_text_init(&t);
    EXPECT_EQ(t.r | t.g | t.b, 0u);
    EXPECT_EQ(t.a, 255u);
    EXPECT_EQ(t.target, nullptr);
    EXPECT_EQ(t.clip_left | t.clip_bottom, 0);
    EXPECT_EQ(t.pen_x, 0.0f);
    EXPECT_EQ(t.pen_y, 0.0f);
    EXPECT_EQ(t.scale, 1.0f);
    EXPECT_EQ(t.gain, 1.25f);
    EXPECT_FLOAT_EQ(t.smoothing, 0.1f);
    EXPECT_STREQ(t.font.name, "DejaVu Sans");
    ASSERT_NE(t.atlas, nullptr);
    EXPECT_EQ(t.line_height, 64.0f);
    const float cap = float(glyph(afx_fonts[0], 'H').height);
    EXPECT_EQ(t.cap_height, cap);
    EXPECT_FLOAT_EQ(t.baseline_offset, 64.0f - (64.0f - cap) * 0.5f);
    EXPECT_FLOAT_EQ(afx_text_ascent(&t), t.baseline_offset);
    afx_text_release(&t);
}

TEST_F(TextStateTest, SizeSetsScaleAndSmoothingWidthAndLineHeightFollowsInPixels) {
    const float cap = float(glyph(afx_fonts[0], 'H').height);
    struct Case {
        float px, scale, smoothing;
    };
    // smoothing = 0.25 / (scale x 2.5)
    for (const Case c : {Case{64, 1.0f, 0.1f}, Case{32, 0.5f, 0.2f}, Case{24, 0.375f, 0.266667f},
                         Case{8, 0.125f, 0.8f}}) {
        afx_text_set_size(&t, c.px);
        EXPECT_FLOAT_EQ(t.scale, c.scale) << c.px;
        EXPECT_NEAR(t.smoothing, c.smoothing, 1e-5f) << c.px;
        EXPECT_FLOAT_EQ(afx_text_line_height(&t), c.px);  // line height stays one em
        EXPECT_FLOAT_EQ(afx_text_cap_height(&t), cap * c.scale);
    }
    afx_text_set_size(&t, 12.0f);
    afx_text_set_line_height(&t, 16.0f);
    EXPECT_FLOAT_EQ(afx_text_line_height(&t), 16.0f);
    EXPECT_FLOAT_EQ(t.line_height, 16.0f * 64.0f / 12.0f);
    // The baseline sits half the leftover line height below the capitals' top.
    EXPECT_FLOAT_EQ(afx_text_ascent(&t), 16.0f - (16.0f - cap * 12.0f / 64.0f) * 0.5f);
    afx_text_set_size(&t, 0.0f);  // not a size: ignored
    EXPECT_FLOAT_EQ(t.scale, 12.0f / 64.0f);

    // Another font: line height back to its base size, same scale.
    afx_text_set_font(&t, afx_font_find("Arial Small"));
    EXPECT_EQ(t.line_height, 32.0f);
    EXPECT_EQ(t.cap_height, float(glyph(*afx_font_find("Arial Small"), 'H').height));
    EXPECT_FLOAT_EQ(t.scale, 12.0f / 64.0f);
}

TEST_F(TextStateTest, TargetAndBoxSetClipLayoutAndTheFirstBaseline) {
    afx_pixbuf* p = filled_pixbuf(120, 80, 0, 0, 0);
    using Box = std::vector<float>;
    auto clip = [this] {
        return Box{float(t.clip_left), float(t.clip_top), float(t.clip_right),
                   float(t.clip_bottom)};
    };
    auto box = [this] { return Box{t.box_left, t.box_top, t.box_right, t.box_bottom}; };
    afx_text_set_target(&t, p);
    EXPECT_EQ(t.target, p);
    EXPECT_EQ(clip(), (Box{0, 0, 120, 80}));
    EXPECT_EQ(box(), (Box{0, 0, 120, 80}));
    afx_text_set_box(&t, 10.75f, 5.5f, 60.5f, 30.25f);
    EXPECT_EQ(box(), (Box{10.75f, 5.5f, 71.25f, 35.75f}));
    EXPECT_EQ(clip(), (Box{10, 5, 71, 35}));  // truncated
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 10.75f);
    EXPECT_FLOAT_EQ(afx_text_pen_y(&t), 5.5f + afx_text_ascent(&t));

    afx_text_move_to(&t, 50.0f, 60.0f);
    afx_text_newline(&t);
    EXPECT_EQ(afx_text_pen_x(&t), 10.75f);
    EXPECT_EQ(afx_text_pen_y(&t), 92.0f);
    afx_pixbuf_free(nullptr, p);
}

// ---- Threshold and sampler ---------------------------------------------------

// Coverage 0..1 of a distance sample (red byte, 0..255) at a smoothing width:
// the edge where red x 1.25 is half of full scale, a smoothstep over +-width.
double expected_coverage(double red, double smoothing) {
    const double x = red * 256.0 * 1.25 / 65536.0;  // d x gain as a fraction of full scale
    const double t = std::clamp((x - 0.5 + smoothing) / (2.0 * smoothing), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// A channel drawn in white over black, against 255 x the exact coverage. The
// coverage's 8 bits, the text alpha and the blend each truncate, losing less
// than one step apiece; the blend's alpha 255 itself gives 254/256. The
// smoothing width's 16 bits make the band a hair narrower: up to a step more.
::testing::AssertionResult drawn_as(uint32_t channel, double coverage) {
    const double exact = 255.0 * coverage * 254.0 / 256.0;
    if (channel <= exact + 1.2 && channel >= exact - 3.2) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "channel " << channel << " for an exact " << exact;
}

TEST_F(TextTest, ThresholdPutsTheEdgeAtHalfScaleAndSoftensItOverTheSmoothingWidth) {
    const afx_glyph square = {0, 1, 1, 10, 10, 0, 10, 12};
    for (const float px : {64.0f, 32.0f, 8.0f}) {
        for (int red = 0; red < 256; ++red) {
            SyntheticFont font(
                16, 16, [red](int32_t, int32_t) { return uint8_t(red); }, square);
            font.install();
            afx_pixbuf* p = filled_pixbuf(32, 32, 0, 0, 0, 200);
            afx_text t;
            afx_text_init(&t);
            afx_text_set_font(&t, font.desc());
            ASSERT_NE(t.atlas, nullptr);
            afx_text_set_size(&t, px);
            afx_set_colour(&t, 255, 255, 255, 255);
            afx_text_set_target(&t, p);
            afx_text_move_to(&t, 8.0f, 20.0f);
            afx_text_draw(&t, "#");
            const uint32_t inside = afx_pixbuf_pixel(p, 8, 19);
            const double cov = expected_coverage(red, 0.25 / (px / 64.0 * 2.5));
            // 255 x coverage, through alpha = (255 x (c >> 8)) >> 8 and the blend's >> 8.
            EXPECT_TRUE(drawn_as(red_of(inside), cov)) << px << " px, red " << red;
            EXPECT_EQ(alpha_of(inside), 200u);  // the pixel's alpha stays
            if (px == 64.0f && red <= 81) {
                EXPECT_EQ(inside, 0xC8000000u) << red;  // below 0.5 - 0.1: nothing
            }
            if (px == 64.0f && red >= 123) {
                EXPECT_EQ(red_of(inside), 253u) << red;  // above 0.5 + 0.1: full
            }
            EXPECT_EQ(afx_pixbuf_pixel(p, 7, 19), 0xC8000000u);  // left of the glyph box
            afx_text_release(&t);
            afx_pixbuf_free(nullptr, p);
        }
    }
}

TEST_F(TextTest, SamplerInterpolatesTheAtlasBilinearlyAtPenRelativePositions) {
    // Ramps across the threshold's soft band, along x and along y.
    const afx_glyph box = {0, 1, 2, 12, 12, 0, 12, 12};
    for (const bool along_x : {true, false}) {
        auto red = [along_x](int32_t x, int32_t y) { return uint8_t(70 + 4 * (along_x ? x : y)); };
        SyntheticFont font(16, 16, red, box);
        font.install();
        for (const float px : {64.0f, 160.0f, 224.0f}) {  // scale 1, 2.5, 3.5
            afx_pixbuf* p = filled_pixbuf(64, 64, 0, 0, 0);
            afx_text t;
            afx_text_init(&t);
            afx_text_set_font(&t, font.desc());
            afx_text_set_size(&t, px);
            afx_set_colour(&t, 255, 255, 255, 255);
            afx_text_set_target(&t, p);
            const float pen_x = 3.3f, pen_y = 3.6f + 12.0f * t.scale;
            afx_text_move_to(&t, pen_x, pen_y);
            afx_text_draw(&t, "x");
            const double s = t.scale, top = pen_y - 12.0 * s;
            for (int y = 4; y < 3.6 + 12 * s; ++y) {
                for (int x = 4; x < 3.3 + 12 * s; ++x) {
                    // Pixel (x, y) samples the atlas at ((x, y) - box corner) / scale,
                    // no further than half a pixel inside the box's far edge.
                    const double u = std::clamp((along_x ? x - pen_x : y - top) / s, 0.0, 11.5);
                    const double first = along_x ? 1 : 2;
                    const double sample =
                        red(int32_t(first + std::floor(u)), int32_t(first + std::floor(u))) +
                        4.0 * (u - std::floor(u));
                    const double cov = expected_coverage(sample, t.smoothing);
                    EXPECT_TRUE(drawn_as(red_of(afx_pixbuf_pixel(p, x, y)), cov))
                        << (along_x ? "x ramp " : "y ramp ") << px << " px at " << x << "," << y;
                }
            }
            afx_text_release(&t);
            afx_pixbuf_free(nullptr, p);
        }
    }
}

TEST_F(TextTest, CapitalsStandOnTheBaselineWithTheFontsCapHeight) {
    // DejaVu Sans capitals are 1493/2048 em tall: the atlas's edge value, the
    // gain and the threshold together must neither fatten nor thin them.
    for (const float px : {64.0f, 48.0f, 24.0f}) {
        afx_pixbuf* p = filled_pixbuf(100, 120, 0, 0, 0);
        afx_text t;
        afx_text_init(&t);
        afx_text_set_size(&t, px);
        afx_set_colour(&t, 255, 255, 255, 255);
        afx_text_set_target(&t, p);
        afx_text_move_to(&t, 10.0f, 100.0f);
        afx_text_draw(&t, "H");
        const std::vector<int32_t> rows = ink_rows(p);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.back(), 99) << px;  // on the baseline, nothing below it
        EXPECT_NEAR(double(rows.size()), 1493.0 / 2048.0 * px, 1.0) << px;
        EXPECT_EQ(rows.back() - rows.front() + 1, int32_t(rows.size())) << px;  // one solid stem
        afx_text_release(&t);
        afx_pixbuf_free(nullptr, p);
    }
}

// ---- Clip box and pen ----------------------------------------------------------

TEST_F(TextStateTest, PixelsAreWrittenOnlyStrictlyInsideTheClipBox) {
    // One solid 40 x 40 glyph box over a 48 x 48 target.
    SyntheticFont font(
        16, 16, [](int32_t, int32_t) { return uint8_t(255); },
        afx_glyph{0, 1, 1, 10, 10, 0, 10, 12});
    font.install();
    afx_pixbuf* p = filled_pixbuf(48, 48, 0, 0, 0);
    afx_text_set_font(&t, font.desc());
    afx_text_set_size(&t, 256.0f);
    afx_set_colour(&t, 255, 255, 255, 255);
    afx_text_set_target(&t, p);
    afx_text_set_box(&t, 10.7f, 20.2f, 30.0f, 15.0f);  // clip box 10..40 x 20..35
    afx_text_move_to(&t, 5.0f, 45.0f);
    afx_text_draw(&t, "#");
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const bool inside = 10 < x && x < 40 && 20 < y && y < 35;
            ASSERT_EQ(afx_pixbuf_pixel(p, x, y), inside ? 0xFFFDFDFDu : 0xFF000000u)
                << x << "," << y;
        }
    }
    // The whole target as clip box: its left column and top row stay too.
    afx_text_set_target(&t, p);
    afx_text_move_to(&t, -20.0f, 20.0f);
    afx_text_draw(&t, "#");
    EXPECT_EQ(afx_pixbuf_pixel(p, 0, 5), 0xFF000000u);
    EXPECT_EQ(afx_pixbuf_pixel(p, 5, 0), 0xFF000000u);
    EXPECT_EQ(afx_pixbuf_pixel(p, 1, 1), 0xFFFDFDFDu);
    EXPECT_EQ(afx_pixbuf_pixel(p, 19, 19), 0xFFFDFDFDu);
    EXPECT_EQ(afx_pixbuf_pixel(p, 20, 19), 0xFF000000u);
    // A clip box beyond the target writes nothing outside it (the sanitizer
    // build watches the margin).
    afx_text_set_box(&t, -100.0f, -100.0f, 400.0f, 400.0f);
    afx_text_move_to(&t, 30.0f, 60.0f);
    afx_text_draw(&t, "#");
    EXPECT_EQ(afx_pixbuf_pixel(p, 47, 47), 0xFFFDFDFDu);
    afx_pixbuf_free(nullptr, p);
}

TEST_F(TextStateTest, PenAdvancesByEveryGlyphsAdvanceEvenWhenNothingIsDrawn) {
    afx_text_move_to(&t, 10.0f, 40.0f);
    afx_text_draw(&t, "A");  // no target: nothing drawn, the pen still moves
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 10.0f + 22.0f);
    afx_text_draw(&t, "  ");  // empty glyph boxes
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 32.0f + 20.0f);
    afx_text_draw(&t, "\t\x7f\x80\xff");  // no glyphs: no advance
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 52.0f);
    EXPECT_FLOAT_EQ(afx_text_pen_y(&t), 40.0f);
    afx_text_draw(&t, "H\nA");  // a newline goes back to the layout box's left edge
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 0.0f + 22.0f);
    EXPECT_FLOAT_EQ(afx_text_pen_y(&t), 40.0f + 32.0f);

    EXPECT_FLOAT_EQ(afx_text_char_width(&t, 'H'), 24.0f);
    for (const int c : {int('\n'), 31, 127, 200}) EXPECT_EQ(afx_text_char_width(&t, c), 0.0f) << c;

    // A glyph entirely outside the target still advances the pen.
    afx_pixbuf* p = filled_pixbuf(16, 16, 0, 0, 0);
    afx_text_set_target(&t, p);
    afx_text_move_to(&t, 500.0f, -300.0f);
    afx_text_draw(&t, "HA");
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 546.0f);
    afx_text_move_to(&t, 3.0e9f, 10.0f);  // beyond any pixel index
    afx_text_draw(&t, "H");
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 3.0e9f + 24.0f);
    afx_text_move_to(&t, 8.0f, std::nanf(""));
    afx_text_draw(&t, "H");
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 8.0f + 24.0f);
    EXPECT_TRUE(all_pixels(p, 0xFF000000u));
    afx_pixbuf_free(nullptr, p);
}

TEST_F(TextTest, AFontWhoseAtlasDoesNotLoadDrawsNothingButStillLaysOut) {
    afx_font_desc missing = afx_fonts[0];
    missing.atlas_id = 4242;
    afx_pixbuf* p = filled_pixbuf(64, 64, 10, 20, 30);
    afx_text t;
    afx_text_init(&t);
    afx_text_set_font(&t, &missing);
    EXPECT_EQ(t.atlas, nullptr);
    afx_set_colour(&t, 255, 255, 255, 255);
    afx_text_set_target(&t, p);
    afx_text_move_to(&t, 4.0f, 50.0f);
    afx_text_draw(&t, "AH");
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 4.0f + 44.0f + 48.0f);
    EXPECT_TRUE(all_pixels(p, 0xFF1E140Au));
    EXPECT_FLOAT_EQ(afx_text_width(&t, "AH"), 92.0f);

    // An atlas smaller than the glyph boxes (and the pixel the sampler reads
    // beyond them) is refused rather than read past its end.
    SyntheticFont small(
        11, 12, [](int32_t, int32_t) { return uint8_t(255); },
        afx_glyph{0, 1, 1, 10, 10, 0, 10, 12});
    small.install();
    afx_text_set_font(&t, small.desc());
    EXPECT_EQ(t.atlas, nullptr);
    SyntheticFont exact(
        12, 12, [](int32_t, int32_t) { return uint8_t(255); },
        afx_glyph{0, 1, 1, 10, 10, 0, 10, 12});
    exact.install();
    afx_text_set_font(&t, exact.desc());
    EXPECT_NE(t.atlas, nullptr);
    afx_text_release(&t);
    afx_pixbuf_free(nullptr, p);
}

// ---- Wrapping and measures ---------------------------------------------------------

TEST_F(TextStateTest, PrintfMovesAnOverflowingCharacterToTheNextLineAndDrawsItThere) {
    afx_pixbuf* wrapped = filled_pixbuf(200, 100, 0, 0, 0);
    afx_pixbuf* expected = filled_pixbuf(200, 100, 0, 0, 0);
    afx_set_colour(&t, 255, 255, 255, 255);
    afx_text_set_target(&t, wrapped);
    afx_text_set_box(&t, 10.0f, 5.0f, 70.0f, 90.0f);
    const float first_baseline = afx_text_pen_y(&t);
    afx_text_printf(&t, "%s", "AAAA");  // the fourth would end at 98, past 80
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 10.0f + 22.0f);
    EXPECT_FLOAT_EQ(afx_text_pen_y(&t), first_baseline + 32.0f);

    afx_text_set_target(&t, expected);
    afx_text_set_box(&t, 10.0f, 5.0f, 70.0f, 90.0f);
    afx_text_draw(&t, "AAA");
    afx_text_move_to(&t, 10.0f, first_baseline + 32.0f);
    afx_text_draw(&t, "A");
    EXPECT_TRUE(same_pixels(wrapped, expected));

    // Newlines in the format, and formatted arguments.
    afx_text_set_target(&t, wrapped);
    afx_text_set_box(&t, 10.0f, 5.0f, 70.0f, 90.0f);
    afx_text_printf(&t, "%d\n%c", 7, 'H');
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 10.0f + 24.0f);
    EXPECT_FLOAT_EQ(afx_text_pen_y(&t), first_baseline + 32.0f);

    // A character wider than the whole box breaks even the empty first line:
    // each "A" (22 wide in a 15-wide box) goes on a line of its own below it.
    for (afx_pixbuf* p : {wrapped, expected}) afx_pixbuf_fill(nullptr, p, 0, 0, 0, 255);
    afx_text_set_target(&t, wrapped);
    afx_text_set_box(&t, 10.0f, 5.0f, 15.0f, 90.0f);
    afx_text_printf(&t, "AA");
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 10.0f + 22.0f);
    EXPECT_FLOAT_EQ(afx_text_pen_y(&t), first_baseline + 64.0f);
    afx_text_set_target(&t, expected);
    afx_text_set_box(&t, 10.0f, 5.0f, 15.0f, 90.0f);
    for (const float line : {1.0f, 2.0f}) {
        afx_text_move_to(&t, 10.0f, first_baseline + 32.0f * line);
        afx_text_draw(&t, "A");
    }
    EXPECT_TRUE(same_pixels(wrapped, expected));

    // Longer than any in-place buffer: every character still arrives.
    afx_text_set_box(&t, 0.0f, 0.0f, 1.0e6f, 90.0f);
    const std::string longer(3000, 'i');
    afx_text_printf(&t, "%s", longer.c_str());
    EXPECT_NEAR(afx_text_pen_x(&t), 3000.0 * glyph(afx_fonts[0], 'i').advance * 0.5, 0.01);
    afx_pixbuf_free(nullptr, wrapped);
    afx_pixbuf_free(nullptr, expected);
}

TEST_F(TextStateTest, WidthIsTheLastLinesAndANewlineAlsoMovesThePen) {
    EXPECT_FLOAT_EQ(afx_text_width(&t, "AH"), 46.0f);
    EXPECT_FLOAT_EQ(afx_text_width(&t, "A\x01H\x7f"), 46.0f);  // no glyph, no width
    EXPECT_FLOAT_EQ(afx_text_width(&t, ""), 0.0f);
    afx_text_move_to(&t, 70.0f, 40.0f);
    EXPECT_FLOAT_EQ(afx_text_width(&t, "HHHH\nA A"), 54.0f);
    EXPECT_FLOAT_EQ(afx_text_pen_x(&t), 0.0f);
    EXPECT_FLOAT_EQ(afx_text_pen_y(&t), 72.0f);
}

TEST_F(TextStateTest, MeasureBoxSkipsLinkMarkersCountsLinesAndKeepsToItsLimits) {
    afx_text_set_line_height(&t, 20.0f);
    struct Case {
        float max_w, max_h;
        const char* text;
        int32_t w, h;
    } cases[] = {
        {500, 500, "<a>AH</a>", 46, 20},
        {500, 500, "A<a>H</a>\nH\n", 46, 60},  // three lines, the last one empty
        // "AA" fits in 50; the third "A" ends the line and is not counted; the fourth starts line
        // two.
        {50, 500, "AAAA", 44, 40},
        {30, 500, "AAAA", 22, 60},
        {500, 50, "A\nA\nA\nAHA", 68, 50},  // 80 limited to 50
    };
    int32_t w = -1, h = -1;
    for (const Case& c : cases) {
        afx_text_measure_box(&t, &w, &h, c.max_w, c.max_h, "%s", c.text);
        EXPECT_EQ(w, c.w) << c.text;
        EXPECT_EQ(h, c.h) << c.text;
    }
    afx_text_measure_box(&t, &w, &h, 500.0f, 500.0f, "<b>");
    EXPECT_EQ(w, int32_t(std::ceil(afx_text_width(&t, "<b>"))));  // other tags are text
    afx_text_measure_box(&t, &w, &h, 40.5f, 500.0f, "HH");  // 48 > 40.5: the second H ends the line
    EXPECT_EQ(w, 24);
    // Fractional advances are summed, then rounded up.
    afx_text_set_size(&t, 13.0f);
    afx_text_measure_box(&t, &w, &h, 500.0f, 500.0f, "AAA");
    EXPECT_EQ(w, 27);  // 3 x 44 x 13 / 64 = 26.8
    afx_text_measure_box(&t, &w, &h, 20.4f, 500.0f, "%s", "");
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, int32_t(std::ceil(afx_text_line_height(&t))));
}

}  // namespace
