// Row kernels of the bicubic resampler: the horizontal pass over one source
// row and the vertical pass into one bitmap row. A scalar version defines the
// results; the vector version takes 4 pixels at a time and gives identical
// bytes. Intermediate pixels are words in the bitmap's channel order (blue in
// bits 0-7, green 8-15, red 16-23), so the vertical pass writes them as they are.
#pragma once

#include <cstdint>

// One destination column of the horizontal pass: the source column of its
// first tap (one left of the position, not clamped) and its filter phase.
struct afx_resample_column {
    int32_t first_tap;
    uint32_t phase;
};

// Horizontal pass over one source row of source_width pixels (R, G, B, A
// bytes): out[i] = the four taps from columns[i].first_tap on, each clamped
// into the row, filtered with the phase's weights; channels clamped to 0..255
// after the >> 8; alpha byte 255.
void afx_resample_hrow_scalar(const uint8_t* source_row, int32_t source_width,
                              const afx_resample_column* columns, uint32_t* out, int32_t count);
void afx_resample_hrow_vector(const uint8_t* source_row, int32_t source_width,
                              const afx_resample_column* columns, uint32_t* out, int32_t count);

// Vertical pass: bitmap pixel i (3 bytes, blue first, at out + 3 i) = the four
// rows' pixel i filtered with weights w (taps at -1, 0, +1, +2), clamped the
// same way. Writes exactly 3 x count bytes.
void afx_resample_vrow_scalar(const uint32_t* const rows[4], const int32_t w[4], uint8_t* out,
                              int32_t count);
void afx_resample_vrow_vector(const uint32_t* const rows[4], const int32_t w[4], uint8_t* out,
                              int32_t count);

// The kernels the resampler uses, chosen once like the pixbuf row kernels.
void afx_resample_hrow(const uint8_t* source_row, int32_t source_width,
                       const afx_resample_column* columns, uint32_t* out, int32_t count);
void afx_resample_vrow(const uint32_t* const rows[4], const int32_t w[4], uint8_t* out,
                       int32_t count);
