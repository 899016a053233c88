// SwitchFader: coefficient setup; the per-sample crossfade is inline.
#include "dsp/SwitchFader.h"

#include <algorithm>

namespace ZEPHRA2F9C41D07 {

namespace {
// Fraction of the remaining distance covered per sample for a move of timeMs.
// Times below a microsecond are taken as one: a zero time would divide by zero.
// A move shorter than three samples would step past the end and, beyond a
// coefficient of 2, swing ever wider: such a move simply jumps (coefficient 1).
float coefficientFor(float timeMs, float sampleRate) {
    return std::min(3.0f / ((std::max(timeMs, 0.001f) / 1000.0f) * sampleRate), 1.0f);
}
}  // namespace

void SwitchFader::configure(float riseMs, float fallMs, bool on, float sampleRate) {
    settled_ = false;
    rise_ = coefficientFor(riseMs, sampleRate);
    fall_ = coefficientFor(fallMs, sampleRate);
    target_ = on ? 1.0f : 0.0f;
}

void SwitchFader::setNow(bool on, float sampleRate) {
    rise_ = std::min(3.0f / (0.02f * sampleRate), 1.0f);
    fall_ = rise_;
    target_ = on ? 1.0f : 0.0f;
    position_ = target_;
    settled_ = true;
}

}  // namespace ZEPHRA2F9C41D07
