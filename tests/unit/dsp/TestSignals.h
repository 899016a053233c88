// Deterministic test signals, the same on every toolchain.
#pragma once

#include <cstdint>
#include <vector>

namespace ZEPHRA2F9C41D07 {

// Uniform noise in [-amplitude, amplitude) from a fixed-seed xorshift generator.
inline std::vector<float> noise(size_t frames, uint32_t seed, float amplitude = 1.0f) {
    std::vector<float> out(frames);
    uint32_t state = seed * 2654435761u + 1u;
    for (float& x : out) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        x = amplitude * (static_cast<float>(state >> 8) / 8388608.0f - 1.0f);
    }
    return out;
}

}  // namespace ZEPHRA2F9C41D07
