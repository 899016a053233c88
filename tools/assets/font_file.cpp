// Font loading for the generator.
#include "font_file.h"

#include "asset_paths.h"
#include "woff.h"

bool FontFile::load(const std::string& path, std::string& error) {
    path_ = path;
    if (!readFileBytes(path, fileBytes_) || fileBytes_.empty()) {
        error = "cannot read font file " + path;
        return false;
    }
    if (isWoff(fileBytes_)) {
        std::string why;
        if (!woffToSfnt(fileBytes_, sfnt_, why)) {
            error = path + ": " + why;
            return false;
        }
    } else {
        sfnt_ = fileBytes_;
    }
    const int offset = stbtt_GetFontOffsetForIndex(sfnt_.data(), 0);
    if (offset < 0 || !stbtt_InitFont(&info_, sfnt_.data(), offset)) {
        error = path + ": not a TrueType/OpenType font";
        return false;
    }
    return true;
}

int FontFile::unitsPerEm() const {
    // 'head' table, unitsPerEm at byte 18; stb exposes the table offset.
    const uint8_t* head = info_.data + info_.head;
    return (head[18] << 8) | head[19];
}

double FontFile::scaleForEm(double emPixels) const { return emPixels / double(unitsPerEm()); }

int FontFile::glyphIndex(int codepoint) const { return stbtt_FindGlyphIndex(&info_, codepoint); }

int FontFile::advanceUnits(int glyph) const {
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(&info_, glyph, &advance, &bearing);
    return advance;
}
