// PreDelayLine: memory handling and the glide setup; the per-sample step is inline.
#include "dsp/PreDelayLine.h"

namespace ZEPHRA2F9C41D07 {

bool PreDelayLine::allocate(int32_t lengthSamples) {
    if (!memory_.replace(lengthSamples)) return false;
    writePosition_ = 0;
    return true;
}

void PreDelayLine::release() {
    memory_.release();
    writePosition_ = 0;
}

void PreDelayLine::clearMemory() { memory_.zero(); }

void PreDelayLine::upcomingDelays(float* delays, int32_t frames) const {
    float delay = currentDelay_;
    int32_t stepsLeft = glideStepsLeft_;
    for (int32_t n = 0; n < frames; ++n) {
        delays[n] = delay;
        stepGlide(delay, stepsLeft);
    }
}

void PreDelayLine::skip(int32_t frames) {
    writePosition_ += frames;
    if (writePosition_ >= memory_.length()) writePosition_ -= memory_.length();
    for (int32_t n = 0; n < frames && glideStepsLeft_ != 0; ++n)
        stepGlide(currentDelay_, glideStepsLeft_);
}

void PreDelayLine::glideTo(float targetSamples, int32_t steps) {
    // A glide over no samples has no slope: treat it as a jump rather than
    // dividing by zero.
    if (steps < 1) {
        setDelayNow(targetSamples);
        return;
    }
    targetDelay_ = targetSamples;
    glideStepsLeft_ = steps;
    increment_ = (targetSamples - currentDelay_) / static_cast<float>(steps);
}

void PreDelayLine::setDelayNow(float delaySamples) {
    currentDelay_ = delaySamples;
    targetDelay_ = delaySamples;
    glideStepsLeft_ = 0;
}

}  // namespace ZEPHRA2F9C41D07
