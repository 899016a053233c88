// The text specimen sheet against its reviewed image, and the golden check
// itself: a changed pixel must fail it and leave the three pictures behind.
#include <cstdio>
#include <string>

#include "afx/afx_pixbuf.h"
#include "golden_fixture.h"
#include "text_specimen.h"

void* golden_text_resources_module();

namespace {

class TextSpecimen : public GoldenFixture {
protected:
    void SetUp() override {
        useResources(golden_text_resources_module());
        sheet = render_text_specimen();
        ASSERT_NE(sheet, nullptr);
    }
    void TearDown() override {
        afx_pixbuf_free(nullptr, sheet);
        GoldenFixture::TearDown();
    }
    afx_pixbuf* sheet = nullptr;
};

bool exists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

TEST_F(TextSpecimen, MatchesTheReviewedSheet) {
    EXPECT_EQ(sheet->width, uint32_t(kSpecimenWidth));
#ifdef KORVEX_ASSET_PREVIEW_DIR
    EXPECT_TRUE(
        golden_write_png(KORVEX_ASSET_PREVIEW_DIR "/text-specimen.png", golden_picture(sheet)));
#endif
    EXPECT_TRUE(golden_match("text-specimen", sheet));
}

TEST_F(TextSpecimen, OneChangedPixelFailsAndLeavesExpectedActualAndDiff) {
    if (golden_updating()) GTEST_SKIP() << "updating: nothing to compare against";
    // A corner of the sheet with text in it is enough, and quick to write.
    const GoldenPicture whole = golden_picture(sheet);
    GoldenPicture corner;
    corner.width = 160;
    corner.height = 48;
    for (int32_t y = 0; y < corner.height; ++y) {
        for (int32_t x = 0; x < corner.width; ++x)
            corner.pixels.push_back(whole.pixels[size_t(y) * whole.width + x]);
    }
    GoldenPicture changed = corner;
    changed.pixels[size_t(30) * 160 + 20] ^= 0x000100u;

    // No reviewed image of that name: a failure that says what to do.
    const ::testing::AssertionResult missing = golden_match("golden-selftest", changed);
    EXPECT_FALSE(missing);
    EXPECT_NE(std::string(missing.message()).find("make golden-update"), std::string::npos);
    EXPECT_TRUE(exists(golden_output_path("golden-selftest", "actual")));

    const ::testing::AssertionResult against = golden_compare("golden-selftest", corner, changed);
    EXPECT_FALSE(against);
    EXPECT_NE(std::string(against.message())
                  .find("1 pixels differ (up to 1 per channel), first at (20, 30)"),
              std::string::npos)
        << against.message();
    GoldenPicture actual, expected, diff;
    ASSERT_TRUE(golden_read_png(golden_output_path("golden-selftest", "actual").c_str(), &actual));
    ASSERT_TRUE(
        golden_read_png(golden_output_path("golden-selftest", "expected").c_str(), &expected));
    ASSERT_TRUE(golden_read_png(golden_output_path("golden-selftest", "diff").c_str(), &diff));
    EXPECT_EQ(actual.pixels, changed.pixels);
    EXPECT_EQ(expected.pixels, corner.pixels);
    EXPECT_EQ(diff.pixels[size_t(30) * 160 + 20], 0xFF0000u);
    EXPECT_EQ(diff.pixels[0], (corner.pixels[0] >> 2) & 0x3F3F3Fu);

    GoldenPicture taller = corner;
    taller.height += 1;
    taller.pixels.resize(taller.pixels.size() + 160u);
    EXPECT_FALSE(golden_compare("golden-selftest", corner, taller));

    // A match clears what a failure left.
    EXPECT_TRUE(golden_compare("golden-selftest", corner, corner));
    EXPECT_FALSE(exists(golden_output_path("golden-selftest", "actual")));
    EXPECT_FALSE(exists(golden_output_path("golden-selftest", "expected")));
    EXPECT_FALSE(exists(golden_output_path("golden-selftest", "diff")));
}

}  // namespace
