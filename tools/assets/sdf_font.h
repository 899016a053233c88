// One distance-field font: the atlas (distance in the red channel) and the
// glyph table for the printable ASCII codes 32..126, in atlas pixels at the
// font's base size.
//
// The text renderer samples the red byte bilinearly, multiplies by its gain
// of 1.25 and puts the glyph edge where that reaches half of full scale, so
// the edge lies at red = 0.5 / 1.25 x 256 = 102.4. It then softens the edge
// over plus or minus a smoothing width of 0.1 / scale (in units of full
// scale), which is 409.6 x 0.1 / scale = 40.96 / scale red steps. Storing
// kSdfValuePerPixel red steps per atlas pixel makes that softening span
// 40.96 / kSdfValuePerPixel screen pixels at every size, because atlas pixels
// shrink with the same scale.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "font_file.h"

constexpr int kFirstSdfCode = 32;
constexpr int kLastSdfCode = 126;
constexpr int kSdfGlyphCount = kLastSdfCode - kFirstSdfCode + 1;  // 95

// Red value on the glyph outline: where 1.25 x red / 256 is one half.
constexpr double kSdfOnEdgeValue = 102.4;
// Red steps per atlas pixel of distance (inside brighter). 27 spreads the
// renderer's softening over 1.5 screen pixels, whose smoothstep is as steep
// at its middle as a one-pixel box filter: smooth, not blurred.
constexpr double kSdfValuePerPixel = 27.0;

// One record of the glyph table, field for field as the library compiles it.
struct SdfGlyph {
    int32_t code;
    int32_t atlasX, atlasY;    // top-left of the glyph box in the atlas
    int32_t width, height;     // glyph box (0 x 0 for an empty glyph)
    int32_t originX, originY;  // box left = pen x - originX; box top = baseline - originY
    int32_t advance;           // pen advance, rounded to whole atlas pixels
};

struct SdfFontSpec {
    const char* fileStem;  // output file names: "<fileStem>.pixdata", "<fileStem>.glyphs.inc"
    const char* name;      // display name as the library lists it
    int baseSize;          // em size in pixels at which the atlas is made
    int resourceId;        // resource id of the atlas image
    int paddingPx;         // distance field kept around each glyph's ink
};

struct SdfFont {
    SdfFontSpec recipe{};
    int atlasWidth = 0, atlasHeight = 0;
    std::vector<uint8_t> red;      // atlasWidth x atlasHeight distance values
    std::vector<SdfGlyph> glyphs;  // kSdfGlyphCount records in code order
};

// Rasterises every glyph's distance field and packs the atlas. False with a
// reason when the font lacks one of the codes.
bool buildSdfFont(const FontFile& font, const SdfFontSpec& recipe, SdfFont& out,
                  std::string& error);

// The distance value stored for a signed distance (pixels, inside positive).
uint8_t sdfValueForDistance(double distancePx);

// The atlas as a pixel-data image: distance in red, copied to green and blue
// so the atlas reads as a grey picture, alpha opaque.
std::vector<uint8_t> sdfAtlasPixdata(const SdfFont& font);

// The glyph table as C++ initialiser rows, one per code, for inclusion into
// an array of the library's glyph records.
std::string sdfGlyphTableInc(const SdfFont& font, const std::string& sourceNote);
