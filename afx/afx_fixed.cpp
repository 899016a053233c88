// Fixed-point helpers of the shape drawers.
#include "afx/afx_fixed.h"

#include <cmath>

namespace {

float held(float value) {
    // Also turns a NaN into 0: every comparison with it fails.
    if (value > kAfxFixedLimitPx) return kAfxFixedLimitPx;
    if (value < -kAfxFixedLimitPx) return -kAfxFixedLimitPx;
    return value == value ? value : 0.0f;
}

// Arctangent of z / 65536 in turns x 65536, for |z| <= 65536: 8192 at z = 65536.
int32_t arctan_turns(int64_t z) {
    const int64_t magnitude = z < 0 ? -z : z;
    return static_cast<int32_t>(z * (11039 - (magnitude * 2847) / 65536) / 65536);
}

// floor(sqrt(value)) from an estimate of the root. The double root of any
// 64-bit value is within one of the exact root (53 mantissa bits against
// 32 bits of root); the integer steps then land on the exact floor whatever
// the estimate's rounding, so every toolchain gets the same root.
uint64_t exact_root(uint64_t value, double estimate) {
    constexpr uint64_t kLargest = 0xFFFFFFFFu;  // the largest root of a 64-bit value
    uint64_t root = estimate < static_cast<double>(kLargest) ? static_cast<uint64_t>(estimate) : kLargest;
    while (root * root > value) --root;
    while (root < kLargest && (root + 1) * (root + 1) <= value) ++root;
    return root;
}

}  // namespace

int32_t afx_fx16(float value) { return static_cast<int32_t>(held(value) * 65536.0f); }

int32_t afx_fx8(float value) { return static_cast<int32_t>(held(value) * 256.0f); }

uint32_t afx_isqrt64(uint64_t value) {
    return static_cast<uint32_t>(exact_root(value, std::sqrt(static_cast<double>(value))));
}

uint32_t afx_isqrt32(uint32_t value) {
    return static_cast<uint32_t>(exact_root(value, std::sqrt(static_cast<double>(value))));
}

int32_t afx_angle_fx16(int32_t cx, int32_t cy, int32_t px, int32_t py) {
    const int64_t x = int64_t(cx) - px;
    const int64_t y = int64_t(py) - cy;
    if (y == x) {
        if (x > 0) return 8192;
        return x < 0 ? 40960 : 0;
    }
    const int64_t ax = x < 0 ? -x : x;
    const int64_t ay = y < 0 ? -y : y;
    if (ay <= ax) {
        // Nearer the horizontal: measured from left (a quarter) or right (three quarters).
        return (x > 0 ? 16384 : 49152) - arctan_turns(y * 65536 / x);
    }
    // Nearer the vertical: from straight down, or from straight up.
    return arctan_turns(x * 65536 / y) + (y <= 0 ? 32768 : 0);
}
