// Flush: the one rule that keeps denormal numbers out of the recirculating
// paths. Denormals cost a hundred times the work of normal floats on many
// processors, and a decaying tail would otherwise sink into them and stay there.
#pragma once

#include <cmath>

namespace ZEPHRA2F9C41D07 {

// Returns 0 for values whose magnitude, compared in double precision, is below
// 1e-32; returns every other value (NaN included) unchanged.
inline float flushTiny(float value) {
    return std::fabs(static_cast<double>(value)) < 1e-32 ? 0.0f : value;
}

}  // namespace ZEPHRA2F9C41D07
