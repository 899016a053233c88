// Packing glyph boxes into one atlas image, deterministically.
#pragma once

#include <vector>

struct PackItem {
    int width = 0, height = 0;  // box size in pixels (may be 0 x 0)
    int x = 0, y = 0;           // placed top-left corner (output)
};

struct PackedSize {
    int width = 0, height = 0;
};

// Shelf packing, tallest boxes first (ties in input order). Every box keeps
// `gap` empty pixels to its neighbours and to every atlas edge, because a
// bilinear sampler at a box's last column reads one pixel beyond it. Of the
// widths that could hold the widest box, the one giving the smallest area
// wins (the narrower on a tie), so the result depends on the boxes alone.
PackedSize packShelves(std::vector<PackItem>& items, int gap);
