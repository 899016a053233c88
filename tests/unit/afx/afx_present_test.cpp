// Window bitmaps and presentation over the in-memory backend: plain, dimmed
// and striped copies to the window against pictures computed from the rules,
// the dotted pattern with its grip, and the scene an editor paints. The
// editor's surround at both scales, plain and greyed, is pinned by its
// golden images.
#include <functional>

#include "afx/afx_dib.h"
#include "afx_test_scene.h"
#include "afx_test_support.h"
#include "golden_fixture.h"

namespace {

// A picture of the given size with each pixel from rgb(x, y).
GoldenPicture picture(int32_t width, int32_t height, const std::function<uint32_t(int, int)>& rgb) {
    GoldenPicture p{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) p.pixels.push_back(rgb(x, y));
    return p;
}

// A bitmap whose every pixel differs: red from x, green from y, blue mixed.
afx_dib* ramp(afx_context* ctx, uint32_t width, uint32_t height, int32_t index) {
    afx_dib* d = afx_dib_new(ctx, width, height, index);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t* p = d->pixels + y * d->stride + x * 3;
            p[0] = uint8_t((x + y) * 5), p[1] = uint8_t(y * 7), p[2] = uint8_t(x * 9);
        }
    return d;
}

using PresentTest = ToolkitTest;

TEST_F(PresentTest, BitmapIsATopDown24BitSectionFilledBlackWithRowsOfWholeWords) {
    afx_dib* d = afx_dib_new(ctx, 5, 3, newChild(10, 10));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->stride, 16u);  // 15 rounded up to a multiple of 4
    EXPECT_EQ(golden_picture(d).pixels, std::vector<uint32_t>(15, 0u));
    afx_dib_free(ctx, d);
    EXPECT_EQ(afx_dib_new(ctx, 0, 3, 0), nullptr);
}

TEST_F(PresentTest, PresentIsClippedToTheWindowAndTheBitmapOnEverySide) {
    // The window shows bitmap pixel (x - dx + sx, y - dy + sy) where both
    // exist; placements hang off each edge, widths cover whole groups of
    // four pixels and the odd ones after them.
    const int32_t index = newChild(13, 9);
    afx_dib* d = ramp(ctx, 11, 10, index);
    const GoldenPicture bitmap = golden_picture(d);
    struct Case {
        int32_t sx, sy, dx, dy, width, height;
    } cases[] = {
        {0, 0, -3, -2, 11, 10}, {1, 2, 5, 4, 11, 10}, {0, 0, 9, 7, 4, 4},   {2, 1, -1, 3, 1, 2},
        {0, 0, 0, 0, 13, 9},    {3, 0, 2, -9, 7, 10}, {0, 0, 13, 0, 5, 5},  {4, 4, 6, 1, 5, 3},
        {2, 3, 5, 2, 6, 4},     {0, 0, 0, 0, 99, 99}, {-5, -5, 0, 0, 3, 3},  // source corner to 0
    };
    for (const Case& c : cases) {
        window(index)->framebuffer.assign(13 * 9, 0xABCDEFu);
        afx_present(ctx, index, d, c.sx, c.sy, c.dx, c.dy, c.width, c.height);
        const int sx = std::max(c.sx, 0), sy = std::max(c.sy, 0);
        const GoldenPicture want = picture(13, 9, [&](int x, int y) {
            const int bx = x - c.dx + sx, by = y - c.dy + sy;
            const bool shown = x >= c.dx && x < c.dx + c.width && y >= c.dy &&
                               y < c.dy + c.height && bx < 11 && by < 10;
            return shown ? bitmap.pixels[by * 11 + bx] : 0xABCDEFu;
        });
        EXPECT_TRUE(golden_compare("afx-present-clip", want, golden_window_picture(handle(index))))
            << "placed at " << c.dx << "," << c.dy;
    }
    afx_present(ctx, -1, d, 0, 0, 0, 0, 5, 5);  // no window: nothing
    afx_dib_free(ctx, d);
}

TEST_F(PresentTest, DimmedAndStripedPresentsDarkenOnlyWhatTheWindowShows) {
    const int32_t index = newChild(8, 16);
    afx_dib* d = ramp(ctx, 8, 16, index);
    d->pixels[0] = d->pixels[1] = d->pixels[2] = 255;
    const GoldenPicture bitmap = golden_picture(d);
    afx_present_dimmed(ctx, index, d, 0, 0, 0, 0, 8, 16);
    EXPECT_TRUE(golden_compare(
        "afx-present-dimmed",
        picture(8, 16, [&](int x, int y) { return (bitmap.pixels[y * 8 + x] >> 1) & 0x7F7F7Fu; }),
        golden_window_picture(handle(index))));
    EXPECT_EQ(afx_headless_pixel(handle(index), 0, 0), 0x7F7F7Fu);
    // Grey (red / 4 + green / 2 + blue / 8), an eighth darker in bands two
    // logical pixels high from the top: at scale 2 bands of 4 device rows.
    for (const float scale : {1.0f, 2.0f}) {
        afx_present_striped(ctx, index, d, 0, 0, 0, 0, 8, 16, scale);
        const GoldenPicture want = picture(8, 16, [&](int x, int y) {
            const uint32_t v = bitmap.pixels[y * 8 + x];
            uint32_t grey = (v >> 18) + ((v >> 9) & 127) + ((v & 255) >> 3);
            if ((y / int(2 * scale)) % 2 == 0) grey -= grey >> 3;
            return grey * 0x010101u;
        });
        EXPECT_TRUE(
            golden_compare("afx-present-striped", want, golden_window_picture(handle(index))))
            << scale;
    }
    EXPECT_EQ(golden_picture(d).pixels, bitmap.pixels);  // the bitmap itself stays
    afx_dib_free(ctx, d);
}

TEST_F(PresentTest, PatternHasDotsOfTwoSeventhsAndAnOrangeGripBelowTheDiagonal) {
    // The editor's surround at scale 1: colour 112, grip 20, margin 1, period 8, dot 1.
    afx_dib* d = afx_dib_new_pattern(ctx, 64, 48, 112, 112, 112, 20, 1, 8, 1, newChild(64, 48));
    ASSERT_NE(d, nullptr);
    const GoldenPicture want = picture(64, 48, [](int x, int y) -> uint32_t {
        const int fr = 62 - x, fb = 46 - y;  // within the grip square x 43..62, y 27..46
        if (fr >= 0 && fr < 20 && fb >= 0 && fb < 20)
            return fr + fb <= 19 && fr % 4 < 2 && fb % 4 < 2 ? 0xC58E00u : 0u;  // 197, 142, 0
        return x % 8 == 0 && y % 8 == 0 ? 32u * 0x010101u : 0u;                 // 112 x 2/7
    });
    EXPECT_TRUE(golden_compare("afx-pattern", want, golden_picture(d)));
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
    const GoldenPicture shown = golden_window_picture(handle(index));
    EXPECT_TRUE(golden_compare("afx-present-scene", golden_picture(scene.surface), shown));
    // The picture's ring (white) crosses its centre row at picture x 10..14;
    // at scale 1.5 from x = 12 that lands near window x 27..33. Right of the
    // picture (12 + 48 x 1.5 = 84) the dotted surround shows.
    EXPECT_EQ(shown.pixels[30 * kSceneWidth + 30], 0xFAFAFAu);
    EXPECT_EQ(shown.pixels[88], 32u * 0x010101u);
    golden_write_png((KORVEX_RENDER_DIR "/afx-present-scene.png"), shown);
    afx_test_scene_close(&scene);
}

}  // namespace
