// WOFF 1.0 decoding: each table is either stored or zlib-compressed; the sfnt
// is the same tables behind a rebuilt offset table, each 4-byte aligned.
#include "woff.h"

#include <algorithm>

#include <stb_image.h>

namespace {

constexpr size_t kWoffHeaderBytes = 44;
constexpr size_t kWoffEntryBytes = 20;
constexpr size_t kSfntHeaderBytes = 12;
constexpr size_t kSfntRecordBytes = 16;

uint32_t readBe32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
           b[at + 3];
}

uint16_t readBe16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>((b[at] << 8) | b[at + 1]);
}

void putBe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v >> 24);
    b[at + 1] = uint8_t(v >> 16);
    b[at + 2] = uint8_t(v >> 8);
    b[at + 3] = uint8_t(v);
}

void putBe16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = uint8_t(v >> 8);
    b[at + 1] = uint8_t(v);
}

}  // namespace

bool isWoff(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 4 && readBe32(bytes, 0) == 0x774F4646u;  // "wOFF"
}

bool woffToSfnt(const std::vector<uint8_t>& woff, std::vector<uint8_t>& sfnt, std::string& error) {
    if (!isWoff(woff) || woff.size() < kWoffHeaderBytes) {
        error = "not a WOFF 1.0 file";
        return false;
    }
    const uint32_t flavor = readBe32(woff, 4);
    const uint16_t tableCount = readBe16(woff, 12);
    if (tableCount == 0 || kWoffHeaderBytes + size_t(tableCount) * kWoffEntryBytes > woff.size()) {
        error = "WOFF table directory runs past the end of the file";
        return false;
    }

    // Binary-search helpers of the sfnt offset table.
    uint16_t power = 1, log2 = 0;
    while (power * 2 <= tableCount) {
        power = static_cast<uint16_t>(power * 2);
        ++log2;
    }
    const size_t directoryBytes = kSfntHeaderBytes + size_t(tableCount) * kSfntRecordBytes;
    sfnt.assign(directoryBytes, 0);
    putBe32(sfnt, 0, flavor);
    putBe16(sfnt, 4, tableCount);
    putBe16(sfnt, 6, static_cast<uint16_t>(power * 16));
    putBe16(sfnt, 8, log2);
    putBe16(sfnt, 10, static_cast<uint16_t>(tableCount * 16 - power * 16));

    for (uint16_t t = 0; t < tableCount; ++t) {
        const size_t entry = kWoffHeaderBytes + size_t(t) * kWoffEntryBytes;
        const uint32_t tag = readBe32(woff, entry);
        const uint32_t offset = readBe32(woff, entry + 4);
        const uint32_t compLength = readBe32(woff, entry + 8);
        const uint32_t origLength = readBe32(woff, entry + 12);
        const uint32_t checksum = readBe32(woff, entry + 16);
        if (size_t(offset) + compLength > woff.size() || compLength > origLength) {
            error = "WOFF table lies outside the file";
            return false;
        }
        const size_t at = sfnt.size();
        sfnt.resize(at + ((origLength + 3u) & ~3u), 0);
        if (compLength == origLength) {
            std::copy(woff.begin() + offset, woff.begin() + offset + compLength,
                      sfnt.begin() + long(at));
        } else {
            const int inflated = stbi_zlib_decode_buffer(
                reinterpret_cast<char*>(sfnt.data() + at), int(origLength),
                reinterpret_cast<const char*>(woff.data() + offset), int(compLength));
            if (inflated != int(origLength)) {
                error = "WOFF table does not inflate to its recorded length";
                return false;
            }
        }
        const size_t record = kSfntHeaderBytes + size_t(t) * kSfntRecordBytes;
        putBe32(sfnt, record, tag);
        putBe32(sfnt, record + 4, checksum);
        putBe32(sfnt, record + 8, static_cast<uint32_t>(at));
        putBe32(sfnt, record + 12, origLength);
    }
    return true;
}
