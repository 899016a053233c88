// GainRamp: ramp setup; the per-sample advance is inline.
#include "dsp/GainRamp.h"

namespace ZEPHRA2F9C41D07 {

void GainRamp::rampTo(float target, int32_t steps) {
    // A ramp over no samples has no slope: treat it as a jump rather than
    // dividing by zero.
    if (steps < 1) {
        setNow(target);
        return;
    }
    target_ = target;
    remaining_ = static_cast<uint32_t>(steps);
    increment_ = (target - current_) / static_cast<float>(steps);
}

void GainRamp::setNow(float value) {
    current_ = value;
    target_ = value;
    remaining_ = 0;
}

}  // namespace ZEPHRA2F9C41D07
