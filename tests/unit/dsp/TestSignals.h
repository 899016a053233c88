// Deterministic test signals, the same on every toolchain: the suite's one
// source of noise, impulses and silence.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace ZEPHRA2F9C41D07 {

// The next number of a xorshift generator.
inline uint32_t nextRandom(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    return state ^= state << 5;
}

// Uniform noise in [-amplitude, amplitude) from a fixed seed.
inline std::vector<float> noise(size_t frames, uint32_t seed, float amplitude = 1.0f) {
    std::vector<float> out(frames);
    uint32_t state = seed * 2654435761u + 1u;
    for (float& x : out)
        x = amplitude * (static_cast<float>(nextRandom(state) >> 8) / 8388608.0f - 1.0f);
    return out;
}

struct Stereo {
    std::vector<float> left;
    std::vector<float> right;
    size_t frames() const { return left.size(); }
};

// Both sides at one level (silence by default).
inline Stereo constant(size_t frames, float level = 0.0f) {
    return {std::vector<float>(frames, level), std::vector<float>(frames, level)};
}
inline Stereo silence(size_t frames) { return constant(frames); }

inline Stereo stereoNoise(size_t frames, uint32_t seed, float amplitude = 1.0f) {
    return {noise(frames, seed, amplitude), noise(frames, seed + 1000, amplitude)};
}

inline Stereo impulse(size_t frames, float height = 1.0f) {
    Stereo s = silence(frames);
    s.left[0] = height;
    s.right[0] = height;
    return s;
}

// The largest magnitude in x[from, to).
inline float peak(const std::vector<float>& x, size_t from = 0, size_t to = SIZE_MAX) {
    float p = 0.0f;
    for (size_t n = from; n < std::min(to, x.size()); ++n) p = std::max(p, std::fabs(x[n]));
    return p;
}

}  // namespace ZEPHRA2F9C41D07
