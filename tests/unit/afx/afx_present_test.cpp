// Window bitmaps and presentation over the in-memory backend: the bitmap
// record, plain, dimmed and striped copies to the window, the dotted pattern
// with its grip, and an end-to-end render that is written out for looking at.
// The editor's surround at both scales, plain and greyed, is pinned by its
// golden images.
#include <vector>

#include "afx/afx_dib.h"
#include "afx/afx_pixbuf.h"
#include "afx_render_output.h"
#include "afx_test_scene.h"
#include "afx_test_support.h"

namespace {

// A bitmap whose every pixel differs: red from x, green from y, blue mixed.
void paintRamp(afx_dib* d) {
    for (uint32_t y = 0; y < d->height; ++y)
        for (uint32_t x = 0; x < d->width; ++x)
            set_dib_pixel(d, x, y, (x * 9 & 255) << 16 | (y * 7 & 255) << 8 | ((x + y) * 5 & 255));
}

std::vector<uint32_t> framebuffer(void* window) { return afx_headless_find(window)->framebuffer; }

using PresentTest = ToolkitTest;

TEST_F(PresentTest, BitmapRecordDescribesATopDown24BitSectionFilledBlack) {
    const int32_t index = newChild(10, 10);
    afx_dib* d = afx_dib_new(ctx, 5, 3, index);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->width, 5u);
    EXPECT_EQ(d->height, 3u);
    EXPECT_EQ(d->stride, 16u);  // 15 rounded up to a multiple of 4
    for (size_t i = 0; i < d->stride * 3u; ++i) ASSERT_EQ(d->pixels[i], 0);
    afx_dib_free(ctx, d);
    EXPECT_EQ(afx_dib_new(ctx, 0, 3, index), nullptr);
    afx_dib_free(ctx, nullptr);
}

TEST_F(PresentTest, PresentIsClippedToTheWindowOnEverySide) {
    // The window shows bitmap pixel (x - dx + sx, y - dy + sy) where both
    // exist; placements hang off each edge, widths cover whole groups of
    // four pixels and the odd ones after them.
    const int32_t index = newChild(13, 9);
    void* w = handle(index);
    afx_dib* d = afx_dib_new(ctx, 11, 10, index);
    paintRamp(d);
    struct Case {
        int32_t sx, sy, dx, dy, width, height;
    } cases[] = {
        {0, 0, -3, -2, 11, 10}, {1, 2, 5, 4, 11, 10},   {0, 0, 9, 7, 4, 4},  {2, 1, -1, 3, 1, 2},
        {0, 0, 0, 0, 13, 9},    {3, 0, 2, -9, 7, 10},   {0, 0, 13, 0, 5, 5}, {4, 4, 6, 1, 5, 3},
        {2, 3, 5, 2, 6, 4},     {0, 0, 0, 0, 100, 100},  // a size beyond the bitmap is cut to it
    };
    for (const Case& c : cases) {
        afx_headless_find(w)->framebuffer.assign(13 * 9, 0xABCDEFu);
        afx_present(ctx, index, d, c.sx, c.sy, c.dx, c.dy, c.width, c.height);
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 13; ++x) {
                const int bx = x - c.dx + c.sx, by = y - c.dy + c.sy;
                const bool shown = x >= c.dx && x < c.dx + c.width && y >= c.dy &&
                                   y < c.dy + c.height && bx < 11 && by < 10;
                ASSERT_EQ(afx_headless_pixel(w, x, y), shown ? dib_pixel(d, bx, by) : 0xABCDEFu)
                    << "placed at " << c.dx << "," << c.dy << ": pixel " << x << "," << y;
            }
        }
    }
    // A source corner before the bitmap is moved to 0; no window: nothing.
    afx_headless_find(w)->framebuffer.assign(13 * 9, 0xABCDEFu);
    afx_present(ctx, index, d, -5, -5, 0, 0, 3, 3);
    EXPECT_EQ(afx_headless_pixel(w, 0, 0), dib_pixel(d, 0, 0));
    EXPECT_EQ(afx_headless_pixel(w, 2, 2), dib_pixel(d, 2, 2));
    EXPECT_EQ(afx_headless_pixel(w, 3, 0), 0xABCDEFu);
    afx_present(ctx, -1, d, 0, 0, 0, 0, 5, 5);
    afx_dib_free(ctx, d);
}

TEST_F(PresentTest, DimmedPresentHalvesEveryChannelAndLeavesTheBitmapAlone) {
    const int32_t index = newChild(16, 8);
    afx_dib* d = afx_dib_new(ctx, 16, 8, index);
    paintRamp(d);
    set_dib_pixel(d, 0, 0, 0xFFFFFF);
    set_dib_pixel(d, 1, 0, 0x010203);
    const std::vector<uint8_t> before(d->pixels, d->pixels + d->stride * 8);
    afx_present_dimmed(ctx, index, d, 0, 0, 0, 0, 16, 8);
    EXPECT_EQ(afx_headless_pixel(handle(index), 0, 0), 0x7F7F7Fu);
    EXPECT_EQ(afx_headless_pixel(handle(index), 1, 0), 0x000101u);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            const uint32_t v = dib_pixel(d, x, y);
            ASSERT_EQ(afx_headless_pixel(handle(index), x, y), (v >> 1) & 0x7F7F7Fu);
        }
    EXPECT_EQ(before, std::vector<uint8_t>(d->pixels, d->pixels + d->stride * 8));
    afx_dib_free(ctx, d);
}

