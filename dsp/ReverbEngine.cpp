// ReverbEngine: delay memory lifecycle, control-rate cooking and smoothing, and
// the per-frame signal path.
#include "dsp/ReverbEngine.h"

#include <algorithm>
#include <cmath>

#include "dsp/Flush.h"

namespace ZEPHRA2F9C41D07 {

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
static_assert(std::atomic<float>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "a setter must be a single store, never a lock");

constexpr float kDefaultRate = 48000.0f;
constexpr float kFadeMs = 20.0f;

// Sample rates the engine accepts. prepare gets the rate from the host; a
// broken value must neither crash nor ask for absurd amounts of memory:
// - not a number, infinite, 0 or negative: taken as 48 kHz, the rate the
//   engine is built for at construction;
// - below 1 kHz: taken as 1 kHz (no audio host runs slower; below 150 Hz a
//   20 ms crossfade would be over in less than three samples);
// - above 768 kHz: taken as 768 kHz, which keeps all delay memory below 5 MB.
constexpr float kMinRate = 1000.0f;
constexpr float kMaxRate = 768000.0f;

// Limits applied when a pending control is taken over (the setters store what
// they are given; the plug-in forwards host values unclamped). Each range lies
// inside the region where the cooking formulas stay sound, and keeps the
// smoothing arithmetic finite; a NaN request is ignored (the value in use stays).
struct Range {
    float lo;
    float hi;
};
// Negative times would push the comb loop gain to 1 and beyond (endless, then
// growing feedback); past 100 s the loop gain is within 0.001 of its 0.98 limit.
constexpr Range kRt60Range{0.0f, 100.0f};
// Above about 11.1 the low-pass corner turns negative and the damping
// coefficient exceeds 1 (an unstable loop); 11 puts the corner at 100 Hz.
// Below 0 the corner rises above 10 kHz; -10 puts it at 19 kHz.
constexpr Range kDampingRange{-10.0f, 11.0f};
// Below 0 % the wet gain turns negative, at 200 % the dry gain divides by zero.
constexpr Range kMixRange{0.0f, 199.0f};
// Beyond 100 % the cross-feed turns negative and widens the image further;
// 200 % is the limit, where it equals half the wet gain with opposite sign.
constexpr Range kWidthRange{0.0f, 200.0f};
// Gains from 1e-6 to 15.8: wide enough for any sane use, finite for any input.
constexpr Range kTrimRange{-120.0f, 24.0f};
// The line's length limits the delay further (about one second).
constexpr Range kPreDelayRange{0.0f, 10000.0f};

float acceptedRate(float sampleRate) {
    if (!(sampleRate > 0.0f) || !std::isfinite(sampleRate)) return kDefaultRate;
    return std::min(std::max(sampleRate, kMinRate), kMaxRate);
}

// Multiple of the 44.1 kHz lengths: 1 up to 66149 Hz, 2 up to 110249 Hz, ...
int32_t rateMultiple(float sampleRate) {
    const int32_t r = static_cast<int32_t>(std::trunc(sampleRate / kTuningRate + 0.5f));
    return std::max(r, 1);
}

// A pending control as the engine takes it over: NaN keeps the value in use,
// anything else (infinities included) is limited to the range.
float takeOver(float pending, float inUse, Range range) {
    if (std::isnan(pending)) return inUse;
    return std::min(std::max(pending, range.lo), range.hi);
}

// One smoothing step: a tenth of the way to the pending value, snapping onto
// it once the step would be below 0.001. True when the value moved.
bool smoothTowards(float& value, float pending) {
    if (value == pending) return false;
    const float step = (pending - value) * 0.1f;
    if (std::fabs(static_cast<double>(step)) < 0.001) {
        value = pending;
    } else {
        value = value + step;
    }
    return true;
}

float dbToGain(float db) { return std::pow(10.0f, db / 20.0f); }

// A switch is on above the middle of its range; exactly 0.5 is off.
bool switchedOn(float value) { return value > 0.5f; }

}  // namespace

ReverbEngine::ReverbEngine() {
    // The widest loops this processor runs.
    if (!selectBlockPath(BlockPath::kAvx512) && !selectBlockPath(BlockPath::kAvx2)) {
        selectBlockPath(BlockPath::kGeneric);
    }
    prepare(kDefaultRate);
}

ReverbEngine::~ReverbEngine() = default;

// ---------------------------------------------------------------- delay memory

