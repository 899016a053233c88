// ReverbEngine: pending-value setters and delay-memory lifecycle.
#include "dsp/ReverbEngine.h"

namespace ZEPHRA2F9C41D07 {

namespace {
constexpr auto kRelaxed = std::memory_order_relaxed;
}

ReverbEngine::ReverbEngine() = default;
ReverbEngine::~ReverbEngine() = default;

void ReverbEngine::prepare(float sampleRate) { sampleRate_ = sampleRate; }
void ReverbEngine::clear() {}

// The signal path is not yet built: frames pass through unchanged.
void ReverbEngine::updateControls(int /*frames*/) {}
void ReverbEngine::processSample(float inL, float inR, float& outL, float& outR) {
    outL = inL;
    outR = inR;
}
bool ReverbEngine::takeOverload() { return false; }

void ReverbEngine::setRT60(float seconds) { pendingRT60_.store(seconds, kRelaxed); }
void ReverbEngine::setDamping(float amount0to10) { pendingDamping_.store(amount0to10, kRelaxed); }
void ReverbEngine::setMix(float percent) { pendingMix_.store(percent, kRelaxed); }
void ReverbEngine::setWidth(float percent) { pendingWidth_.store(percent, kRelaxed); }
void ReverbEngine::setPreDelay(float ms) { pendingPreDelay_.store(ms, kRelaxed); }
void ReverbEngine::setInTrim(float db) { pendingInTrim_.store(db, kRelaxed); }
void ReverbEngine::setOutTrim(float db) { pendingOutTrim_.store(db, kRelaxed); }
void ReverbEngine::setWetOnly(float value) { wetOnlyPending_.store(value > 0.5f, kRelaxed); }
void ReverbEngine::setMute(float value) { mutePending_.store(value > 0.5f, kRelaxed); }
void ReverbEngine::setEffectOn(float value) { effectPending_.store(value > 0.5f, kRelaxed); }

}  // namespace ZEPHRA2F9C41D07
