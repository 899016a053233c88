// Resampling kernels for processors without the x86-64 vector unit: the
// vector entry points are the scalar ones.
#include "afx/afx_resample_rows.h"

void afx_resample_hrow_vector(const uint8_t* source_row, int32_t source_width,
                              const afx_resample_column* columns, uint32_t* out, int32_t count) {
    afx_resample_hrow_scalar(source_row, source_width, columns, out, count);
}

void afx_resample_vrow_vector(const uint32_t* const rows[4], const int32_t w[4], uint8_t* out,
                              int32_t count) {
    afx_resample_vrow_scalar(rows, w, out, count);
}
