// ReverbEngine: the stereo plate reverberator behind the plug-in.
// Signal path per frame: input trims, mono feed through a soft clipper and the
// pre-delay, eight parallel damped combs and four series all-passes per
// channel, output soft clippers, a width and mix matrix with the dry signal, a
// crossfade to the wet-only matrix, output trims, and last the crossfade that
// switches the effect in and out against the untouched input.
//
// Threads: the setters may be called from any thread while audio runs; each
// stores one 32-bit pending value that the audio thread picks up at its next
// updateControls. updateControls, processSample and takeOverload run on the
// audio thread; prepare and clear only while it is stopped.
#pragma once

#include <atomic>
#include <cstdint>

#include "dsp/AllpassFilter.h"
#include "dsp/BlockKernels.h"
#include "dsp/CombFilter.h"
#include "dsp/GainRamp.h"
#include "dsp/PlateTuning.h"
#include "dsp/PreDelayLine.h"
#include "dsp/SoftClipper.h"
#include "dsp/SubBlock.h"
#include "dsp/SwitchFader.h"

namespace ZEPHRA2F9C41D07 {

class ReverbEngine {
public:
    // Longest sub-block that updateControls spreads its ramps over.
    static constexpr int32_t kMaxSubBlock = kMaxSubBlockFrames;

    // The seven continuous controls in the engine's own units.
    struct Controls {
        float rt60Seconds;
        float damping;  // 0 (bright) to 10 (dark)
        float mixPercent;
        float widthPercent;
        float inTrimDb;
        float outTrimDb;
        float preDelayMs;
    };

    // Prepared for 48 kHz, every control at 0, the effect out (input passes unchanged).
    ReverbEngine();
    ~ReverbEngine();
    ReverbEngine(const ReverbEngine&) = delete;
    ReverbEngine& operator=(const ReverbEngine&) = delete;

    // Sizes and zeroes all delay memory for sampleRate (Hz) and applies every
    // pending value at once, without smoothing. Allocates: never on the audio thread.
    void prepare(float sampleRate);
    // Zeroes all delay memory; positions, filter states and settings stay.
    void clear();

    // Pending values, stored unchanged; picked up, smoothed, at the next updateControls.
    void setRT60(float seconds);
    void setDamping(float amount0to10);
    void setMix(float percent);
    void setWidth(float percent);
    void setPreDelay(float ms);
    void setInTrim(float db);
    void setOutTrim(float db);
    // Switches: on (effect in) when the value is greater than 0.5.
    void setWetOnly(float value);
    void setMute(float value);
    void setEffectOn(float value);

    // Once before each sub-block of `frames` frames (1 to 64; other counts are
    // limited to that range): moves every control a tenth of the way to its
    // pending value, recooks what moved and spreads gain ramps over the sub-block.
    void updateControls(int32_t frames);
    // One stereo frame. Reads both inputs before writing an output, so the
    // outputs may alias the inputs. With the effect out and its crossfade
    // finished the input is copied bit for bit and nothing else moves.
    void processSample(float inL, float inR, float& outL, float& outR);
    // The fast path: the same as frames calls of processSample in a row, bit
    // for bit, computed many frames and filters at a time. Meant to follow
    // updateControls(frames) with frames from 1 to 64, the way the plug-in
    // cuts its blocks; longer counts are run in pieces of 64. Reads all inputs
    // before it writes, so the outputs may alias the inputs.
    void processBlock(const float* inL, const float* inR, float* outL, float* outR, int32_t frames);
    // True when a soft clipper overloaded since the last call; clears the report.
    bool takeOverload();

    // The vector loops behind processBlock. An engine starts with the fastest
    // its processor runs; the choice moves an output sample by no more than
    // the rounding of a few operations (one part in a million of the peak).
    enum class BlockPath { kGeneric, kAvx2, kAvx512 };
    static bool blockPathAvailable(BlockPath path);
    // False, and the choice unchanged, when this processor cannot run path.
    bool selectBlockPath(BlockPath path);
    BlockPath blockPath() const { return blockPath_; }

    // Read-back for tests and diagnostics.
    float sampleRate() const { return sampleRate_; }
    // False when delay memory could not be obtained: audio then passes unchanged.
    bool hasDelayMemory() const { return hasDelayMemory_; }
    const Controls& current() const { return current_; }
    float combFeedback() const { return combFeedback_; }
    float dampingCoefficient() const { return dampingCoefficient_; }
    float wetGain() const { return wetGain_; }
    float dryGain() const { return dryGain_; }
    float widthFraction() const { return widthFraction_; }
    float preDelaySamples() const { return preDelay_.delaySamples(); }
    int32_t combLength(int channel, int index) const;
    int32_t allpassLength(int channel, int index) const;
    int32_t preDelayLength() const { return preDelay_.length(); }

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

private:
    enum Side { kLeft = 0, kRight = 1 };

