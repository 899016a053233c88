// PreDelayLine: the gap between the dry sound and the onset of the reverb. A
// circular buffer read with linear interpolation, so the delay can glide
// smoothly (bending the pitch of the delayed signal while it moves) instead of
// jumping and clicking.
#pragma once

#include <cmath>
#include <cstdint>

#include "dsp/DelayMemory.h"
#include "dsp/Flush.h"

namespace ZEPHRA2F9C41D07 {

class PreDelayLine {
public:
    // Replaces the memory with lengthSamples samples (not zeroed) and resets the
    // write position. Delay and glide stay. False, nothing changed, on failure.
    bool allocate(int32_t lengthSamples);
    // Releases the memory; process must not be called afterwards.
    void release();
    // Zeroes the memory; write position, delay and glide stay.
    void clearMemory();

    // Starts a linear glide to targetSamples that ends exactly there after
    // steps calls of process. A count below 1 jumps at once.
    void glideTo(float targetSamples, int32_t steps);
    // Sets the delay at once and stops any glide.
    void setDelayNow(float delaySamples);

    float delaySamples() const { return currentDelay_; }
    bool gliding() const { return glideStepsLeft_ != 0; }
    float targetDelaySamples() const { return targetDelay_; }
    int32_t length() const { return memory_.length(); }

    // Access for the engine's sub-block path: the memory and the index of the
    // next write.
    float* samples() const { return memory_.data(); }
    int32_t writePosition() const { return writePosition_; }
    // The delays, in samples, that the next frames calls of process would read
    // with (the glide included), into delays[0 .. frames - 1]. Changes nothing.
    void upcomingDelays(float* delays, int32_t frames) const;
    // Moves the write index and the glide on as frames calls of process would,
    // without touching the memory (0 < frames < length).
    void skip(int32_t frames);

    // One sample: reads the delayed signal, then writes the input. The callers
    // keep the delay between 1 and length - 1 samples.
    float process(float input) {
        float* samples = memory_.data();
        const int32_t length = memory_.length();
        float readPos = static_cast<float>(writePosition_) - currentDelay_;
        if (readPos < 0.0f) readPos += static_cast<float>(length);
        int32_t i = static_cast<int32_t>(std::floor(readPos));
        // A delay a hair above the write position gives readPos = -tiny, which
        // rounds to exactly length after the wrap: fold it back into the line.
        if (i >= length) i -= length;
        const float frac = readPos - std::floor(readPos);
        int32_t j = i + 1;
        if (j >= length) j -= length;
        const float out = flushTiny((1.0f - frac) * samples[i] + frac * samples[j]);

        samples[writePosition_] = flushTiny(input);
        if (++writePosition_ >= length) writePosition_ = 0;

        stepGlide(currentDelay_, glideStepsLeft_);
        return out;
    }

private:
    // One sample's move of a running glide, on a delay and a count of steps
    // left: the delay moves by the increment and lands exactly on the target
    // with the last step; nothing when not gliding.
    void stepGlide(float& delay, int32_t& stepsLeft) const {
        if (stepsLeft != 0) {
            delay += increment_;
            if (--stepsLeft == 0) delay = targetDelay_;
        }
    }

    float currentDelay_ = 1.0f;
    float targetDelay_ = 1.0f;
    float increment_ = 0.0f;
    DelayMemory memory_;
    int32_t writePosition_ = 0;
    int32_t glideStepsLeft_ = 0;
};

}  // namespace ZEPHRA2F9C41D07
