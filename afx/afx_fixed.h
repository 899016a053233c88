// Fixed-point helpers of the shape drawers: float-to-16.16 conversion, the
// bit-by-bit integer square roots and the polynomial angle of a pixel around
// a centre. Everything per pixel is integer so that every toolchain draws the
// same bytes.
#pragma once

#include <cstdint>

// Positions beyond this many pixels from the origin are held at it, so that
// every 16.16 value and every square of a difference fits its integer.
constexpr float kAfxFixedLimitPx = 8192.0f;

// truncate(value x 65536), value first held inside +-kAfxFixedLimitPx.
int32_t afx_fx16(float value);
// truncate(value x 256), held the same way (pen radii).
int32_t afx_fx8(float value);

// floor(sqrt(value)), computed bit by bit over 32 rounds. A 32.32 sum of
// squares of 16.16 differences gives a 16.16 length.
uint32_t afx_isqrt64(uint64_t value);
// floor(sqrt(value)) for a 32-bit value, 16 rounds: over a 16.16 sum of
// squares it gives an 8.8 length (shift left by 8 for 16.16).
uint32_t afx_isqrt32(uint32_t value);

// Angle of the pixel (px, py) around the centre (cx, cy), all 16.16, in
// turns x 65536: 0 straight down, growing clockwise on the screen (left
// 16384, up 32768, right 49152); just right of straight down it is slightly
// negative. A polynomial arctangent good to about a tenth of a degree.
int32_t afx_angle_fx16(int32_t cx, int32_t cy, int32_t px, int32_t py);

// Coverage of a pixel whose signed distance to a shape's edge is distance_fx16
// (negative inside), as a blend alpha under the pen alpha: a one-pixel ramp
// that is full at half a pixel inside and zero at half a pixel outside.
inline uint32_t afx_coverage_alpha(int32_t distance_fx16, uint32_t pen_alpha) {
    int32_t c = 32768 - distance_fx16;
    if (c < 0) c = 0;
    if (c > 65535) c = 65535;
    return ((static_cast<uint32_t>(c >> 8) & 255u) * pen_alpha) >> 8;
}
