// GainRamp: a gain that moves linearly to a new value over a given number of
// samples and lands on it exactly, so parameter changes never click.
#pragma once

#include <cstdint>

namespace ZEPHRA2F9C41D07 {

class GainRamp {
public:
    // Starts a ramp from wherever the gain is now to target, ending exactly at
    // target after steps calls of advance. A count below 1 jumps at once.
    void rampTo(float target, int32_t steps);
    // Sets the gain at once and stops any ramp.
    void setNow(float value);

    float current() const { return current_; }
    float target() const { return target_; }
    bool ramping() const { return remaining_ != 0; }

    // One sample's step of the running ramp; nothing when at rest.
    void advance() { step(current_, remaining_); }

    // frames calls of advance, recording the gain at each: before its advance
    // (afterAdvance false) or after it. The engine's sub-block path lays out
    // a sub-block's gains with it.
    void advanceBlock(float* gains, int32_t frames, bool afterAdvance) {
        float current = current_;
        uint32_t remaining = remaining_;
        for (int32_t n = 0; n < frames; ++n) {
            if (!afterAdvance) gains[n] = current;
            step(current, remaining);
            if (afterAdvance) gains[n] = current;
        }
        current_ = current;
        remaining_ = remaining;
    }

private:
    // The step itself, on a gain and a count of remaining samples: the gain
    // moves by the increment and lands exactly on the target with the last.
    void step(float& current, uint32_t& remaining) const {
        if (remaining != 0) {
            current += increment_;
            if (--remaining == 0) current = target_;
        }
    }

    float current_ = 0.0f;
    float target_ = 0.0f;
    float increment_ = 0.0f;
    uint32_t remaining_ = 0;
};

}  // namespace ZEPHRA2F9C41D07
