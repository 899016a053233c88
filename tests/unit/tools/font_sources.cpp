// The committed font tables, compiled the way the library compiles them.
#include "font_sources.h"

#include <sys/stat.h>

namespace {

const SdfGlyph kDejaVuSans[] = {
#include "resources/fonts/1024-dejavu-sans.glyphs.inc"
};
const SdfGlyph kSaira[] = {
#include "resources/fonts/1025-saira.glyphs.inc"
};
const SdfGlyph kMichroma[] = {
#include "resources/fonts/1026-michroma.glyphs.inc"
};
const SdfGlyph kArialSmall[] = {
#include "resources/fonts/1027-arial-small.glyphs.inc"
};

struct ListedFont {
    int resourceId;
    const char* name;
    int baseSize, atlasWidth, atlasHeight, glyphCount;
    const char* atlasFile;
};

const ListedFont kListed[] = {
#define KORVEX_SDF_FONT(id, name, base, w, h, count, atlas, table) \
    {id, name, base, w, h, count, atlas},
#include "resources/fonts/fonts.inc"
#undef KORVEX_SDF_FONT
};
static_assert(sizeof(kListed) / sizeof(kListed[0]) == 4, "four distance-field fonts are listed");

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
           b[at + 3];
}

CommittedSdfFont committed(int index, const SdfGlyph* glyphs, size_t rows) {
    const ListedFont& f = kListed[index];
    return {f.resourceId, f.name,      f.baseSize, f.atlasWidth, f.atlasHeight,
            f.glyphCount, f.atlasFile, glyphs,     rows};
}

}  // namespace

const CommittedSdfFont kCommittedSdfFonts[4] = {
    committed(0, kDejaVuSans, sizeof(kDejaVuSans) / sizeof(SdfGlyph)),
    committed(1, kSaira, sizeof(kSaira) / sizeof(SdfGlyph)),
    committed(2, kMichroma, sizeof(kMichroma) / sizeof(SdfGlyph)),
    committed(3, kArialSmall, sizeof(kArialSmall) / sizeof(SdfGlyph)),
};

AssetContext testAssetContext() {
    AssetContext context = defaultAssetContext();
    context.npmDir = std::string(KORVEX_SOURCE_DIR) + "/tools/assets/node_modules";
    return context;
}

std::vector<uint8_t> committedFile(const std::string& relativePath) {
    std::vector<uint8_t> bytes;
    readFileBytes(std::string(KORVEX_SOURCE_DIR) + "/" + relativePath, bytes);
    return bytes;
}

bool loadCommittedAtlas(const CommittedSdfFont& font, int& width, int& height,
                        std::vector<uint8_t>& red) {
    const std::vector<uint8_t> bytes = committedFile(std::string("resources/") + font.atlasFile);
    if (bytes.size() < 24 || be32(bytes, 0) != 0x47646B50u || be32(bytes, 8) != 0x01010002u)
        return false;
    width = int(be32(bytes, 16));
    height = int(be32(bytes, 20));
    const uint32_t stride = be32(bytes, 12);
    if (stride != uint32_t(width) * 4u || be32(bytes, 4) != bytes.size() ||
        bytes.size() != 24u + size_t(stride) * size_t(height)) {
        return false;
    }
    red.resize(size_t(width) * size_t(height));
    for (size_t i = 0; i < red.size(); ++i) red[i] = bytes[24 + i * 4];
    return true;
}

bool fileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}
