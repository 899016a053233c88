// Which font file makes which distance-field atlas. Shared by the generator
// and its tests, so both read the same files.
#pragma once

#include <string>

#include "asset_paths.h"
#include "font_file.h"
#include "sdf_font.h"

struct SdfFontSource {
    SdfFontSpec recipe;
    const char* package;      // where the font file comes from, for the record
    const char* fontFile;     // relative to the system font folder or the npm folder
    bool fromNpm;             // true: an npm web-font package; false: a Debian font package
    const char* licenceFile;  // relative to the Debian doc folder or the npm folder
    const char* licenceOut;   // licence text's name beside the outputs
};

constexpr int kSdfFontCount = 4;
extern const SdfFontSource kSdfFontSources[kSdfFontCount];

std::string sdfFontPath(const AssetContext& context, const SdfFontSource& source);
std::string sdfLicencePath(const AssetContext& context, const SdfFontSource& source);

// The line that records in the glyph table which file (size, CRC-32) made it.
std::string sdfFontSourceNote(const SdfFontSource& source, const FontFile& font);
