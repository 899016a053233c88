// CombFilter: memory and coefficient handling; the per-sample loop is inline.
#include "dsp/CombFilter.h"

namespace ZEPHRA2F9C41D07 {

bool CombFilter::allocate(int32_t lengthSamples) {
    if (!memory_.replace(lengthSamples, kMirroredLoopSamples)) return false;
    position_ = 0;
    filterState_ = 0.0f;
    return true;
}

void CombFilter::release() {
    memory_.release();
    position_ = 0;
}

void CombFilter::clearMemory() { memory_.zero(); }

void CombFilter::setFeedback(float feedback) { feedback_ = feedback; }

void CombFilter::setDampingCoefficient(float coefficient) {
    damping_ = coefficient;
    dampingComplement_ = 1.0f - coefficient;
}

}  // namespace ZEPHRA2F9C41D07
