// The hand-off of parameter changes: single lock-free stores on the way in,
// one exchange on the way out.
#include "editor/ParameterHandoff.h"

namespace ZEPHRA2F9C41D07 {

ParameterHandoff::ParameterHandoff() {
    for (int32_t i = 0; i < kNumParameters; ++i) values[i].store(parameterDefault(i));
}

bool ParameterHandoff::store(int32_t index, float value) {
    if (isParameter(index)) {
        values[index].store(value, std::memory_order_relaxed);
        pending.fetch_or(1u << index, std::memory_order_release);
        return true;
    }
    if (index != kOverload) return false;
    const uint8_t lit = overloadLights(value) ? 1 : 0;
    if (lamp.load(std::memory_order_relaxed) == lit) return false;
    lamp.store(lit, std::memory_order_relaxed);
    pending.fetch_or(1u << kOverload, std::memory_order_release);
    return true;
}

uint32_t ParameterHandoff::take() { return pending.exchange(0, std::memory_order_acquire); }

}  // namespace ZEPHRA2F9C41D07
