// Row kernels behind the pixbuf operations: a scalar version and one that
// takes 8 pixels at a time with vector instructions. Both give identical
// results; the vector one is used when the processor has it.
#pragma once

#include <cstdint>

// dst[i] = src[i]'s colour blended over dst[i] with src[i]'s alpha; dst alpha kept.
void afx_blend_row_scalar(const uint8_t* src, uint8_t* dst, int32_t count);
void afx_blend_row_vector(const uint8_t* src, uint8_t* dst, int32_t count);
// A constant colour (r, g, b, alpha as bytes in one little-endian word) blended over a row.
void afx_blend_colour_row_scalar(uint32_t colour, uint8_t* dst, int32_t count);
void afx_blend_colour_row_vector(uint32_t colour, uint8_t* dst, int32_t count);
// Stores one word into count pixels.
void afx_fill_row_scalar(uint32_t word, uint8_t* dst, int32_t count);
void afx_fill_row_vector(uint32_t word, uint8_t* dst, int32_t count);
// True when the vector kernels run with vector instructions on this processor.
bool afx_vector_rows_available();

// The kernels the pixbuf operations use, chosen once.
void afx_blend_row(const uint8_t* src, uint8_t* dst, int32_t count);
void afx_blend_colour_row(uint32_t colour, uint8_t* dst, int32_t count);
void afx_fill_row(uint32_t word, uint8_t* dst, int32_t count);
