// SoftClipper: construction and overload reset; the curve itself is inline.
#include "dsp/SoftClipper.h"

namespace ZEPHRA2F9C41D07 {

SoftClipper::SoftClipper() { resetOverload(); }

void SoftClipper::resetOverload() {
    overload_ = false;
    upperThreshold_ = kOverloadThreshold;
    lowerThreshold_ = -kOverloadThreshold;
}

}  // namespace ZEPHRA2F9C41D07
