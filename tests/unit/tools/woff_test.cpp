// WOFF decoding against a WOFF built here from a TrueType file: every table
// comes back byte for byte, and stb_truetype reads the result.
#include <gtest/gtest.h>

#include <cstdlib>

#include "asset_paths.h"
#include "font_file.h"
#include "woff.h"

// stb_image_write's deflate encoder (compiled into the generator for PNG
// files): an encoder independent of the decoder under test.
extern "C" unsigned char* stbi_zlib_compress(unsigned char* data, int length, int* outLength,
                                             int quality);

namespace {

const char* const kTrueType = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

uint32_t be32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
           b[at + 3];
}

void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(uint8_t(v >> s));
}

struct Table {
    uint32_t tag;
    std::vector<uint8_t> bytes;
};

std::vector<Table> sfntTables(const std::vector<uint8_t>& sfnt) {
    std::vector<Table> tables;
    const int count = (sfnt[4] << 8) | sfnt[5];
    for (int i = 0; i < count; ++i) {
        const size_t record = 12 + size_t(i) * 16;
        const uint32_t offset = be32(sfnt, record + 8), length = be32(sfnt, record + 12);
        tables.push_back(
            {be32(sfnt, record),
             std::vector<uint8_t>(sfnt.begin() + offset, sfnt.begin() + offset + length)});
    }
    return tables;
}

// A WOFF 1.0 file: header, directory, then each table deflated when that
// makes it smaller (as the format's encoders do) and stored otherwise.
std::vector<uint8_t> encodeWoff(const std::vector<uint8_t>& sfnt) {
    const std::vector<Table> tables = sfntTables(sfnt);
    std::vector<std::vector<uint8_t>> bodies;
    for (const Table& t : tables) {
        std::vector<uint8_t> raw = t.bytes;
        int size = 0;
        unsigned char* deflated = stbi_zlib_compress(raw.data(), int(raw.size()), &size, 8);
        std::vector<uint8_t> packed(deflated, deflated + size);
        std::free(deflated);
        bodies.push_back(packed.size() < t.bytes.size() ? packed : t.bytes);
    }
    std::vector<uint8_t> woff;
    put32(woff, 0x774F4646u);
    put32(woff, be32(sfnt, 0));
    put32(woff, 0);  // total length: patched below
    woff.push_back(uint8_t(tables.size() >> 8));
    woff.push_back(uint8_t(tables.size()));
    woff.push_back(0);
    woff.push_back(0);
    for (int i = 0; i < 7; ++i) put32(woff, 0);  // sfnt size, version, metadata, private data
    size_t offset = 44 + tables.size() * 20;
    for (size_t i = 0; i < tables.size(); ++i) {
        put32(woff, tables[i].tag);
        put32(woff, uint32_t(offset));
        put32(woff, uint32_t(bodies[i].size()));
        put32(woff, uint32_t(tables[i].bytes.size()));
        put32(woff, 0);
        offset += (bodies[i].size() + 3) & ~size_t(3);
    }
    for (const std::vector<uint8_t>& body : bodies) {
        woff.insert(woff.end(), body.begin(), body.end());
        woff.resize((woff.size() + 3) & ~size_t(3), 0);
    }
    const uint32_t total = uint32_t(woff.size());
    for (int k = 0; k < 4; ++k) woff[8 + k] = uint8_t(total >> (24 - 8 * k));
    return woff;
}

TEST(Woff, DecodesEveryTableBackToTheTrueTypeBytes) {
    std::vector<uint8_t> ttf;
    ASSERT_TRUE(readFileBytes(kTrueType, ttf)) << kTrueType;
    const std::vector<uint8_t> woff = encodeWoff(ttf);
    ASSERT_TRUE(isWoff(woff));
    ASSERT_LT(woff.size(), ttf.size()) << "the test file should exercise compressed tables";
    std::vector<uint8_t> sfnt;
    std::string error;
    ASSERT_TRUE(woffToSfnt(woff, sfnt, error)) << error;
    const std::vector<Table> want = sfntTables(ttf), got = sfntTables(sfnt);
    ASSERT_EQ(want.size(), got.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(want[i].tag, got[i].tag);
        EXPECT_TRUE(want[i].bytes == got[i].bytes) << "table " << i;
    }
    stbtt_fontinfo info;
    ASSERT_TRUE(stbtt_InitFont(&info, sfnt.data(), 0));
    int advance = 0, bearing = 0;
    stbtt_GetCodepointHMetrics(&info, 'A', &advance, &bearing);
    EXPECT_EQ(1401, advance) << "DejaVu Sans 'A' advance in font units";
}

TEST(Woff, RejectsDamagedFiles) {
    std::vector<uint8_t> ttf;
    ASSERT_TRUE(readFileBytes(kTrueType, ttf));
    const std::vector<uint8_t> woff = encodeWoff(ttf);
    std::vector<uint8_t> sfnt;
    std::string error;
    EXPECT_FALSE(isWoff(ttf));
    EXPECT_FALSE(woffToSfnt(ttf, sfnt, error));
    const std::vector<uint8_t> cut(woff.begin(), woff.begin() + long(woff.size() / 2));
    EXPECT_FALSE(woffToSfnt(cut, sfnt, error)) << "tables past the end of the file";
    std::vector<uint8_t> garbled = woff;
    const size_t firstTable = be32(woff, 44 + 4);
    for (size_t i = firstTable; i < firstTable + 8; ++i) garbled[i] ^= 0x5A;
    EXPECT_FALSE(woffToSfnt(garbled, sfnt, error) && sfnt == ttf);
}

TEST(Woff, FontFileLoadsTheWebFontsLikeTrueType) {
    std::vector<uint8_t> ttf;
    ASSERT_TRUE(readFileBytes(kTrueType, ttf));
    const std::string path = "/tmp/korvex-assets-woff-test.woff";
    ASSERT_TRUE(writeFileIfChanged(path, encodeWoff(ttf)));
    FontFile web, plain;
    std::string error;
    ASSERT_TRUE(web.load(path, error)) << error;
    ASSERT_TRUE(plain.load(kTrueType, error)) << error;
    EXPECT_EQ(2048, web.unitsPerEm());
    for (int code = 32; code < 127; ++code) {
        EXPECT_EQ(plain.glyphIndex(code), web.glyphIndex(code));
        EXPECT_EQ(plain.advanceUnits(plain.glyphIndex(code)),
                  web.advanceUnits(web.glyphIndex(code)));
    }
    std::remove(path.c_str());
}

}  // namespace
