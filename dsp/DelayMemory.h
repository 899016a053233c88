// DelayMemory: the sample memory of one delay element (comb, all-pass or
// pre-delay). Sized only by the engine's prepare; the audio thread just reads
// and writes samples through data().
#pragma once

#include <cstdint>

#include "dsp/SubBlock.h"

namespace ZEPHRA2F9C41D07 {

// How many of a comb's or all-pass's first samples are mirrored behind the
// loop's end: a whole sub-block of the engine's block path.
constexpr int32_t kMirroredLoopSamples = kMaxSubBlockFrames;

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
    //
    // mirrored samples more (at most lengthSamples) follow the last one, where
    // the writers keep a copy of the first ones (writeMirrored): a run of up
    // to mirrored samples from any index can then be read and written as one
    // row, without wrapping round the end.
    bool replace(int32_t lengthSamples, int32_t mirrored = 0);
    // Releases the memory; length becomes 0.
    void release();
    // Fills every sample with 0; no-op without memory.
    void zero();

    float* data() const { return samples_; }
    int32_t length() const { return length_; }
    int32_t mirrored() const { return mirrored_; }

    // Stores value at index (0 <= index < length), and in the copy behind
    // the end where the index has one.
    void writeMirrored(int32_t index, float value) {
        samples_[index] = value;
        if (index < mirrored_) samples_[length_ + index] = value;
    }

private:
    float* samples_ = nullptr;
    int32_t length_ = 0;
    int32_t mirrored_ = 0;
};

}  // namespace ZEPHRA2F9C41D07
