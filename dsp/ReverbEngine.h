// ReverbEngine: the stereo plate reverberator behind the plug-in.
// Setters may be called from any thread while audio runs: each stores one
// 32-bit pending value that the audio thread picks up at its next control
// update. Everything else runs on the audio thread, or while it is stopped.
#pragma once

#include <atomic>
#include <cstdint>

namespace ZEPHRA2F9C41D07 {

class ReverbEngine {
public:
    ReverbEngine();
    ~ReverbEngine();
    ReverbEngine(const ReverbEngine&) = delete;
    ReverbEngine& operator=(const ReverbEngine&) = delete;

    // Sizes the delay memory for sampleRate (Hz) and applies every pending value at once.
    void prepare(float sampleRate);
    // Zeroes all delay memory; parameter values are kept.
    void clear();

    // Pending values; picked up, smoothed, at the next updateControls.
    void setRT60(float seconds);
    void setDamping(float amount0to10);
    void setMix(float percent);
    void setWidth(float percent);
    void setPreDelay(float ms);
    void setInTrim(float db);
    void setOutTrim(float db);
    // Switches: on when the value is greater than 0.5.
    void setWetOnly(float value);
    void setMute(float value);
    void setEffectOn(float value);

    // Advances smoothing one step for the next n frames (1 to 64).
    void updateControls(int frames);
    // One stereo frame.
    void processSample(float inL, float inR, float& outL, float& outR);
    // True when a soft clipper overloaded since the last call; clears it.
    bool takeOverload();

    float sampleRate() const { return sampleRate_; }

private:
    // Pending parameter values, each written whole by a setter on any thread.
    std::atomic<float> pendingRT60_{0.0f};
    std::atomic<float> pendingDamping_{0.0f};
    std::atomic<float> pendingMix_{0.0f};
    std::atomic<float> pendingWidth_{0.0f};
    std::atomic<float> pendingInTrim_{0.0f};
    std::atomic<float> pendingOutTrim_{0.0f};
    std::atomic<float> pendingPreDelay_{0.0f};
    std::atomic<bool> mutePending_{false};
    std::atomic<bool> wetOnlyPending_{false};
    std::atomic<bool> effectPending_{true};
    float sampleRate_ = 48000.0f;

public:
    // Read-back of the pending values, for tests and diagnostics.
    float pendingRT60() const { return pendingRT60_.load(std::memory_order_relaxed); }
    float pendingDamping() const { return pendingDamping_.load(std::memory_order_relaxed); }
    float pendingMix() const { return pendingMix_.load(std::memory_order_relaxed); }
    float pendingWidth() const { return pendingWidth_.load(std::memory_order_relaxed); }
    float pendingInTrim() const { return pendingInTrim_.load(std::memory_order_relaxed); }
    float pendingOutTrim() const { return pendingOutTrim_.load(std::memory_order_relaxed); }
    float pendingPreDelay() const { return pendingPreDelay_.load(std::memory_order_relaxed); }
    bool mutePending() const { return mutePending_.load(std::memory_order_relaxed); }
    bool wetOnlyPending() const { return wetOnlyPending_.load(std::memory_order_relaxed); }
    bool effectPending() const { return effectPending_.load(std::memory_order_relaxed); }
};

}  // namespace ZEPHRA2F9C41D07