bool ReverbEngine::allocateDelayMemory() {
    const int32_t r = rateMultiple(sampleRate_);
    bool ok = true;
    for (int i = 0; ok && i < kCombsPerChannel; ++i) {
        ok = comb_[kLeft][i].allocate(r * kCombTuning[i]) &&
             comb_[kRight][i].allocate(r * (kCombTuning[i] + kStereoSpread));
    }
    for (int i = 0; ok && i < kAllpassesPerChannel; ++i) {
        ok = allpass_[kLeft][i].allocate(r * kAllpassTuning[i]) &&
             allpass_[kRight][i].allocate(r * (kAllpassTuning[i] + kStereoSpread));
    }
    for (auto& side : allpass_) {
        for (AllpassFilter& allpass : side) allpass.setFeedback(kAllpassFeedback);
    }
    ok = ok && preDelay_.allocate(r * kPreDelayTuning);
    // Out of memory: keep none of it rather than a network with lines of two
    // different rates. processSample then passes the audio through unchanged
    // until a later prepare obtains all of it.
    if (!ok) releaseDelayMemory();
    return ok;
}

void ReverbEngine::releaseDelayMemory() {
    for (auto& side : comb_) {
        for (CombFilter& comb : side) comb.release();
    }
    for (auto& side : allpass_) {
        for (AllpassFilter& allpass : side) allpass.release();
    }
    preDelay_.release();
}

void ReverbEngine::clear() {
    for (auto& side : comb_) {
        for (CombFilter& comb : side) comb.clearMemory();
    }
    for (auto& side : allpass_) {
        for (AllpassFilter& allpass : side) allpass.clearMemory();
    }
    preDelay_.clearMemory();
}

int32_t ReverbEngine::combLength(int channel, int index) const {
    if (channel < 0 || channel > 1 || index < 0 || index >= kCombsPerChannel) return 0;
    return comb_[channel][index].length();
}

int32_t ReverbEngine::allpassLength(int channel, int index) const {
    if (channel < 0 || channel > 1 || index < 0 || index >= kAllpassesPerChannel) return 0;
    return allpass_[channel][index].length();
}

void ReverbEngine::prepare(float sampleRate) {
    sampleRate_ = acceptedRate(sampleRate);
    current_ = pendingControls();
    muteOn_ = mutePending_.load(kRelaxed);
    wetOnlyOn_ = wetOnlyPending_.load(kRelaxed);
    effectOn_ = effectPending_.load(kRelaxed);

    hasDelayMemory_ = allocateDelayMemory();
    networkStageStale_ = true;
    // New memory starts the loops afresh, in the elements.
    loopsInStage_ = false;
    clear();

    const float inGain = dbToGain(current_.inTrimDb);
    const float outGain = dbToGain(current_.outTrimDb);
    for (int side = kLeft; side <= kRight; ++side) {
        inTrim_[side].setNow(inGain);
        outTrim_[side].setNow(outGain);
        effectFader_[side].setNow(effectOn_, sampleRate_);
        wetOnlyFader_[side].setNow(wetOnlyOn_, sampleRate_);
        muteFader_[side].setNow(muteOn_, sampleRate_);
    }

    cookMixGains();
    widthFraction_ = current_.widthPercent / 100.0f;
    retargetMixRamps(0);  // a ramp over no samples lands at once
    applyDampingCoefficient();
    applyCombFeedback();
    inputClipper_.resetOverload();
    outputClipper_[kLeft].resetOverload();
    outputClipper_[kRight].resetOverload();
    preDelay_.setDelayNow(preDelayTargetSamples());
}

// ---------------------------------------------------------------- controls

void ReverbEngine::setRT60(float seconds) { pendingRT60_.store(seconds, kRelaxed); }
void ReverbEngine::setDamping(float amount0to10) { pendingDamping_.store(amount0to10, kRelaxed); }
void ReverbEngine::setMix(float percent) { pendingMix_.store(percent, kRelaxed); }
void ReverbEngine::setWidth(float percent) { pendingWidth_.store(percent, kRelaxed); }
void ReverbEngine::setPreDelay(float ms) { pendingPreDelay_.store(ms, kRelaxed); }
void ReverbEngine::setInTrim(float db) { pendingInTrim_.store(db, kRelaxed); }
void ReverbEngine::setOutTrim(float db) { pendingOutTrim_.store(db, kRelaxed); }
void ReverbEngine::setWetOnly(float value) { wetOnlyPending_.store(switchedOn(value), kRelaxed); }
void ReverbEngine::setMute(float value) { mutePending_.store(switchedOn(value), kRelaxed); }
void ReverbEngine::setEffectOn(float value) { effectPending_.store(switchedOn(value), kRelaxed); }

