// The pixel-data image format the library embeds: a 24-byte big-endian header
// ("GdkP", total length, type 0x01010002 = raw 8-bit RGBA, row stride, width,
// height) followed by the RGBA rows, top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint32_t kPixdataMagic = 0x47646B50u;     // "GdkP"
constexpr uint32_t kPixdataRawRgba8 = 0x01010002u;  // raw encoding, 8-bit samples, RGBA
constexpr size_t kPixdataHeaderBytes = 24;

// Header plus pixels; `rgba` holds width x height x 4 bytes.
std::vector<uint8_t> encodePixdata(int width, int height, const std::vector<uint8_t>& rgba);

// Checks magic, type, length and stride; false for anything else.
bool decodePixdata(const std::vector<uint8_t>& bytes, int& width, int& height,
                   std::vector<uint8_t>& rgba);
