// SoftClipper: a cubic saturator that rounds off peaks instead of cutting them,
// and remembers that it was driven hard so the editor can light its lamp.
// Transparent for small signals (out = x - x^3/1728), flat at |x| = 24, never
// beyond +-16.
#pragma once

namespace ZEPHRA2F9C41D07 {

class SoftClipper {
public:
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
        const float u = input / 24.0f;
        if (u > upperThreshold_ || u < lowerThreshold_) overload_ = true;
        float shaped;
        if (u >= 1.0f) {
            shaped = 2.0f / 3.0f;
        } else if (u <= -1.0f) {
            shaped = -2.0f / 3.0f;
        } else if (u == u) {
            shaped = u - u * u * u / 3.0f;
        } else {
            // NaN: let silence through instead, so one broken host sample can
            // never reach (and poison) the delay memory behind this clipper.
            // It still counts as an overload: the user should see it.
            overload_ = true;
            shaped = 0.0f;
        }
        return 24.0f * shaped;
    }

private:
    bool overload_ = false;
    float upperThreshold_;
    float lowerThreshold_;
};

}  // namespace ZEPHRA2F9C41D07
