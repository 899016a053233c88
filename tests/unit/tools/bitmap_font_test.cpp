// The committed bitmap font, compiled as the library compiles it: record
// layout, the glyphs the read-out relies on, and metrics that fit its strip.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

#include "resources/fonts/bitmap-font.inc"

struct Glyph {
    int width, height, advance, reserved, xOffset, yOffset;
    const unsigned char* coverage;
};

Glyph glyph(int code) {
    const unsigned char* r = kBitmapFontRecords + kBitmapFontOffsets[code];
    return {r[0], r[1], r[2], r[3], static_cast<signed char>(r[4]), static_cast<signed char>(r[5]),
            r + 6};
}

TEST(BitmapFont, RecordsLieBackToBackWithTheirCoverageBytes) {
    size_t expected = 0;
    for (int code = 0; code < 256; ++code) {
        ASSERT_EQ(expected, kBitmapFontOffsets[code]) << "code " << code;
        const Glyph g = glyph(code);
        EXPECT_EQ(0, g.reserved) << "code " << code;
        expected += 6 + size_t(g.width) * size_t(g.height);
    }
    EXPECT_EQ(sizeof(kBitmapFontRecords), expected);
}

// Control codes 0..31 and 127 show a 6 x 12 box; the space is empty with
// advance 3; "A" is 8 x 9 with advance 7, standing on the baseline.
TEST(BitmapFont, ControlBoxSpaceAndCapitalAHaveTheirSizes) {
    for (int code : {0, 1, 9, 10, 13, 27, 31, 127}) {
        const Glyph g = glyph(code);
        EXPECT_EQ(6, g.width) << "code " << code;
        EXPECT_EQ(12, g.height) << "code " << code;
        int edge = 0, inner = 0;
        for (int y = 0; y < g.height; ++y) {
            for (int x = 0; x < g.width; ++x) {
                const bool onEdge = x == 0 || y == 0 || x == 5 || y == 11;
                (onEdge ? edge : inner) += g.coverage[y * g.width + x];
            }
        }
        EXPECT_EQ(255 * 32, edge) << "code " << code << ": an outlined box";
        EXPECT_EQ(0, inner) << "code " << code;
    }
    const Glyph space = glyph(' ');
    EXPECT_EQ(0, space.width * space.height);
    EXPECT_EQ(3, space.advance);
    const Glyph a = glyph('A');
    EXPECT_EQ(8, a.width);
    EXPECT_EQ(9, a.height);
    EXPECT_EQ(7, a.advance);
    EXPECT_EQ(9, a.yOffset) << "the bottom row sits directly above the baseline";
}

// Every printable character has ink and a bitmap of its own, descenders
// reach below the baseline and capitals do not.
TEST(BitmapFont, PrintableGlyphsAreDistinctAndSitOnTheBaseline) {
    std::set<std::string> shapes;
    for (int code = 33; code < 127; ++code) {
        const Glyph g = glyph(code);
        const std::string shape =
            std::to_string(g.width) + "x" + std::to_string(g.height) + ":" +
            std::string(reinterpret_cast<const char*>(g.coverage), size_t(g.width) * g.height);
        int ink = 0;
        for (int i = 0; i < g.width * g.height; ++i) ink += g.coverage[i];
        EXPECT_GT(ink, 255) << "code " << code;
        EXPECT_TRUE(shapes.insert(shape).second) << "code " << code << " looks like another glyph";
        EXPECT_GT(g.advance, 0) << "code " << code;
        EXPECT_LE(g.width, 12) << "code " << code;
    }
    for (char c : std::string("gjpqy")) EXPECT_GT(glyph(c).height, glyph(c).yOffset) << c;
    for (char c : std::string("EHIKLTXZ")) EXPECT_EQ(glyph(c).height, glyph(c).yOffset) << c;
}

// The font's metrics as the library computes them over codes 0..254 fit
// the read-out's 16-pixel strip: every glyph within 16 rows, the baseline
// no lower than the tallest glyph.
TEST(BitmapFont, MetricsFitTheReadOutStrip) {
    int maxHeight = 0, maxWidth = 0, maxYOffset = 0;
    for (int code = 0; code < 255; ++code) {
        const Glyph g = glyph(code);
        maxHeight = std::max(maxHeight, g.height);
        maxWidth = std::max({maxWidth, g.width, g.advance});
        maxYOffset = std::max(maxYOffset, g.yOffset);
    }
    const int baseline = std::min(maxYOffset, maxHeight);
    EXPECT_GE(maxHeight, 12);
    EXPECT_LE(maxHeight, 16);
    EXPECT_GE(baseline, 10);
    EXPECT_LE(baseline, 13);
    EXPECT_LE(maxWidth, 14);
}

}  // namespace