ReverbEngine::Controls ReverbEngine::pendingControls() const {
    Controls p;
    p.rt60Seconds = takeOver(pendingRT60(), current_.rt60Seconds, kRt60Range);
    p.damping = takeOver(pendingDamping(), current_.damping, kDampingRange);
    p.mixPercent = takeOver(pendingMix(), current_.mixPercent, kMixRange);
    p.widthPercent = takeOver(pendingWidth(), current_.widthPercent, kWidthRange);
    p.inTrimDb = takeOver(pendingInTrim(), current_.inTrimDb, kTrimRange);
    p.outTrimDb = takeOver(pendingOutTrim(), current_.outTrimDb, kTrimRange);
    p.preDelayMs = takeOver(pendingPreDelay(), current_.preDelayMs, kPreDelayRange);
    return p;
}

// Loop gain of every comb: 0.7 for an RT60 of 0, approaching 0.98 for an
// endless one. The loop time of the longest comb at the tuning rate is used
// at every rate, so the decay in seconds does not follow the line lengths.
void ReverbEngine::applyCombFeedback() {
    const float fs = sampleRate_;
    const float loopSeconds = (fs / kTuningRate * kLongestCombSamples) / fs;
    combFeedback_ =
        std::pow(10.0f, -(3.0f / (current_.rt60Seconds + 0.01f)) * loopSeconds) * kRoomScale +
        kRoomOffset;
    for (auto& side : comb_) {
        for (CombFilter& comb : side) comb.setFeedback(combFeedback_);
    }
    networkStageStale_ = true;
}

// One-pole low-pass in every comb loop, corner from 10 kHz (damping 0) down to
// 1 kHz (damping 10).
void ReverbEngine::applyDampingCoefficient() {
    const float cornerHz = (1.0f - current_.damping * 0.1f) * 9000.0f + 1000.0f;
    dampingCoefficient_ = std::exp(-cornerHz * 6.2831855f / sampleRate_);
    for (auto& side : comb_) {
        for (CombFilter& comb : side) comb.setDampingCoefficient(dampingCoefficient_);
    }
    networkStageStale_ = true;
}

// Wet and dry weights m and 1 - m (m = mix / 200), normalised so that a mix
// of 0 % passes the dry signal at unity and 100 % weighs both equally.
void ReverbEngine::cookMixGains() {
    float m = current_.mixPercent * 0.005f;
    // Keeps 1/m finite: a mix of 0 % leaves the wet signal 104 dB down.
    if (m == 0.0f) m = 0.000001f;
    wetGain_ = ((1.0f / (1.0f / m + 1.0f)) * 3.0f / 1.5f) * 3.0f;
    dryGain_ = ((1.0f / (1.0f / (1.0f - m) + 1.0f)) * 3.0f / 1.5f) * 2.0f;
}

void ReverbEngine::retargetMixRamps(int32_t frames) {
    const WetSplit wet = splitByWidth(wetGain_, widthFraction_);
    wetSame_.rampTo(wet.same, frames);
    wetCross_.rampTo(wet.cross, frames);
    dry_.rampTo(dryGain_, frames);
}

// Pre-delay in samples, one more than the time asks for (the line reads
// before it writes), limited to what the line can hold.
float ReverbEngine::preDelayTargetSamples() const {
    const double samples = static_cast<double>(current_.preDelayMs / 1000.0f) * sampleRate_ + 1.0;
    const float longest = static_cast<float>(std::max(preDelay_.length() - 1, 1));
    return std::min(longest, std::max(1.0f, static_cast<float>(samples)));
}

void ReverbEngine::updateControls(int32_t frames) {
    // Without delay memory the audio passes unchanged; pending values wait for
    // the next prepare, which applies them at once.
    if (!hasDelayMemory_) return;
    // The ramps are spread over the sub-block; a count outside 1..64 from a
    // careless caller is limited rather than dividing by zero or a negative.
    const int32_t n = std::min(std::max(frames, int32_t{1}), kMaxSubBlockFrames);
    const Controls pending = pendingControls();

    if (smoothTowards(current_.rt60Seconds, pending.rt60Seconds)) applyCombFeedback();
    if (smoothTowards(current_.damping, pending.damping)) applyDampingCoefficient();
    if (smoothTowards(current_.preDelayMs, pending.preDelayMs)) {
        preDelay_.glideTo(preDelayTargetSamples(), n);
    }
    if (smoothTowards(current_.mixPercent, pending.mixPercent)) {
        cookMixGains();
        retargetMixRamps(n);
    }
    if (smoothTowards(current_.widthPercent, pending.widthPercent)) {
        widthFraction_ = current_.widthPercent / 100.0f;
        retargetMixRamps(n);
    }
    if (smoothTowards(current_.outTrimDb, pending.outTrimDb)) {
        const float gain = dbToGain(current_.outTrimDb);
        outTrim_[kLeft].rampTo(gain, n);
        outTrim_[kRight].rampTo(gain, n);
    }
    if (smoothTowards(current_.inTrimDb, pending.inTrimDb)) {
        const float gain = dbToGain(current_.inTrimDb);
        inTrim_[kLeft].rampTo(gain, n);
        inTrim_[kRight].rampTo(gain, n);
    }

    takeOverSwitch(mutePending_, muteOn_, muteFader_);
    takeOverSwitch(wetOnlyPending_, wetOnlyOn_, wetOnlyFader_);
    // The reverb always starts from silence, never from a stale tail.
    if (takeOverSwitch(effectPending_, effectOn_, effectFader_) && effectOn_) clear();
}

