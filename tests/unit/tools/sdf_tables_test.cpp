// The committed distance-field fonts as the library will compile and load
// them: the resource list, the glyph tables and the atlas images agree with
// each other, with the fonts' own metrics and with what the renderer reads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "font_file.h"
#include "font_sources.h"
#include "sdf_font_sources.h"

namespace {

TEST(SdfFontTables, ListTheFourFontsUnderTheirResourceIds) {
    const struct {
        int id;
        const char* name;
        int base;
    } expected[] = {{1024, "DejaVu Sans", 64},
                    {1025, "Saira", 64},
                    {1026, "Michroma", 64},
                    {1027, "Arial Small", 32}};
    for (int i = 0; i < 4; ++i) {
        const CommittedSdfFont& f = kCommittedSdfFonts[i];
        EXPECT_EQ(expected[i].id, f.resourceId);
        EXPECT_STREQ(expected[i].name, f.name);
        EXPECT_EQ(expected[i].base, f.baseSize);
        EXPECT_EQ(95, f.glyphCount);
        EXPECT_EQ(95u, f.glyphRows) << f.name << ": the table file holds a row per printable code";
    }
}

// Every code 32..126 in order; every box inside the atlas with one pixel to
// spare on the right and below (the bilinear sampler reads one beyond the
// box's last column and row); no two boxes share a pixel.
TEST(SdfFontTables, EveryPrintableCodeHasABoxInsideTheAtlas) {
    for (const CommittedSdfFont& f : kCommittedSdfFonts) {
        for (int i = 0; i < 95; ++i) {
            const SdfGlyph& g = f.glyphs[i];
            EXPECT_EQ(32 + i, g.code) << f.name;
            EXPECT_GE(g.atlasX, 1) << f.name << " code " << g.code;
            EXPECT_GE(g.atlasY, 1) << f.name << " code " << g.code;
            EXPECT_LE(g.atlasX + g.width + 1, f.atlasWidth) << f.name << " code " << g.code;
            EXPECT_LE(g.atlasY + g.height + 1, f.atlasHeight) << f.name << " code " << g.code;
            EXPECT_GE(g.width, 0);
            EXPECT_GE(g.height, 0);
            for (int j = 0; j < i; ++j) {
                const SdfGlyph& h = f.glyphs[j];
                const bool apart =
                    g.atlasX + g.width <= h.atlasX || h.atlasX + h.width <= g.atlasX ||
                    g.atlasY + g.height <= h.atlasY || h.atlasY + h.height <= g.atlasY;
                EXPECT_TRUE(apart)
                    << f.name << ": codes " << g.code << " and " << h.code << " overlap";
            }
        }
    }
}

// The atlas has the listed size. The renderer draws a glyph only inside
// its box, so the ink and the soft edge around it must end inside: the
// outermost ring of every box stays well below the on-edge value. The
// column right of a box and the row below it, which the bilinear sampler
// also reads, are empty, and so is the neighbourhood the empty space glyph
// points at.
TEST(SdfFontTables, GlyphInkEndsInsideItsBox) {
    for (const CommittedSdfFont& f : kCommittedSdfFonts) {
        int width = 0, height = 0;
        std::vector<uint8_t> red;
        ASSERT_TRUE(loadCommittedAtlas(f, width, height, red)) << f.atlasFile;
        EXPECT_EQ(f.atlasWidth, width) << f.name;
        EXPECT_EQ(f.atlasHeight, height) << f.name;
        for (const SdfGlyph* it = f.glyphs; it != f.glyphs + 95; ++it) {
            const SdfGlyph& g = *it;
            if (g.code == ' ') {
                EXPECT_EQ(0, g.width);
                EXPECT_EQ(0, g.height);
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        EXPECT_EQ(0, red[size_t(g.atlasY + dy) * width + size_t(g.atlasX + dx)])
                            << f.name;
                continue;
            }
            ASSERT_GT(g.width, 0) << f.name << " code " << g.code;
            int beyond = 0;
            for (int y = 0; y <= g.height; ++y)
                beyond += red[size_t(g.atlasY + y) * width + size_t(g.atlasX + g.width)];
            for (int x = 0; x <= g.width; ++x)
                beyond += red[size_t(g.atlasY + g.height) * width + size_t(g.atlasX + x)];
            EXPECT_EQ(0, beyond) << f.name << " code " << g.code;
            int ringMax = 0, insideMax = 0;
            for (int y = 0; y < g.height; ++y) {
                for (int x = 0; x < g.width; ++x) {
                    const int v = red[size_t(g.atlasY + y) * width + size_t(g.atlasX + x)];
                    const bool ring = x == 0 || y == 0 || x == g.width - 1 || y == g.height - 1;
                    if (ring) {
                        ringMax = std::max(ringMax, v);
                    } else {
                        insideMax = std::max(insideMax, v);
                    }
                }
            }
            EXPECT_LT(ringMax, 40) << f.name << " code " << g.code;
            EXPECT_GT(insideMax, 102) << f.name << " code " << g.code << " has no ink";
        }
    }
}

// The recorded DejaVu Sans rows: the capital H box is 48 x 59 with its
// origin at (0, 53); the renderer takes the cap height from it, so text
// layout depends on it. Space advances 20 and "A" 44.
TEST(SdfFontTables, DejaVuSansMatchesTheRecordedLayoutMetrics) {
    const SdfGlyph* g = kCommittedSdfFonts[0].glyphs;
    const SdfGlyph& space = g[' ' - 32];
    const SdfGlyph& a = g['A' - 32];
    const SdfGlyph& h = g['H' - 32];
    EXPECT_EQ(20, space.advance);
    EXPECT_EQ(44, a.advance);
    EXPECT_NEAR(55, a.width, 1);
    EXPECT_EQ(59, a.height);
    EXPECT_EQ(53, a.originY);
    EXPECT_EQ(48, h.width);
    EXPECT_EQ(59, h.height);
    EXPECT_EQ(0, h.originX);
    EXPECT_EQ(53, h.originY);
    EXPECT_EQ(48, h.advance);
}

// Advances and ink positions against the font files' own metrics, read
// with stb_truetype directly: advance = advance width x em scale, rounded;
// the box's left edge lies padding + less than one pixel left of the ink.
TEST(SdfFontTables, AdvancesAndOriginsFollowTheFontMetrics) {
    const AssetContext context = testAssetContext();
    int checked = 0;
    for (int i = 0; i < kSdfFontCount; ++i) {
        const SdfFontSource& source = kSdfFontSources[i];
        const CommittedSdfFont& f = kCommittedSdfFonts[i];
        FontFile font;
        std::string error;
        if (!font.load(sdfFontPath(context, source), error)) continue;  // npm fonts not installed
        ++checked;
        const float scale = stbtt_ScaleForMappingEmToPixels(&font.info(), float(f.baseSize));
        const int pad = source.recipe.paddingPx;
        for (const SdfGlyph* it = f.glyphs; it != f.glyphs + 95; ++it) {
            const SdfGlyph& g = *it;
            int advance = 0, bearing = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
            stbtt_GetCodepointHMetrics(&font.info(), g.code, &advance, &bearing);
            EXPECT_NEAR(advance * scale, g.advance, 0.5 + 1e-3) << f.name << " code " << g.code;
            if (!stbtt_GetCodepointBox(&font.info(), g.code, &x0, &y0, &x1, &y1) || g.width == 0)
                continue;
            const double inkLeft = x0 * scale, inkTop = -y1 * scale;
            EXPECT_NEAR(-g.originX + pad, inkLeft, 1.0) << f.name << " code " << g.code;
            EXPECT_NEAR(-g.originY + pad, inkTop, 1.0) << f.name << " code " << g.code;
            EXPECT_NEAR(g.width - 2 * pad, (x1 - x0) * scale, 2.0) << f.name << " code " << g.code;
        }
    }
    if (checked < kSdfFontCount) {
        std::printf("note: %d of %d fonts checked; the npm web fonts are not installed\n", checked,
                    kSdfFontCount);
    }
    EXPECT_GE(checked, 2) << "the Debian fonts (DejaVu Sans, Liberation Sans) must be present";
}

}  // namespace
