// Pixel-data image encoding and its strict reader (used by the tests and by
// the previews that redraw from the written files).
#include "pixdata.h"

namespace {

void putBe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v >> 24);
    b[at + 1] = uint8_t(v >> 16);
    b[at + 2] = uint8_t(v >> 8);
    b[at + 3] = uint8_t(v);
}

uint32_t readBe32(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
           b[at + 3];
}

}  // namespace

std::vector<uint8_t> encodePixdata(int width, int height, const std::vector<uint8_t>& rgba) {
    const uint32_t stride = uint32_t(width) * 4u;
    const size_t pixelBytes = size_t(stride) * uint32_t(height);
    std::vector<uint8_t> bytes(kPixdataHeaderBytes + pixelBytes, 0);
    putBe32(bytes, 0, kPixdataMagic);
    putBe32(bytes, 4, uint32_t(kPixdataHeaderBytes + pixelBytes));
    putBe32(bytes, 8, kPixdataRawRgba8);
    putBe32(bytes, 12, stride);
    putBe32(bytes, 16, uint32_t(width));
    putBe32(bytes, 20, uint32_t(height));
    for (size_t i = 0; i < pixelBytes && i < rgba.size(); ++i)
        bytes[kPixdataHeaderBytes + i] = rgba[i];
    return bytes;
}

bool decodePixdata(const std::vector<uint8_t>& bytes, int& width, int& height,
                   std::vector<uint8_t>& rgba) {
    if (bytes.size() < kPixdataHeaderBytes || readBe32(bytes, 0) != kPixdataMagic) return false;
    if (readBe32(bytes, 8) != kPixdataRawRgba8) return false;
    const uint32_t length = readBe32(bytes, 4), stride = readBe32(bytes, 12);
    const uint32_t w = readBe32(bytes, 16), h = readBe32(bytes, 20);
    if (w == 0 || h == 0 || w > 16384 || h > 16384 || stride != w * 4u) return false;
    if (length != bytes.size() || length != kPixdataHeaderBytes + size_t(stride) * h) return false;
    width = int(w);
    height = int(h);
    rgba.assign(bytes.begin() + kPixdataHeaderBytes, bytes.end());
    return true;
}
