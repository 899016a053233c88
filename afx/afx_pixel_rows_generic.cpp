// Row kernels for processors without the x86-64 vector unit: the vector entry
// points are the scalar ones.
#include "afx/afx_pixel_rows.h"

bool afx_vector_rows_available() { return false; }

void afx_blend_row_vector(const uint8_t* src, uint8_t* dst, int32_t count) {
    afx_blend_row_scalar(src, dst, count);
}

void afx_blend_colour_row_vector(uint32_t colour, uint8_t* dst, int32_t count) {
    afx_blend_colour_row_scalar(colour, dst, count);
}

void afx_fill_row_vector(uint32_t word, uint8_t* dst, int32_t count) {
    afx_fill_row_scalar(word, dst, count);
}
