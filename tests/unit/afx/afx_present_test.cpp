// Plain, dimmed and striped presents against pictures computed from the
// rules; the dotted surround and grip are pinned by golden images.
#include <functional>

#include "afx/afx_dib.h"
#include "afx_test_support.h"
#include "golden_image.h"

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

}  // namespace
