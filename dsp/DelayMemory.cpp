// DelayMemory: allocation without exceptions; a failed allocation is an
// answer (false), never an unwinding into the host.
#include "dsp/DelayMemory.h"

#include <algorithm>
#include <new>

namespace ZEPHRA2F9C41D07 {

DelayMemory::~DelayMemory() { release(); }

bool DelayMemory::replace(int32_t lengthSamples, int32_t mirrored) {
    if (lengthSamples < 1 || mirrored < 0) return false;
    // A loop shorter than its mirror (only ever built by tests) mirrors all of itself.
    if (mirrored > lengthSamples) mirrored = lengthSamples;
    // The same length again (a host re-sending the sample rate it had, or
    // another rate of the same multiple): keep the memory. Its contents are
    // as unspecified as those of new memory, and the instance is spared an
    // allocation and the first touch of fresh pages.
    if (lengthSamples == length_ && mirrored == mirrored_) return true;
    float* fresh = new (std::nothrow) float[static_cast<std::size_t>(lengthSamples) +
                                            static_cast<std::size_t>(mirrored)];
    if (fresh == nullptr) return false;
    delete[] samples_;
    samples_ = fresh;
    length_ = lengthSamples;
    mirrored_ = mirrored;
    return true;
}

void DelayMemory::release() {
    delete[] samples_;
    samples_ = nullptr;
    length_ = 0;
    mirrored_ = 0;
}

void DelayMemory::zero() {
    if (samples_ != nullptr) std::fill(samples_, samples_ + length_ + mirrored_, 0.0f);
}

}  // namespace ZEPHRA2F9C41D07
