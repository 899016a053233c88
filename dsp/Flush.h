// Flush: the one rule that keeps denormal numbers out of the recirculating
// paths. Denormals cost a hundred times the work of normal floats on many
// processors, and a decaying tail would otherwise sink into them and stay there.
#pragma once

#include <cmath>

namespace ZEPHRA2F9C41D07 {

// Magnitudes below this bound, compared in double precision, are flushed to 0.
constexpr double kFlushBound = 1e-32;

// The same bound as a float, for the vector loops, which compare in single
// precision. The float nearest to 1e-32 lies above it and the float before
// that below it, so comparing floats with this one splits every float exactly
// as the comparison in double precision does.
constexpr float kFlushBoundFloat = static_cast<float>(kFlushBound);

// The float just below a positive normal float x: x less one unit in its last place.
constexpr float floatBelow(float x) {
    float binade = 1.0f;
    while (binade > x) binade /= 2.0f;
    return x - binade / 8388608.0f;  // 2^23: the units in the last place per binade
}
static_assert(static_cast<double>(kFlushBoundFloat) >= kFlushBound,
              "the float bound keeps no float the rule flushes");
static_assert(static_cast<double>(floatBelow(kFlushBoundFloat)) < kFlushBound,
              "the float bound flushes no float the rule keeps");

// Returns 0 for values whose magnitude, compared in double precision, is below
// kFlushBound; returns every other value (NaN included) unchanged.
inline float flushTiny(float value) {
    return std::fabs(static_cast<double>(value)) < kFlushBound ? 0.0f : value;
}

}  // namespace ZEPHRA2F9C41D07
