// AllpassFilter: memory handling; the per-sample step is inline.
#include "dsp/AllpassFilter.h"

namespace ZEPHRA2F9C41D07 {

bool AllpassFilter::allocate(int32_t lengthSamples) {
    if (!memory_.replace(lengthSamples, kMirroredLoopSamples)) return false;
    position_ = 0;
    return true;
}

void AllpassFilter::release() {
    memory_.release();
    position_ = 0;
}

void AllpassFilter::clearMemory() { memory_.zero(); }

}  // namespace ZEPHRA2F9C41D07
