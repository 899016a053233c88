// AllpassFilter: a Schroeder all-pass section. It passes every frequency at
// equal gain but smears each echo into a train of echoes, which turns the
// combs' distinct repeats into a dense plate-like wash.
#pragma once

#include <cstdint>

#include "dsp/DelayMemory.h"
#include "dsp/Flush.h"

namespace ZEPHRA2F9C41D07 {

class AllpassFilter {
public:
    // Replaces the delay memory with lengthSamples samples (not zeroed) and
    // resets the position. False, nothing changed, on failure.
    bool allocate(int32_t lengthSamples);
    // Releases the delay memory; process must not be called afterwards.
    void release();
    // Zeroes the delay memory; nothing else changes.
    void clearMemory();

    // Gain of the delayed sample written back (the reverb always uses 0.5).
    void setFeedback(float feedback) { feedback_ = feedback; }
    int32_t length() const { return memory_.length(); }

    // Access for the engine's sub-block path: the memory, the next read and
    // write index, and the gain of the delayed sample written back. As in a
    // comb, the first kMirroredLoopSamples of the loop are mirrored behind its end.
    float* samples() const { return memory_.data(); }
    int32_t position() const { return position_; }
    float feedback() const { return feedback_; }
    // Takes over where the sub-block path left the loop (0 <= position < length).
    void resume(int32_t position) { position_ = position; }

    // One sample: the delayed sample minus the input.
    float process(float input) {
        float* samples = memory_.data();
        const float delayed = flushTiny(samples[position_]);
        const float out = delayed - input;
        memory_.writeMirrored(position_, delayed * feedback_ + input);
        if (++position_ >= memory_.length()) position_ = 0;
        return out;
    }

private:
    float feedback_ = 0.0f;
    DelayMemory memory_;
    int32_t position_ = 0;
};

}  // namespace ZEPHRA2F9C41D07