    // A total wet gain split by the width fraction w between a channel's own
    // wet signal (same) and the other channel's (cross): all to its own side
    // at w = 1, half and half at w = 0. The mix ramps and the wet-only matrix
    // both split their gains so.
    struct WetSplit {
        float same;
        float cross;
    };
    static WetSplit splitByWidth(float total, float w) {
        return {(w * 0.5f + 0.5f) * total, (1.0f - w) * 0.5f * total};
    }
    // The wet-only matrix at the current width.
    WetSplit wetOnlyGains() const { return splitByWidth(kWetOnlyGain, widthFraction_); }

    bool effectSettled() const {
        return effectFader_[kLeft].settled() && effectFader_[kRight].settled();
    }
    // Effect out and its crossfade finished (or no delay memory): the input
    // passes bit for bit and nothing in the network moves.
    bool standsStill() const { return !hasDelayMemory_ || (!effectOn_ && effectSettled()); }

    Controls pendingControls() const;
    bool allocateDelayMemory();
    void releaseDelayMemory();
    void applyCombFeedback();
    void applyDampingCoefficient();
    void cookMixGains();
    void retargetMixRamps(int32_t frames);
    // Takes over a pending switch; true when it changed, with both of its
    // faders then crossfading towards the new state.
    bool takeOverSwitch(const std::atomic<bool>& pending, bool& current, SwitchFader (&faders)[2]);
    float preDelayTargetSamples() const;
    void processSubBlock(const float* inL, const float* inR, float* outL, float* outR,
                         int32_t frames);
    int32_t effectTracks(int32_t frames);
    void runFeed(int32_t frames);
    void runPreDelay(int32_t frames);
    void layOutMix(int32_t frames, bool effectMoving);
    void runNetwork(int32_t frames, bool effectMoving);
    void refreshNetworkStage();

    // Smoothed values used by the signal path, and what is cooked from them.
    Controls current_{};
    float dryGain_ = 0.0f;
    float widthFraction_ = 0.0f;
    float dampingCoefficient_ = 0.0f;
    float wetGain_ = 0.0f;
    float combFeedback_ = 0.0f;

    // Latest values from the setters, each written whole by any thread.
    std::atomic<float> pendingRT60_{0.0f};
    std::atomic<float> pendingDamping_{0.0f};
    std::atomic<float> pendingMix_{0.0f};
    std::atomic<float> pendingWidth_{0.0f};
    std::atomic<float> pendingInTrim_{0.0f};
    std::atomic<float> pendingOutTrim_{0.0f};
    std::atomic<float> pendingPreDelay_{0.0f};

    float sampleRate_ = 48000.0f;

    SwitchFader effectFader_[2];
    SwitchFader wetOnlyFader_[2];
    SwitchFader muteFader_[2];
    GainRamp inTrim_[2];
    GainRamp outTrim_[2];
    SoftClipper inputClipper_;
    SoftClipper outputClipper_[2];
    GainRamp wetSame_;
    GainRamp wetCross_;
    GainRamp dry_;
    CombFilter comb_[2][kCombsPerChannel];
    AllpassFilter allpass_[2][kAllpassesPerChannel];
    PreDelayLine preDelay_;

    bool muteOn_ = false;
    std::atomic<bool> mutePending_{false};
    bool wetOnlyOn_ = false;
    std::atomic<bool> wetOnlyPending_{false};
    bool effectOn_ = false;
    std::atomic<bool> effectPending_{false};

    bool hasDelayMemory_ = false;

    // Working memory of processBlock, one sub-block long (plus a vector's
    // worth of room): inputs, intermediate signals and the per-frame gains
    // and crossfade positions of the sub-block.
    struct BlockScratch {
        float in[2][block::kBufferFrames];
        float trimmed[2][block::kBufferFrames];
        float feed[block::kBufferFrames];
        float delays[block::kBufferFrames];
        float delayed[block::kBufferFrames];
        float out[2][block::kBufferFrames];
        float inTrim[2][block::kBufferFrames];
        float outTrim[2][block::kBufferFrames];
        float wetSame[block::kBufferFrames];
        float wetCross[block::kBufferFrames];
        float dry[block::kBufferFrames];
        float mute[2][block::kBufferFrames];
        float wetOnly[2][block::kBufferFrames];
        float effect[2][block::kBufferFrames];
    };
    BlockPath blockPath_ = BlockPath::kGeneric;
    const block::Kernels* kernels_ = nullptr;
    BlockScratch scratch_{};
    block::FeedStage feedStage_{};
    block::NetworkStage networkStage_{};
    // The network stage's memories, lengths and coefficients no longer match
    // the elements: set by prepare and by every coefficient change, cleared
    // when processBlock has copied them over.
    bool networkStageStale_ = true;
    // Where the loops' read positions and low-pass states are current: in
    // the network stage while processBlock runs sub-block after sub-block,
    // in the elements after prepare and while processSample runs. Each hands
    // them over to the other when its turn comes.
    bool loopsInStage_ = false;
    void loopsToStage();
    void loopsToElements();
};

}  // namespace ZEPHRA2F9C41D07
