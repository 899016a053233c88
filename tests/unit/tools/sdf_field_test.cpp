// The distance values in the committed atlases against an independent
// rasterisation of the same fonts (stb_truetype's exact-area scanline
// rasteriser): the outline sits at red 102, inside is brighter, and the
// renderer's threshold turns the atlas into glyphs of the right weight.
#include <gtest/gtest.h>

#include <cmath>

#include "font_file.h"
#include "font_sources.h"
#include "sdf_font_sources.h"

namespace {

// Area coverage (0..255) of each atlas pixel of a glyph box, from stb's
// rasteriser, aligned to the box through the glyph's origin.
std::vector<int> rasterisedCoverage(const FontFile& font, const SdfGlyph& g, float scale) {
    std::vector<int> coverage(size_t(g.width) * size_t(g.height), 0);
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetCodepointBitmapBox(&font.info(), g.code, scale, scale, &x0, &y0, &x1, &y1);
    const int w = x1 - x0, h = y1 - y0;
    if (w <= 0 || h <= 0) return coverage;
    std::vector<unsigned char> bitmap(size_t(w) * size_t(h));
    stbtt_MakeCodepointBitmap(&font.info(), bitmap.data(), w, h, w, scale, scale, g.code);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // stb's pixel (x, y) lies at (x0 + x, y0 + y) from the pen; the box's
            // left edge is at -originX and its top at -originY.
            const int bx = x0 + x + g.originX, by = y0 + y + g.originY;
            if (bx >= 0 && by >= 0 && bx < g.width && by < g.height) {
                coverage[size_t(by) * g.width + bx] = bitmap[size_t(y) * w + x];
            }
        }
    }
    return coverage;
}

// The renderer's threshold at scale 1 for a pixel sampled exactly on an
// atlas pixel: d = red x 256, t = (d x gain + W - 1/2) / 2W in 16.16, then
// the smoothstep, as a fraction.
double rendererCoverage(int red) {
    const int64_t d = int64_t(red) * 256, gain = 81920, w = 6553;      // 1.25 and 0.1 in 16.16
    int64_t t = (((d * gain) >> 16) + (w - 32768)) * 65536 / (2 * w);  // may be negative: no shift
    t = std::max<int64_t>(0, std::min<int64_t>(65536, t));
    int64_t c = ((98304 - t) * 2 * ((t * t) >> 16)) / 65536;
    c = std::max<int64_t>(0, std::min<int64_t>(65535, c));
    return double(c >> 8) / 256.0;
}

// A pixel whose eight neighbours are fully covered too lies at least a
// pixel inside the ink.
bool deepInside(const std::vector<int>& coverage, int width, int height, int x, int y) {
    if (x < 1 || y < 1 || x >= width - 1 || y >= height - 1) return false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (coverage[size_t(y + dy) * width + size_t(x + dx)] != 255) return false;
    return true;
}

struct FieldStats {
    double edgeSum = 0.0;
    int edgePixels = 0;
    int wrongSide = 0, sidePixels = 0;
    int deepMin = 255;  // lowest value at least a pixel inside the ink
    double inkRendered = 0.0, inkRasterised = 0.0;
};

FieldStats measure(const FontFile& font, const CommittedSdfFont& f) {
    FieldStats s;
    int width = 0, height = 0;
    std::vector<uint8_t> red;
    if (!loadCommittedAtlas(f, width, height, red)) return s;
    const float scale = stbtt_ScaleForMappingEmToPixels(&font.info(), float(f.baseSize));
    for (int i = 0; i < 95; ++i) {
        const SdfGlyph& g = f.glyphs[i];
        const std::vector<int> coverage = rasterisedCoverage(font, g, scale);
        for (int y = 0; y < g.height; ++y) {
            for (int x = 0; x < g.width; ++x) {
                const int c = coverage[size_t(y) * g.width + x];
                const int v = red[size_t(g.atlasY + y) * width + size_t(g.atlasX + x)];
                s.inkRasterised += c / 255.0;
                s.inkRendered += rendererCoverage(v);
                if (c >= 96 && c <= 160) {
                    // Half-covered pixels have their centre about (coverage - 1/2)
                    // pixels inside a straight edge: undo that to read the edge value.
                    s.edgeSum += v - kSdfValuePerPixel * (c / 255.0 - 0.5);
                    ++s.edgePixels;
                } else if (c == 0 || c == 255) {
                    ++s.sidePixels;
                    if ((c == 255) != (v > 102)) ++s.wrongSide;
                    if (c == 255 && deepInside(coverage, g.width, g.height, x, y))
                        s.deepMin = std::min(s.deepMin, v);
                }
            }
        }
    }
    return s;
}

TEST(SdfFontField, OutlineLiesAtRed102AndInsideIsBrighter) {
    const AssetContext context = testAssetContext();
    int checked = 0;
    for (int i = 0; i < kSdfFontCount; ++i) {
        FontFile font;
        std::string error;
        if (!font.load(sdfFontPath(context, kSdfFontSources[i]), error)) continue;
        ++checked;
        const FieldStats s = measure(font, kCommittedSdfFonts[i]);
        ASSERT_GT(s.edgePixels, 1000) << kCommittedSdfFonts[i].name;
        // 0.5 / 1.25 of full scale is red 102.4; a bias of 2 would be a
        // weight change of 2 / 27 pixel on every edge.
        EXPECT_NEAR(102.4, s.edgeSum / s.edgePixels, 1.0) << kCommittedSdfFonts[i].name;
        // Fully covered pixels read above the edge value, empty ones below.
        EXPECT_EQ(0, s.wrongSide) << kCommittedSdfFonts[i].name;
        // At least 1.5 pixels inside, no outline may come near: overlapping
        // contours of one glyph must not leave seams inside its strokes.
        EXPECT_GE(s.deepMin, 102.4 + 1.4 * kSdfValuePerPixel) << kCommittedSdfFonts[i].name;
    }
    EXPECT_GE(checked, 2);
}

// Drawn at its base size, each font puts as much ink on the page as the
// exact rasteriser does: too low an edge value would make every glyph bold,
// too high thin.
TEST(SdfFontField, RendererThresholdReproducesTheGlyphWeight) {
    const AssetContext context = testAssetContext();
    for (int i = 0; i < kSdfFontCount; ++i) {
        FontFile font;
        std::string error;
        if (!font.load(sdfFontPath(context, kSdfFontSources[i]), error)) continue;
        const FieldStats s = measure(font, kCommittedSdfFonts[i]);
        ASSERT_GT(s.inkRasterised, 0.0);
        EXPECT_NEAR(1.0, s.inkRendered / s.inkRasterised, 0.02) << kCommittedSdfFonts[i].name;
    }
}

}  // namespace
