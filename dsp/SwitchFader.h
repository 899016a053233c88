// SwitchFader: an exponential crossfade between an "on" and an "off" signal,
// driven by a two-state switch. Each sample covers a fixed fraction of the
// remaining distance; inside 0.05 of the end it snaps there and stands still,
// so a settled fader costs nothing and passes its signal exactly.
#pragma once

#include <cmath>

namespace ZEPHRA2F9C41D07 {

class SwitchFader {
public:
    // Starts moving towards on (1) or off (0) from where the fader is, so a
    // reversal mid-fade turns back smoothly. A move over T ms settles after T:
    // the coefficient 3 / (T * fs) leaves e^-3 (just inside 0.05) after T.
    void configure(float riseMs, float fallMs, bool on, float sampleRate);
    // Jumps to on (1) or off (0), settled, with 20 ms coefficients.
    void setNow(bool on, float sampleRate);

    float position() const { return position_; }
    bool settled() const { return settled_; }

    // One sample: (1 - position) * off + position * on.
    float process(float on, float off) {
        step();
        return (1.0f - position_) * off + position_ * on;
    }

    // Moves the fader one sample on and returns the position that process
    // mixes that sample with. The engine's sub-block path uses it to lay out
    // the positions of a whole sub-block.
    float step() {
        if (!settled_) {
            if (target_ > 0.5f) {
                position_ = position_ + rise_ * (1.0f - position_);
            } else {
                position_ = position_ - fall_ * position_;
            }
            if (std::fabs(position_ - target_) < 0.05f) {
                position_ = target_;
                settled_ = true;
            }
        }
        return position_;
    }

private:
    float rise_ = 0.0f;
    float fall_ = 0.0f;
    float position_ = 0.0f;
    float target_ = 0.0f;
    bool settled_ = false;
};

}  // namespace ZEPHRA2F9C41D07
