// Fixed-point helpers of the shape drawers.
#include "afx/afx_fixed.h"

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

}  // namespace

int32_t afx_fx16(float value) { return static_cast<int32_t>(held(value) * 65536.0f); }

int32_t afx_fx8(float value) { return static_cast<int32_t>(held(value) * 256.0f); }

uint32_t afx_isqrt64(uint64_t value) {
    uint64_t root = 0;
    uint64_t bit = uint64_t(1) << 62;
    while (bit > value) bit >>= 2;
    while (bit != 0) {
        if (value >= root + bit) {
            value -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return static_cast<uint32_t>(root);
}

uint32_t afx_isqrt32(uint32_t value) {
    uint32_t root = 0;
    uint32_t bit = uint32_t(1) << 30;
    for (int round = 0; round < 16; ++round) {
        if (value >= root + bit) {
            value -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return root;
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
