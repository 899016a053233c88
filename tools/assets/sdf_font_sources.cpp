// The caption fonts: three at base size 64, the small one at 32 for text
// that is mostly drawn at 8 to 16 pixels. The padding of 6 (3 at base 32)
// keeps each glyph box 6/64 of an em larger than its ink; the renderer takes
// the cap height from the padded "H", so this margin is part of the text
// layout and stays the same for every atlas.
#include "sdf_font_sources.h"

#include <cstdio>

const SdfFontSource kSdfFontSources[kSdfFontCount] = {
    {{"1024-dejavu-sans", "DejaVu Sans", 64, 1024, 6},
     "Debian fonts-dejavu-core",
     "dejavu/DejaVuSans.ttf",
     false,
     "fonts-dejavu-core/copyright",
     "LICENSE-DejaVu.txt"},
    {{"1025-saira", "Saira", 64, 1025, 6},
     "npm @fontsource/saira",
     "@fontsource/saira/files/saira-latin-400-normal.woff",
     true,
     "@fontsource/saira/LICENSE",
     "LICENSE-Saira.txt"},
    {{"1026-michroma", "Michroma", 64, 1026, 6},
     "npm @fontsource/michroma",
     "@fontsource/michroma/files/michroma-latin-400-normal.woff",
     true,
     "@fontsource/michroma/LICENSE",
     "LICENSE-Michroma.txt"},
    {{"1027-arial-small", "Arial Small", 32, 1027, 3},
     "Debian fonts-liberation",
     "liberation/LiberationSans-Regular.ttf",
     false,
     "fonts-liberation/copyright",
     "LICENSE-Liberation.txt"},
};

std::string sdfFontPath(const AssetContext& context, const SdfFontSource& source) {
    return (source.fromNpm ? context.npmDir : context.systemFontDir) + "/" + source.fontFile;
}

std::string sdfLicencePath(const AssetContext& context, const SdfFontSource& source) {
    return (source.fromNpm ? context.npmDir : context.docDir) + "/" + source.licenceFile;
}

std::string sdfFontSourceNote(const SdfFontSource& source, const FontFile& font) {
    char note[256];
    std::snprintf(note, sizeof(note), "%s (%s), %zu bytes, CRC-32 %08x", source.fontFile,
                  source.package, font.fileBytes().size(), unsigned(crc32Of(font.fileBytes())));
    return note;
}
