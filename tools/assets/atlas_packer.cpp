// Shelf packer for the glyph atlases.
#include "atlas_packer.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Places the items in `order` on shelves no wider than `width`; returns the
// height used (with the bottom gap).
int placeOnShelves(std::vector<PackItem>& items, const std::vector<size_t>& order, int width,
                   int gap) {
    int x = gap, y = gap, shelfHeight = 0;
    for (size_t index : order) {
        PackItem& item = items[index];
        if (x + item.width + gap > width && x > gap) {
            y += shelfHeight + gap;
            x = gap;
            shelfHeight = 0;
        }
        item.x = x;
        item.y = y;
        x += item.width + gap;
        shelfHeight = std::max(shelfHeight, item.height);
    }
    return y + shelfHeight + gap;
}

}  // namespace

PackedSize packShelves(std::vector<PackItem>& items, int gap) {
    std::vector<size_t> order(items.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&items](size_t a, size_t b) { return items[a].height > items[b].height; });

    long long area = 0;
    int widest = 0;
    for (const PackItem& item : items) {
        area += (long long)(item.width + gap) * (item.height + gap);
        widest = std::max(widest, item.width);
    }
    const int smallest = std::max(widest + 2 * gap, int(std::sqrt(double(area))));
    PackedSize best;
    long long bestArea = -1;
    for (int width = smallest; width <= 2 * smallest; ++width) {
        const int height = placeOnShelves(items, order, width, gap);
        const long long used = (long long)width * height;
        if (bestArea < 0 || used < bestArea) {
            bestArea = used;
            best = {width, height};
        }
    }
    placeOnShelves(items, order, best.width, gap);
    return best;
}
