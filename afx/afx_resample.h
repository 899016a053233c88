// The bicubic resampler's filter: cubic convolution (Catmull-Rom, a = -0.5)
// for 256 phases, four taps each, in units of 1/256, each row summing to 256.
#pragma once

#include <cstdint>

// The four weights of phase 0..255 (taps at -1, 0, +1, +2 source pixels).
const int32_t* afx_cubic_weights(uint32_t phase);
