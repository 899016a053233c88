// Settings and a block loop that drives the engine as the plug-in does: sub-
// blocks of at most 64 frames, each with a control update, then the overload.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "TestSignals.h"
#include "dsp/ReverbEngine.h"

namespace ZEPHRA2F9C41D07 {

struct Settings {
    float rt60Seconds = 1.0f, damping = 0.0f, mixPercent = 50.0f, widthPercent = 50.0f;
    float preDelayMs = 0.0f, inTrimDb = 0.0f, outTrimDb = 0.0f;
    bool wetOnly = false, mute = false, effect = true;
};

inline void apply(ReverbEngine& engine, const Settings& s) {
    engine.setRT60(s.rt60Seconds);
    engine.setDamping(s.damping);
    engine.setMix(s.mixPercent);
    engine.setWidth(s.widthPercent);
    engine.setPreDelay(s.preDelayMs);
    engine.setInTrim(s.inTrimDb);
    engine.setOutTrim(s.outTrimDb);
    engine.setWetOnly(s.wetOnly ? 1.0f : 0.0f);
    engine.setMute(s.mute ? 1.0f : 0.0f);
    engine.setEffectOn(s.effect ? 1.0f : 0.0f);
}

// Settings applied at once, no smoothing left to run.
inline void prepareWith(ReverbEngine& engine, const Settings& s, float sampleRate) {
    apply(engine, s);
    engine.prepare(sampleRate);
}

// Renders in through the engine in host blocks of hostBlock frames.
inline Stereo render(ReverbEngine& engine, const Stereo& in, size_t hostBlock = 512) {
    Stereo out = silence(in.frames());
    for (size_t block = 0; block < in.frames(); block += hostBlock) {
        const size_t blockEnd = std::min(in.frames(), block + hostBlock);
        for (size_t sub = block; sub < blockEnd; sub += ReverbEngine::kMaxSubBlock) {
            const size_t subEnd = std::min(blockEnd, sub + ReverbEngine::kMaxSubBlock);
            engine.updateControls(static_cast<int32_t>(subEnd - sub));
            for (size_t n = sub; n < subEnd; ++n)
                engine.processSample(in.left[n], in.right[n], out.left[n], out.right[n]);
        }
        engine.takeOverload();
    }
    return out;
}

inline size_t firstNonZero(const std::vector<float>& x) {
    return static_cast<size_t>(std::find_if(x.begin(), x.end(), [](float v) { return v != 0.0f; }) -
                               x.begin());
}

}  // namespace ZEPHRA2F9C41D07