bool ReverbEngine::takeOverSwitch(const std::atomic<bool>& pending, bool& current,
                                  SwitchFader (&faders)[2]) {
    const bool on = pending.load(kRelaxed);
    if (on == current) return false;
    current = on;
    faders[kLeft].configure(kFadeMs, kFadeMs, on, sampleRate_);
    faders[kRight].configure(kFadeMs, kFadeMs, on, sampleRate_);
    return true;
}

bool ReverbEngine::takeOverload() {
    const bool overloaded = inputClipper_.overload() || outputClipper_[kLeft].overload() ||
                            outputClipper_[kRight].overload();
    inputClipper_.resetOverload();
    outputClipper_[kLeft].resetOverload();
    outputClipper_[kRight].resetOverload();
    return overloaded;
}

// ---------------------------------------------------------------- signal path

void ReverbEngine::processSample(float inL, float inR, float& outL, float& outR) {
    if (standsStill()) {
        outL = inL;
        outR = inR;
        return;
    }
    if (loopsInStage_) loopsToElements();

    // Input trims, read before they advance; the input is halved for both paths.
    const float gainL = inTrim_[kLeft].current();
    const float gainR = inTrim_[kRight].current();
    inTrim_[kLeft].advance();
    inTrim_[kRight].advance();
    const float xL = (inL * kInputScale) * gainL;
    const float xR = (inR * kInputScale) * gainR;

    // Mono feed. Mute cuts it at once and freezes the pre-delay with its content.
    float feed = 0.0f;
    if (!muteOn_) {
        feed = preDelay_.process(inputClipper_.process((xL + xR) * kFeedLevel));
    }

    // Accumulate the combs in parallel, then through the all-passes in series.
    float wetL = 0.0f;
    float wetR = 0.0f;
    for (int i = 0; i < kCombsPerChannel; ++i) {
        wetL += comb_[kLeft][i].process(feed);
        wetR += comb_[kRight][i].process(feed);
    }
    for (int i = 0; i < kAllpassesPerChannel; ++i) {
        wetL = allpass_[kLeft][i].process(wetL);
        wetR = allpass_[kRight][i].process(wetR);
    }
    wetL = outputClipper_[kLeft].process(wetL);
    wetR = outputClipper_[kRight].process(wetR);

    // Dry path, faded out (not cut) by mute while the tail rings on.
    const float dryL = muteFader_[kLeft].process(0.0f, xL);
    const float dryR = muteFader_[kRight].process(0.0f, xR);

    // Wet-only matrix: fixed total gain, width as the share of the own side.
    const WetSplit alt = wetOnlyGains();
    const float altL = alt.same * wetL + alt.cross * wetR;
    const float altR = alt.same * wetR + alt.cross * wetL;

    // Mix matrix, ramps read after they advance.
    wetSame_.advance();
    wetCross_.advance();
    dry_.advance();
    const float g1 = wetSame_.current();
    const float g2 = wetCross_.current();
    const float gd = dry_.current();
    const float mixL = g1 * wetL + g2 * wetR + gd * dryL;
    const float mixR = g1 * wetR + g2 * wetL + gd * dryR;

    const float procL = wetOnlyFader_[kLeft].process(altL, mixL);
    const float procR = wetOnlyFader_[kRight].process(altR, mixR);

    // Output trims, read before they advance.
    const float trimL = outTrim_[kLeft].current();
    const float trimR = outTrim_[kRight].current();
    outTrim_[kLeft].advance();
    outTrim_[kRight].advance();

    // Effect crossfade against the raw input, before any trim. The dry path
    // and the trims can carry a tiny input down into denormal numbers, which
    // must never reach the host: the output is flushed like the loops.
    outL = flushTiny(effectFader_[kLeft].process(trimL * procL, inL));
    outR = flushTiny(effectFader_[kRight].process(trimR * procR, inR));
}

}  // namespace ZEPHRA2F9C41D07