// Grey of the striped presentation, and its darker band value.
uint32_t grey(uint32_t rgb, bool darker) {
    uint32_t g = ((rgb >> 16) >> 2) + (((rgb >> 8) & 255) >> 1) + ((rgb & 255) >> 3);
    if (darker) g -= g >> 3;
    return g * 0x010101u;
}

TEST_F(PresentTest, StripedPresentIsGreyWithDarkerBandsTwoLogicalPixelsHigh) {
    const int32_t index = newChild(8, 16);
    afx_dib* d = afx_dib_new(ctx, 8, 16, index);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x) set_dib_pixel(d, x, y, 0xC8A060);  // grey 50 + 80 + 12 = 142
    const std::vector<uint8_t> before(d->pixels, d->pixels + d->stride * 16);
    EXPECT_EQ(grey(0xC8A060, false), 142u * 0x010101u);
    EXPECT_EQ(grey(0xC8A060, true), 125u * 0x010101u);  // 142 - 17
    // Scale 1: rows 0-1 darker, 2-3 plain, 4-5 darker, ...; scale 2: bands of 4 device rows.
    for (const float scale : {1.0f, 2.0f}) {
        afx_present_striped(ctx, index, d, 0, 0, 0, 0, 8, 16, scale);
        for (int y = 0; y < 16; ++y) {
            const bool darker = (y / int(2 * scale)) % 2 == 0;
            EXPECT_EQ(afx_headless_pixel(handle(index), 3, y), grey(0xC8A060, darker))
                << scale << ": " << y;
        }
    }
    EXPECT_EQ(before, std::vector<uint8_t>(d->pixels, d->pixels + d->stride * 16));
    afx_dib_free(ctx, d);
}

TEST_F(PresentTest, PatternHasDotsOfTwoSeventhsAndAnOrangeGripInTheCorner) {
    const int32_t index = newChild(64, 48);
    // The editor's surround at scale 1: colour 112, grip 20, margin 1, period 8, dot 1.
    afx_dib* d = afx_dib_new_pattern(ctx, 64, 48, 112, 112, 112, 20, 1, 8, 1, index);
    ASSERT_NE(d, nullptr);
    const uint32_t dot = 32u * 0x010101u;  // 112 x 2/7
    const uint32_t orange = 0xC58E00u;     // 197, 142, 0
    // Dots every 8 pixels away from the grip.
    EXPECT_EQ(dib_pixel(d, 0, 0), dot);
    EXPECT_EQ(dib_pixel(d, 8, 16), dot);
    EXPECT_EQ(dib_pixel(d, 1, 0), 0u);
    EXPECT_EQ(dib_pixel(d, 8, 17), 0u);
    // The grip square covers x 43..62, y 27..46: dots every 4 pixels from its
    // corner, dark above the diagonal; the margin column and row keep the grid.
    EXPECT_EQ(dib_pixel(d, 62, 46), orange);
    EXPECT_EQ(dib_pixel(d, 60, 46), 0u);
    EXPECT_EQ(dib_pixel(d, 58, 46), orange);
    EXPECT_EQ(dib_pixel(d, 62, 29), orange);  // 17 from the bottom: the topmost dot
    EXPECT_EQ(dib_pixel(d, 56, 32), 0u);      // a grid position inside the square stays dark
    EXPECT_EQ(dib_pixel(d, 63, 47), 0u);
    // The grip is symmetric about the diagonal and empty above it.
    for (int fr = 0; fr < 20; ++fr) {
        for (int fb = 0; fb < 20; ++fb) {
            const uint32_t v = dib_pixel(d, 62 - fr, 46 - fb);
            EXPECT_EQ(v, dib_pixel(d, 62 - fb, 46 - fr));
            if (fr + fb > 19) {
                EXPECT_EQ(v, 0u) << fr << "," << fb;
            }
        }
    }
    afx_dib_free(ctx, d);
}

TEST_F(PresentTest, ScenePaintedThroughTheResamplerReachesTheWindow) {
    // What an editor does in its paint callback: resample the dirty part of
    // the panel into the window bitmap, then present it.
    afx_test_scene scene;
    const int32_t index = afx_window_new(ctx, kSceneWidth, kSceneHeight, 1.0f, parent, &scene);
    ASSERT_TRUE(afx_test_scene_open(&scene, ctx, index));
    afx_window_on_paint(ctx, index, afx_test_scene_paint);
    ASSERT_TRUE(afx_headless_paint(handle(index)));
    const std::vector<uint32_t> fb = framebuffer(handle(index));
    for (int y = 0; y < kSceneHeight; ++y)
        for (int x = 0; x < kSceneWidth; ++x)
            ASSERT_EQ(fb[y * kSceneWidth + x], dib_pixel(scene.surface, x, y));
    // The picture's ring (white) crosses its centre row at picture x 10..14;
    // at scale 1.5 from x = 12 that lands near window x 27..33.
    EXPECT_EQ(fb[30 * kSceneWidth + 30], 0xFAFAFAu);
    // Right of the picture (12 + 48 x 1.5 = 84) the dotted surround shows.
    EXPECT_EQ(fb[0 * kSceneWidth + 88], 32u * 0x010101u);
    afx_write_render_png("afx-present-scene", kSceneWidth, kSceneHeight, fb);
    afx_test_scene_close(&scene);
}

}  // namespace
