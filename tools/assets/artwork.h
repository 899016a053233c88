// The library's pictures drawn from code: the editor's panel, its picture
// buttons, the dialog images and the product mark of the icons. Every image
// is drawn with the toolkit's own pen and distance-field text, so the art
// and the controls drawn over it share one look. The text's font atlases
// come from the resources module the caller has set (afx_set_module).
#pragma once

#include <cstdint>
#include <vector>

struct afx_pixbuf;

// The face colour the controls restore to; every control's box on the panel
// is exactly this colour.
constexpr uint8_t kPanelFace = 40;

struct ArtImage {
    int32_t id;
    int32_t width, height;
    int32_t frameWidth, frameHeight;  // one frame; the frames are stacked top to bottom
    const char* file;                 // relative to resources/
    const char* what;
};

constexpr int kArtImageCount = 12;
extern const ArtImage kArtImages[kArtImageCount];

// A control's box on the panel, ends excluded: x < right, y < bottom.
struct PanelBox {
    int32_t x, y, width, height;
    const char* what;
};
constexpr int kPanelBoxCount = 16;
extern const PanelBox kPanelBoxes[kPanelBoxCount];

// Draws image `id` into a new pixbuf of its size (owned by the caller):
// opaque, but for the dialog's round keys, whose corners are clear; null for
// an unknown id or when the fonts or memory did not come.
afx_pixbuf* drawArtImage(int32_t id);

// The product mark as straight-alpha RGBA, size x size pixels.
std::vector<uint8_t> drawProductMark(int32_t size);

// An .ico file with one image per size: 256 as PNG, the others as 32-bit
// bitmaps with an all-clear AND mask.
std::vector<uint8_t> encodeIco(const std::vector<int32_t>& sizes);
