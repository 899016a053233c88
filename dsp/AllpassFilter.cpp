// AllpassFilter: memory handling; the per-sample step is inline.
#include "dsp/AllpassFilter.h"

namespace ZEPHRA2F9C41D07 {

bool AllpassFilter::allocate(int32_t lengthSamples) {
    if (!memory_.replace(lengthSamples)) return false;
    position_ = 0;
    return true;
}

void AllpassFilter::release() {
    memory_.release();
    position_ = 0;
}

void AllpassFilter::clearMemory() { memory_.zero(); }

void AllpassFilter::finishBlock(int32_t frames) {
    position_ += frames;
    if (position_ >= memory_.length()) position_ -= memory_.length();
}

}  // namespace ZEPHRA2F9C41D07
