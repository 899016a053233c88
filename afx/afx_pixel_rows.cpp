// The scalar row kernels, which define the results, and the choice between
// them and the vector kernels.
#include "afx/afx_pixel_rows.h"

#include <cstring>

#include "afx/afx_pixbuf.h"

namespace {

// Chosen once, at the first call.
const bool g_vector = afx_vector_rows_available();

}  // namespace

void afx_blend_row_scalar(const uint8_t* src, uint8_t* dst, int32_t count) {
    for (int32_t i = 0; i < count; ++i, src += 4, dst += 4) {
        const uint32_t a = src[3];
        dst[0] = static_cast<uint8_t>(afx_blend_channel(dst[0], src[0], a));
        dst[1] = static_cast<uint8_t>(afx_blend_channel(dst[1], src[1], a));
        dst[2] = static_cast<uint8_t>(afx_blend_channel(dst[2], src[2], a));
    }
}

void afx_blend_colour_row_scalar(uint32_t colour, uint8_t* dst, int32_t count) {
    const uint32_t r = colour & 0xFFu, g = (colour >> 8) & 0xFFu, b = (colour >> 16) & 0xFFu;
    const uint32_t a = colour >> 24;
    for (int32_t i = 0; i < count; ++i, dst += 4) {
        dst[0] = static_cast<uint8_t>(afx_blend_channel(dst[0], r, a));
        dst[1] = static_cast<uint8_t>(afx_blend_channel(dst[1], g, a));
        dst[2] = static_cast<uint8_t>(afx_blend_channel(dst[2], b, a));
    }
}

void afx_fill_row_scalar(uint32_t word, uint8_t* dst, int32_t count) {
    for (int32_t i = 0; i < count; ++i, dst += 4) std::memcpy(dst, &word, 4);
}

void afx_blend_row(const uint8_t* src, uint8_t* dst, int32_t count) {
    if (g_vector) afx_blend_row_vector(src, dst, count);
    else afx_blend_row_scalar(src, dst, count);
}

void afx_blend_colour_row(uint32_t colour, uint8_t* dst, int32_t count) {
    if (g_vector) afx_blend_colour_row_vector(colour, dst, count);
    else afx_blend_colour_row_scalar(colour, dst, count);
}

void afx_fill_row(uint32_t word, uint8_t* dst, int32_t count) {
    if (g_vector) afx_fill_row_vector(word, dst, count);
    else afx_fill_row_scalar(word, dst, count);
}
