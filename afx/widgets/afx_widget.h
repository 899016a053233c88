// What every widget kind shares: colour triples, the two value helpers, and
// the rules each kind follows. Widgets are plain records with free
// functions: the owner keeps them as members, hit-tests them in logical
// pixels, changes their state, then restores and draws the ones that changed
// into its back buffer and invalidates their dirty rectangles.
#pragma once

#include <cstdint>

// A colour as red, green, blue, each 0..255.
struct afx_rgb {
    uint32_t r, g, b;
};

// min(high, max(low, value)); a NaN gives low.
float afx_clamp(float value, float low, float high);
// The frame or step index of a normalised value: 0 when count < 1, else
// truncate(clamp(value, 0, 1) x (count - 1) + 0.5).
int32_t afx_value_to_index(float value, int32_t count);
