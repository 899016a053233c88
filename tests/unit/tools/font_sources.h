// What the tool tests share: the committed font data compiled in, and the
// source fonts looked up where the generator finds them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "asset_paths.h"
#include "sdf_font.h"

// One row of resources/fonts/fonts.inc plus its compiled glyph table.
struct CommittedSdfFont {
    int resourceId;
    const char* name;
    int baseSize;
    int atlasWidth, atlasHeight;
    int glyphCount;
    const char* atlasFile;  // relative to resources/
    const SdfGlyph* glyphs;
    size_t glyphRows;  // rows actually compiled from the table file
};

extern const CommittedSdfFont kCommittedSdfFonts[4];

// The generator's default locations, with the npm folder of this checkout.
AssetContext testAssetContext();

// The committed file's bytes (path relative to the repository root).
std::vector<uint8_t> committedFile(const std::string& relativePath);

// Reads the atlas's red channel as stored; false when the file is not a
// well-formed pixel-data image (checked here against the format, not by the
// generator's reader).
bool loadCommittedAtlas(const CommittedSdfFont& font, int& width, int& height,
                        std::vector<uint8_t>& red);

bool fileExists(const std::string& path);
