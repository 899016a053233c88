// An RGBA picture for previews of the generated fonts. Text is drawn with the
// same integer rules as the library's renderer (distance-field threshold with
// gain and smoothing width; gamma-corrected bitmap-font blending), so what a
// preview shows is what the plug-in will show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bitmap_font.h"
#include "sdf_font.h"

struct Rgb {
    uint8_t r, g, b;
};

class PreviewCanvas {
public:
    PreviewCanvas(int width, int height, Rgb background);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<uint8_t>& rgba() const { return rgba_; }

    // Draws a line of distance-field text with its baseline at `baselineY`
    // at `sizePx` pixels; returns the pen x after the last glyph. Pixels on the
    // canvas's left column and top row are never written (strict clip box).
    double drawSdfText(const SdfFont& font, const std::string& text, double penX, double baselineY,
                       double sizePx, Rgb colour);

    // Draws bitmap-font text with its baseline at row `baselineY`; returns the pen x after.
    int drawBitmapText(const BitmapFont& font, const std::string& text, int x, int baselineY,
                       Rgb colour);

    // Copies a grey image (one byte per pixel) to (x, y), opaque.
    void drawGrey(const std::vector<uint8_t>& grey, int width, int height, int x, int y);

    // Scales the whole picture up by a whole factor (nearest pixel), for
    // looking at single pixels.
    PreviewCanvas magnified(int factor) const;

    // PNG file bytes.
    std::vector<uint8_t> png() const;

private:
    void blend(int x, int y, Rgb colour, int alpha);
    void drawSdfGlyph(const SdfFont& font, const SdfGlyph& g, double penX, double baselineY,
                      double scale, Rgb colour);

    int width_, height_;
    std::vector<uint8_t> rgba_;
};
