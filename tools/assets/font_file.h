// A font file loaded for stb_truetype: TrueType files as they are, WOFF web
// fonts decoded to TrueType first. The record keeps the bytes that stb's
// font info points into, so it is neither copied nor moved once loaded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <stb_truetype.h>

class FontFile {
public:
    FontFile() = default;
    FontFile(const FontFile&) = delete;
    FontFile& operator=(const FontFile&) = delete;

    // Loads and parses the file; false with a reason when it is missing or not a font.
    bool load(const std::string& path, std::string& error);

    const stbtt_fontinfo& info() const { return info_; }
    const std::string& path() const { return path_; }
    // The file as found on disk, for recording its size and checksum.
    const std::vector<uint8_t>& fileBytes() const { return fileBytes_; }

    // Pixels per font unit when the em square is `emPixels` high (the usual
    // meaning of a font size in pixels).
    double scaleForEm(double emPixels) const;
    int unitsPerEm() const;

    // Glyph index of a Unicode code point; 0 (the missing glyph) when absent.
    int glyphIndex(int codepoint) const;
    // Horizontal advance in font units.
    int advanceUnits(int glyph) const;

private:
    std::string path_;
    std::vector<uint8_t> fileBytes_;
    std::vector<uint8_t> sfnt_;
    stbtt_fontinfo info_{};
};
