// SoftClipper: construction and overload reset; the curve itself is inline.
#include "dsp/SoftClipper.h"

namespace ZEPHRA2F9C41D07 {

// The single-precision value nearest to 1/3: an input of exactly 8 (8/24 rounds
// to this very value) is still within bounds, 8.001 is not.
static constexpr float kOverloadThreshold = 1.0f / 3.0f;

SoftClipper::SoftClipper() { resetOverload(); }

void SoftClipper::resetOverload() {
    overload_ = false;
    upperThreshold_ = kOverloadThreshold;
    lowerThreshold_ = -kOverloadThreshold;
}

}  // namespace ZEPHRA2F9C41D07
