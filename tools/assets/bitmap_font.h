// The built-in bitmap font of the value read-out: an 8-bit coverage glyph for
// each of the 256 byte codes, rendered once from an open font at a small size.
//
// Record layout as the library reads it: width, height, advance, a reserved
// zero byte, x offset and y offset (signed; y offset = rows above the
// baseline, so the glyph's top row lands at baseline - y offset), then width x
// height coverage bytes, row by row.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "font_file.h"

constexpr int kBitmapGlyphCount = 256;
constexpr size_t kBitmapRecordHeaderBytes = 6;

// The box drawn for control codes (0..31, 127 and the C1 controls 128..159):
// an outlined rectangle that shows an unprintable byte is there.
constexpr int kBoxGlyphWidth = 6;
constexpr int kBoxGlyphHeight = 12;
constexpr int kBoxGlyphYOffset = 10;  // two rows hang below the baseline, like "(" does
constexpr int kBoxGlyphAdvance = 7;

struct BitmapGlyph {
    uint8_t width = 0, height = 0, advance = 0;
    int8_t xOffset = 0, yOffset = 0;
    std::vector<uint8_t> coverage;  // width x height
};

struct BitmapFontSource {
    std::string path;  // TrueType file
    double emPixels;   // size the glyphs are rendered at
};

struct BitmapFont {
    BitmapGlyph glyphs[kBitmapGlyphCount];
};

// Renders all 256 glyphs: printable ASCII and Latin-1 (160..255) from the
// font, the box for control codes. False with a reason if a printable code
// is missing from the font.
bool buildBitmapFont(const FontFile& font, double emPixels, BitmapFont& out, std::string& error);

// All records back to back, and the byte offset of each code's record.
std::vector<uint8_t> bitmapFontRecords(const BitmapFont& font, std::vector<uint32_t>& offsets);

// The records and offsets as C++ source for inclusion into the library.
std::string bitmapFontInc(const BitmapFont& font, const std::string& sourceNote);
