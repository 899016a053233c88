// DelayMemory: the sample memory of one delay element (comb, all-pass or
// pre-delay). Sized only by the engine's prepare; the audio thread just reads
// and writes samples through data().
#pragma once

#include <cstdint>

namespace ZEPHRA2F9C41D07 {

class DelayMemory {
public:
    DelayMemory() = default;
    ~DelayMemory();
    DelayMemory(const DelayMemory&) = delete;
    DelayMemory& operator=(const DelayMemory&) = delete;

    // Obtains lengthSamples new samples (not zeroed) and only then releases the
    // old memory; keeps the memory it has when that is already lengthSamples
    // long. False, with the old memory kept, when lengthSamples < 1 or the
    // memory cannot be obtained (never throws).
    bool replace(int32_t lengthSamples);
    // Releases the memory; length becomes 0.
    void release();
    // Fills every sample with 0; no-op without memory.
    void zero();

    float* data() const { return samples_; }
    int32_t length() const { return length_; }

private:
    float* samples_ = nullptr;
    int32_t length_ = 0;
};

}  // namespace ZEPHRA2F9C41D07
