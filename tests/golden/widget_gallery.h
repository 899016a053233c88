// The widget gallery: every widget kind of the toolkit in each of its states,
// on the editor's restore grey, drawn with the widgets' own calls. Knobs at
// 0, 25, 50, 75 and 100 in each cap colour the editor uses.
#pragma once

#include <cstdint>

struct afx_pixbuf;

constexpr int32_t kGalleryWidth = 400;
constexpr int32_t kGalleryHeight = 468;

// A new pixbuf holding the gallery (free with afx_pixbuf_free); null when the
// library's font atlases are not among the current module's resources.
afx_pixbuf* render_widget_gallery();
