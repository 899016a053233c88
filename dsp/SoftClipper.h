// SoftClipper: a cubic saturator that rounds off peaks instead of cutting them,
// and remembers that it was driven hard so the editor can light its lamp.
// Transparent for small signals (out = x - x^3/1728), flat at |x| = 24, never
// beyond +-16.
#pragma once

namespace ZEPHRA2F9C41D07 {

class SoftClipper {
public:
    // The curve: u = input / kCurveScale, shaped to u - u^3 / kCubeDivisor
    // within +-kKnee and held at +-kCeiling beyond, then scaled back by
    // kCurveScale. The sub-block loops apply the same curve.
    static constexpr float kCurveScale = 24.0f;
    static constexpr float kKnee = 1.0f;
    static constexpr float kCubeDivisor = 3.0f;
    static constexpr float kCeiling = 2.0f / 3.0f;
    // The single-precision value nearest to 1/3: an input of exactly 8 (8/24
    // rounds to this very value) is still within bounds, 8.001 is not.
    static constexpr float kOverloadThreshold = 1.0f / 3.0f;

    SoftClipper();

    // Clears the overload flag (and restores the +-1/3 thresholds).
    void resetOverload();
    // True when an input beyond +-8 (or a NaN) arrived since the last reset.
    bool overload() const { return overload_; }
    // The engine's sub-block path applies the same curve and thresholds to a
    // whole sub-block and reports an overload it found here.
    float upperThreshold() const { return upperThreshold_; }
    float lowerThreshold() const { return lowerThreshold_; }
    void flagOverload() { overload_ = true; }

    float process(float input) {
        const float u = input / kCurveScale;
        if (u > upperThreshold_ || u < lowerThreshold_) overload_ = true;
        float shaped;
        if (u >= kKnee) {
            shaped = kCeiling;
        } else if (u <= -kKnee) {
            shaped = -kCeiling;
        } else if (u == u) {
            shaped = u - u * u * u / kCubeDivisor;
        } else {
            // NaN: let silence through instead, so one broken host sample can
            // never reach (and poison) the delay memory behind this clipper.
            // It still counts as an overload: the user should see it.
            overload_ = true;
            shaped = 0.0f;
        }
        return kCurveScale * shaped;
    }

private:
    bool overload_ = false;
    float upperThreshold_;
    float lowerThreshold_;
};

}  // namespace ZEPHRA2F9C41D07
