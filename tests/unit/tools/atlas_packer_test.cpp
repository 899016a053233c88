// Atlas packing: boxes never touch, keep the sampler's spare pixel, fit the
// atlas, and the layout depends only on the boxes.
#include <gtest/gtest.h>

#include "atlas_packer.h"

namespace {

std::vector<PackItem> boxes() {
  std::vector<PackItem> items;
  for (int i = 0; i < 95; ++i) {
    PackItem item;
    item.width = i % 7 == 0 ? 0 : 10 + (i * 37) % 45;
    item.height = i % 7 == 0 ? 0 : 12 + (i * 53) % 50;
    items.push_back(item);
  }
  return items;
}

TEST(AtlasPacker, BoxesKeepAGapToEachOtherAndToTheEdges) {
  std::vector<PackItem> items = boxes();
  const PackedSize size = packShelves(items, 1);
  long long area = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    const PackItem& a = items[i];
    area += (long long)a.width * a.height;
    EXPECT_GE(a.x, 1);
    EXPECT_GE(a.y, 1);
    EXPECT_LE(a.x + a.width + 1, size.width);
    EXPECT_LE(a.y + a.height + 1, size.height);
    for (size_t j = 0; j < i; ++j) {
      const PackItem& b = items[j];
      // Grown by the gap, two boxes still do not overlap.
      const bool apart = a.x + a.width + 1 <= b.x || b.x + b.width + 1 <= a.x || a.y + a.height + 1 <= b.y ||
                         b.y + b.height + 1 <= a.y;
      EXPECT_TRUE(apart) << i << " and " << j;
    }
  }
  EXPECT_LT((long long)size.width * size.height, area * 3 / 2) << "shelves waste under a third";
}

TEST(AtlasPacker, SameBoxesSameLayout) {
  std::vector<PackItem> first = boxes(), second = boxes();
  const PackedSize a = packShelves(first, 1), b = packShelves(second, 1);
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].x, second[i].x);
    EXPECT_EQ(first[i].y, second[i].y);
  }
}

}  // namespace
