// CombFilter: a feedback delay line with a one-pole low-pass in its loop, the
// resonator of the reverb. The loop gain sets the decay time, the low-pass
// makes high frequencies die away faster than low ones.
#pragma once

#include <cstdint>

#include "dsp/DelayMemory.h"
#include "dsp/Flush.h"

namespace ZEPHRA2F9C41D07 {

class CombFilter {
public:
    // Replaces the delay memory with lengthSamples samples (not zeroed), and
    // resets position and filter state. False, nothing changed, on failure.
    bool allocate(int32_t lengthSamples);
    // Releases the delay memory; process must not be called afterwards.
    void release();
    // Zeroes the delay memory; position, filter state and coefficients stay.
    void clearMemory();

    // Gain of the filtered signal written back into the loop.
    void setFeedback(float feedback);
    // Weight c of the old low-pass state; the new sample gets 1 - c.
    void setDampingCoefficient(float coefficient);

    float feedback() const { return feedback_; }
    float dampingCoefficient() const { return damping_; }
    float filterState() const { return filterState_; }
    int32_t length() const { return memory_.length(); }

    // Access for the engine's sub-block path, which runs many frames of the
    // loop at once: the loop memory, the next read and write index, and the
    // weight of the newly read sample in the low-pass. The first
    // kMirroredLoopSamples of the loop are mirrored behind its end, so that a
    // sub-block's samples always lie in one row.
    float* samples() const { return memory_.data(); }
    int32_t position() const { return position_; }
    float dampingComplement() const { return dampingComplement_; }
    // Takes over where the sub-block path left the loop: the next index and
    // the low-pass memory (0 <= position < length).
    void resume(int32_t position, float filterState) {
        position_ = position;
        filterState_ = filterState;
    }

    // One sample: returns the sample read from the loop, length samples after
    // it was written, before the low-pass.
    float process(float input) {
        float* samples = memory_.data();
        const float out = flushTiny(samples[position_]);
        filterState_ = flushTiny(damping_ * filterState_ + dampingComplement_ * out);
        memory_.writeMirrored(position_, filterState_ * feedback_ + input);
        if (++position_ >= memory_.length()) position_ = 0;
        return out;
    }

private:
    float feedback_ = 0.0f;
    float filterState_ = 0.0f;
    float damping_ = 0.0f;
    float dampingComplement_ = 0.0f;
    DelayMemory memory_;
    int32_t position_ = 0;
};

}  // namespace ZEPHRA2F9C41D07
