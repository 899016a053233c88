// `make assets` must reproduce the committed font data byte for byte: the
// generator, run again on the same font files, writes the same atlases,
// glyph tables and bitmap font.
#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

#include "asset_stages.h"
#include "bitmap_font_source.h"
#include "font_sources.h"
#include "sdf_font_sources.h"

namespace {

std::string scratchFolder() {
    char pattern[] = "/tmp/korvex-assets-test-XXXXXX";
    const char* made = mkdtemp(pattern);
    return made ? made : "";
}

TEST(FontRegeneration, DistanceFieldFontsReproduceTheCommittedFiles) {
    const AssetContext context = testAssetContext();
    int checked = 0;
    for (const SdfFontSource& source : kSdfFontSources) {
        FontFile font;
        std::string error;
        if (!font.load(sdfFontPath(context, source), error)) continue;  // npm fonts not installed
        ++checked;
        SdfFont built;
        ASSERT_TRUE(buildSdfFont(font, source.recipe, built, error)) << error;
        const std::string stem = std::string("resources/fonts/") + source.recipe.fileStem;
        EXPECT_TRUE(sdfAtlasPixdata(built) == committedFile(stem + ".pixdata"))
            << source.recipe.name;
        const std::string table = sdfGlyphTableInc(built, sdfFontSourceNote(source, font));
        const std::vector<uint8_t> committed = committedFile(stem + ".glyphs.inc");
        EXPECT_EQ(std::string(committed.begin(), committed.end()), table) << source.recipe.name;
    }
    EXPECT_GE(checked, 2) << "the Debian fonts (DejaVu Sans, Liberation Sans) must be present";
}

// The whole bitmap-font stage into a scratch folder: the same source and
// licence text as committed, and a second run changes nothing.
TEST(FontRegeneration, BitmapFontStageReproducesTheCommittedFiles) {
    AssetContext context = testAssetContext();
    if (!fileExists(bitmapFontPath(context))) {
        GTEST_SKIP() << bitmapFontPath(context) << " is not installed (Debian fonts-dejavu-extra)";
    }
    const std::string scratch = scratchFolder();
    ASSERT_FALSE(scratch.empty());
    context.outDir = scratch + "/resources";
    context.previewDir = scratch + "/preview";
    ASSERT_TRUE(runBitmapFontStage(context));
    for (const char* file : {"bitmap-font.inc", "LICENSE-DejaVu.txt"}) {
        std::vector<uint8_t> made;
        ASSERT_TRUE(readFileBytes(context.outDir + "/fonts/" + file, made)) << file;
        EXPECT_TRUE(made == committedFile(std::string("resources/fonts/") + file)) << file;
    }
    EXPECT_TRUE(fileExists(context.previewDir + "/bitmap-font.png"));
    const std::string cleanup = "rm -rf '" + scratch + "'";
    EXPECT_EQ(0, std::system(cleanup.c_str()));
}

}  // namespace
