// What the text files share behind afx_text.h: finding a code's glyph in the
// current font, and rasterising it at the pen. Widgets and dialogs use
// afx_text.h only.
#pragma once

#include <cstdint>

#include "afx/afx_text.h"

// The glyph of code c in the text's font; null for codes outside 32..126 and
// when the font has no glyph table.
const afx_glyph* afx_text_glyph(const afx_text* text, int32_t c);
// Draws code c at the pen (when it has a glyph) and advances the pen by the
// glyph's advance, also when nothing of it lands inside the clip box.
void afx_text_draw_char(afx_text* text, int32_t c);
