// Signed distance to flattened outlines: exact on straight edges, signed by
// the non-zero winding rule, and close to the true curve on round glyphs.
#include <gtest/gtest.h>

#include <cmath>

#include "font_file.h"
#include "glyph_outline.h"

namespace {

void addRectangle(GlyphOutline& o, double x0, double y0, double x1, double y1, bool clockwise) {
    const double xs[4] = {x0, x1, x1, x0}, ys[4] = {y0, y0, y1, y1};
    for (int i = 0; i < 4; ++i) {
        const int a = clockwise ? i : (4 - i) % 4, b = clockwise ? (i + 1) % 4 : (3 - i + 4) % 4;
        o.segments.push_back({xs[a], ys[a], xs[b], ys[b]});
    }
}

TEST(GlyphOutline, DistanceToASquareIsSignedByInsideAndOutside) {
    GlyphOutline o;
    addRectangle(o, 0, 0, 10, 10, true);
    EXPECT_DOUBLE_EQ(5.0, signedDistance(o, 5, 5));
    EXPECT_DOUBLE_EQ(2.0, signedDistance(o, 2, 7));
    EXPECT_DOUBLE_EQ(-3.0, signedDistance(o, -3, 5));
    EXPECT_DOUBLE_EQ(-5.0, signedDistance(o, 13, 14));  // nearest point is the corner (10, 10)
    EXPECT_DOUBLE_EQ(0.0, std::fabs(signedDistance(o, 10, 4)));
    // A ray through a vertex height must count once, not twice.
    EXPECT_GT(signedDistance(o, 5, 0.0 + 1e-12), 0.0);
    EXPECT_LT(signedDistance(o, -1, 10), 0.0);
}

TEST(GlyphOutline, CountersAreOutsideAndOverlapsInside) {
    GlyphOutline ring;  // "O": outer contour one way, counter the other
    addRectangle(ring, 0, 0, 20, 20, true);
    addRectangle(ring, 6, 6, 14, 14, false);
    EXPECT_DOUBLE_EQ(-4.0, signedDistance(ring, 10, 10));
    EXPECT_DOUBLE_EQ(3.0, signedDistance(ring, 3, 10));

    GlyphOutline overlap;  // two strokes wound the same way, as in many "x" and "@"
    addRectangle(overlap, 0, 0, 20, 20, true);
    addRectangle(overlap, 6, 6, 14, 14, true);
    EXPECT_DOUBLE_EQ(4.0, signedDistance(overlap, 10, 10));
}

// The "O" of DejaVu Sans at 64 px: along the horizontal through the middle,
// the zero crossings of the distance match the rasteriser's coverage edges.
TEST(GlyphOutline, RoundGlyphsAreFlattenedCloseToTheCurve) {
    FontFile font;
    std::string error;
    ASSERT_TRUE(font.load("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", error)) << error;
    const double scale = font.scaleForEm(64.0);
    const GlyphOutline o = flattenGlyph(font.info(), font.glyphIndex('O'), scale, 0.005);
    ASSERT_FALSE(o.empty());
    int x0, y0, x1, y1;
    ASSERT_TRUE(stbtt_GetCodepointBox(&font.info(), 'O', &x0, &y0, &x1, &y1));
    // Extremes of the curve lie within the flattening tolerance of the font's box.
    EXPECT_NEAR(x0 * scale, o.minX, 0.02);
    EXPECT_NEAR(x1 * scale, o.maxX, 0.02);
    EXPECT_NEAR(-y1 * scale, o.minY, 0.02);
    EXPECT_NEAR(-y0 * scale, o.maxY, 0.02);
    const double middle = (o.minY + o.maxY) / 2;
    EXPECT_NEAR(0.0, signedDistance(o, x0 * scale, middle), 0.02);
    EXPECT_LT(signedDistance(o, (x0 + x1) * scale / 2, middle), -5.0) << "the counter is empty";
    EXPECT_GT(signedDistance(o, x0 * scale + 3.0, middle), 2.0) << "the stroke is ink";
}

}  // namespace
