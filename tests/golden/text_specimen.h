// The text specimen sheet: every distance-field font at 8, 12, 16, 24, 48 and
// 64 pixels and the bitmap font at 1:1, once in white on dark grey and once
// in amber on black, drawn with the toolkit's own text calls.
#pragma once

#include <cstdint>

struct afx_pixbuf;

constexpr int32_t kSpecimenWidth = 1024;

// A new pixbuf holding the sheet (free with afx_pixbuf_free); null when the
// library's font atlases are not among the current module's resources.
afx_pixbuf* render_text_specimen();
