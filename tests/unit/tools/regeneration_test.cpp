// `make assets` must reproduce every committed file it generates, byte for
// byte: the generator, run again on the same font files into a scratch
// folder, writes the same atlases, glyph tables, font lists, licence texts,
// bitmap font, pictures and icons, and nothing more or less. Every source
// font is part of the check: a missing one fails it (`make test` installs
// the Debian fonts and fetches the npm web fonts first).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "asset_stages.h"

namespace {

namespace fs = std::filesystem;

std::set<std::string> filesUnder(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) names.insert(fs::relative(entry.path(), folder).string());
    return names;
}

TEST(AssetRegeneration, EveryStageReproducesTheCommittedFiles) {
    const std::string source = KORVEX_SOURCE_DIR;
    char pattern[] = "/tmp/korvex-assets-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string scratch = pattern;
    AssetContext context = defaultAssetContext();
    context.npmDir = source + "/tools/assets/node_modules";
    context.outDir = scratch + "/resources";
    context.previewDir = scratch + "/preview";
    // Each stage names a missing font or licence file on the error stream.
    EXPECT_TRUE(runSdfFontStage(context)) << "the web fonts: npm ci --prefix tools/assets";
    EXPECT_TRUE(runBitmapFontStage(context));
    EXPECT_TRUE(runArtworkStage(context));
    for (const char* folder : {"fonts", "images"}) {
        const fs::path made = context.outDir + "/" + folder;
        const fs::path committed = source + "/resources/" + folder;
        ASSERT_TRUE(fs::is_directory(made)) << folder;
        const std::set<std::string> names = filesUnder(committed);
        EXPECT_EQ(filesUnder(made), names) << folder;
        for (const std::string& name : names) {
            std::vector<uint8_t> a, b;
            EXPECT_TRUE(readFileBytes((made / name).string(), a) &&
                        readFileBytes((committed / name).string(), b) && a == b)
                << folder << "/" << name << " differs from the committed file";
        }
    }
    fs::remove_all(scratch);
}

}  // namespace
