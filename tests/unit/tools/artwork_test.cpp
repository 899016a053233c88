// The pictures the library embeds: each has the size the editor and the
// dialogs load it with, the panel leaves every control's box as plain face,
// the icons carry the five sizes, and the generator reproduces every
// committed file byte for byte. How the pictures look (pressed caps, the
// close cross, the panel's printing) is pinned pixel for pixel by the
// golden artwork contact sheet, which shows every image at 1:1 and 3x.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"
#include "artwork.h"
#include "asset_stages.h"
#include "font_sources.h"
#include "pixdata.h"

void* test_tools_resources_module();

namespace {

// The library's image table: id, width, height, and whether it is one of
// the dialog's round keys (two 24 x 24 frames).
struct Expected {
    int32_t id, width, height;
    bool roundKey;
};
const Expected kTable[] = {
    {128, 144, 538, false}, {131, 32, 32, false},   {132, 32, 32, false}, {134, 32, 32, false},
    {198, 140, 32, false},  {251, 24, 48, true},    {135, 32, 32, false}, {137, 32, 32, false},
    {136, 32, 80, false},   {199, 500, 275, false}, {252, 24, 48, true},  {253, 24, 48, true},
};

class Artwork : public ::testing::Test {
protected:
    void SetUp() override { afx_set_module(test_tools_resources_module()); }
    void TearDown() override { afx_set_module(nullptr); }
};

const uint8_t* pixel(const afx_pixbuf* pb, int32_t x, int32_t y) {
    return pb->pixels + (size_t(y) * pb->width + size_t(x)) * 4u;
}

TEST_F(Artwork, EveryImageLoadsFromTheResourcesWithItsSize) {
    for (const Expected& e : kTable) {
        afx_pixbuf* pb = afx_pixbuf_new_from_inline(nullptr, e.id);
        ASSERT_NE(pb, nullptr) << e.id;
        EXPECT_EQ(pb->width, uint32_t(e.width)) << e.id;
        EXPECT_EQ(pb->height, uint32_t(e.height)) << e.id;
        EXPECT_EQ(pb->stride, uint32_t(e.width) * 4u) << e.id;
        // Opaque everywhere, as the panel's face is under every control, but
        // the dialog's round keys: about 10.5 pixels round, centred in each
        // frame, they stand on the dialog page, which shows in their corners.
        int32_t wrong = 0;
        for (uint32_t y = 0; y < pb->height; ++y) {
            for (uint32_t x = 0; x < pb->width; ++x) {
                const uint8_t alpha = pixel(pb, int32_t(x), int32_t(y))[3];
                const float dx = float(x) - 11.5f, dy = float(y % 24u) - 11.5f;
                const float d = std::sqrt(dx * dx + dy * dy);
                if (!e.roundKey || d < 9.0f) wrong += alpha != 255;
                else if (d > 13.0f) wrong += alpha != 0;
            }
        }
        EXPECT_EQ(wrong, 0) << e.id;
        afx_pixbuf_free(nullptr, pb);
    }
}

// Every control's box as the editor places it: knobs (x, y, 44, 44),
// switches 32 x 16, the Effect button 48 x 24, the lamp's 12 x 12 box, the
// read-out, the three top buttons and the name plate by their centres.
struct Box {
    int32_t x, y, w, h;
};
const Box kControlBoxes[] = {
    {78, 110, 44, 44},           {21, 156, 44, 44},         {78, 193, 44, 44},
    {21, 230, 44, 44},           {78, 276, 44, 44},         {78, 336, 44, 44},
    {21, 382, 44, 44},           {27, 320, 32, 16},         {84, 396, 32, 16},
    {48, 446, 48, 24},           {37, 292, 12, 12},         {18, 64, 108, 16},
    {52 - 16, 11 - 8, 32, 16},   {92 - 16, 11 - 8, 32, 16}, {126 - 16, 11 - 8, 32, 16},
    {72 - 70, 527 - 8, 140, 16},
};

TEST_F(Artwork, PanelLeavesEveryControlBoxPlainFace) {
    afx_pixbuf* pb = afx_pixbuf_new_from_inline(nullptr, 128);
    ASSERT_NE(pb, nullptr);
    for (const Box& b : kControlBoxes) {
        int32_t marked = 0;
        for (int32_t y = b.y; y < b.y + b.h; ++y)
            for (int32_t x = b.x; x < b.x + b.w; ++x) {
                const uint8_t* p = pixel(pb, x, y);
                if (p[0] != 40 || p[1] != 40 || p[2] != 40 || p[3] != 255) ++marked;
            }
        EXPECT_EQ(marked, 0) << "box at " << b.x << ", " << b.y;
    }
    afx_pixbuf_free(nullptr, pb);
}

TEST(ArtworkIcons, IconFilesHoldFiveSizesWithA256PngEntry) {
    for (const char* file :
         {"resources/images/200-editor.ico", "resources/images/260-dialog.ico"}) {
        const std::vector<uint8_t> ico = committedFile(file);
        ASSERT_GE(ico.size(), 6u + 5u * 16u) << file;
        EXPECT_EQ(ico[2] | ico[3] << 8, 1);  // icon, not cursor
        ASSERT_EQ(ico[4] | ico[5] << 8, 5);
        const int expected[] = {16, 24, 32, 48, 256};
        for (int i = 0; i < 5; ++i) {
            const uint8_t* d = &ico[6 + 16 * i];
            const int size = d[0] ? d[0] : 256;
            EXPECT_EQ(size, expected[i]);
            const uint32_t bytes = d[8] | d[9] << 8 | d[10] << 16 | uint32_t(d[11]) << 24;
            const uint32_t at = d[12] | d[13] << 8 | d[14] << 16 | uint32_t(d[15]) << 24;
            ASSERT_LE(size_t(at) + bytes, ico.size());
            const uint8_t* img = &ico[at];
            if (size == 256) {
                EXPECT_EQ(std::memcmp(img, "\x89PNG", 4), 0);
            } else {
                // A 32-bit bitmap, height doubled for the mask, sized colour + mask.
                EXPECT_EQ(img[0], 40);
                EXPECT_EQ(img[4] | img[5] << 8, size);
                EXPECT_EQ(img[8] | img[9] << 8, 2 * size);
                EXPECT_EQ(img[14], 32);
                EXPECT_EQ(bytes,
                          40u + uint32_t(size * size * 4) + uint32_t((size + 31) / 32 * 4 * size));
            }
        }
    }
}

TEST(ArtworkIcons, MarkIsClearInTheCornersAndOpaqueInTheMiddle) {
    for (int32_t s : {16, 48, 256}) {
        const std::vector<uint8_t> m = drawProductMark(s);
        ASSERT_EQ(m.size(), size_t(s * s * 4));
        EXPECT_EQ(m[3], 0) << s;
        EXPECT_EQ(m[(size_t(s) * s - 1) * 4 + 3], 0) << s;
        EXPECT_EQ(m[(size_t(s / 2) * s + size_t(s / 2)) * 4 + 3], 255) << s;
    }
}

TEST_F(Artwork, GeneratorReproducesTheCommittedImages) {
    for (const ArtImage& a : kArtImages) {
        afx_pixbuf* pb = drawArtImage(a.id);
        ASSERT_NE(pb, nullptr) << a.id;
        std::vector<uint8_t> rgba(pb->pixels, pb->pixels + size_t(a.width) * size_t(a.height) * 4u);
        EXPECT_TRUE(encodePixdata(a.width, a.height, rgba) ==
                    committedFile(std::string("resources/") + a.file))
            << a.id;
        afx_pixbuf_free(nullptr, pb);
    }
    EXPECT_TRUE(encodeIco({16, 24, 32, 48, 256}) ==
                committedFile("resources/images/200-editor.ico"));
}

}  // namespace
