// ReverbEngine: the sub-block path. The per-frame controls (gain ramps,
// crossfade positions, pre-delay glide) are laid out for the whole sub-block
// first, exactly as processSample would step them; the vector loops of
// BlockKernels then run the signal path on those per-frame values.
#include "dsp/ReverbEngine.h"

#include <cstring>

namespace ZEPHRA2F9C41D07 {

namespace {

using block::kBufferFrames;
using block::Track;

// A sub-block's row of every comb and all-pass loop lies in one piece.
static_assert(kMirroredLoopSamples >= kMaxSubBlockFrames,
              "the loops mirror at least a sub-block behind their ends");

// Asked once per process: the answers cannot change while it runs.
bool avx2Usable() {
    static const bool usable = block::processorHasAvx2Fma();
    return usable;
}

bool avx512Usable() {
    static const bool usable = block::processorHasAvx512();
    return usable;
}

// Sub-blocks are mostly 64 frames long: a copy of that fixed size is a few
// vector moves instead of a library call.
void copyFrames(float* to, const float* from, int32_t frames) {
    if (frames == kMaxSubBlockFrames) {
        std::memcpy(to, from, sizeof(float) * kMaxSubBlockFrames);
    } else {
        std::memcpy(to, from, sizeof(float) * static_cast<size_t>(frames));
    }
}

// The rest of a per-frame buffer repeats its last value, so whole-vector
// loops past the sub-block's end compute with ordinary numbers.
void padFrom(float* buffer, int32_t frames) {
    for (int32_t n = frames; n < kBufferFrames; ++n) buffer[n] = buffer[frames - 1];
}

// A ramp's value at each frame. The trims are read before the ramp advances,
// the mix gains after.
enum class ReadRamp { kBeforeAdvance, kAfterAdvance };

Track rampTrack(GainRamp& ramp, float* buffer, int32_t frames, ReadRamp when) {
    if (!ramp.ramping()) return {nullptr, ramp.current()};
    ramp.advanceBlock(buffer, frames, when == ReadRamp::kAfterAdvance);
    padFrom(buffer, frames);
    return {buffer, 0.0f};
}

// A crossfader's position at each frame, as its process would mix with it.
Track faderTrack(SwitchFader& fader, float* buffer, int32_t frames) {
    if (fader.settled()) return {nullptr, fader.position()};
    for (int32_t n = 0; n < frames; ++n) buffer[n] = fader.step();
    padFrom(buffer, frames);
    return {buffer, 0.0f};
}

// The pre-delay's vector loop writes a sub-block before it reads it. That
// gives the per-frame path's answers unless a read reaches a sample that the
// per-frame path reads before writing it: the one at the write index itself,
// which only a delay below 1 sample weighs in (at exactly 1 its weight is 0),
// or one written later in the sub-block, which only a delay within a
// sub-block of the line's length reaches.
bool preDelayLoopFits(float delay, int32_t frames, int32_t length) {
    const float longest = static_cast<float>(length - frames - 3);
    return length > 2 * kBufferFrames && delay >= 1.0f && delay <= longest;
}

}  // namespace

bool ReverbEngine::blockPathAvailable(BlockPath path) {
    switch (path) {
        case BlockPath::kGeneric: return true;
        case BlockPath::kAvx2: return avx2Usable();
        case BlockPath::kAvx512: return avx512Usable();
    }
    return false;
}

bool ReverbEngine::selectBlockPath(BlockPath path) {
    if (!blockPathAvailable(path)) return false;
    blockPath_ = path;
    kernels_ = path == BlockPath::kAvx512 ? &block::avx512Kernels()
               : path == BlockPath::kAvx2 ? &block::avx2Kernels()
                                          : &block::genericKernels();
    return true;
}

void ReverbEngine::processBlock(const float* inL, const float* inR, float* outL, float* outR,
                                int32_t frames) {
    for (int32_t done = 0; done < frames;) {
        const int32_t n = frames - done < kMaxSubBlockFrames ? frames - done : kMaxSubBlockFrames;
        processSubBlock(inL + done, inR + done, outL + done, outR + done, n);
        done += n;
    }
}

// The effect crossfade positions; answers how many frames run before an
// effect-out fade settles, after which the engine stands still.
int32_t ReverbEngine::effectTracks(int32_t frames) {
    BlockScratch& s = scratch_;
    if (effectSettled()) return frames;
    int32_t active = frames;
    for (int32_t n = 0; n < frames; ++n) {
        if (standsStill()) {
            active = n;
            break;
        }
        s.effect[kLeft][n] = effectFader_[kLeft].step();
        s.effect[kRight][n] = effectFader_[kRight].step();
    }
    padFrom(s.effect[kLeft], active);
    padFrom(s.effect[kRight], active);
    return active;
}

void ReverbEngine::runPreDelay(int32_t frames) {
    BlockScratch& s = scratch_;
    const int32_t length = preDelay_.length();
    Track delay{nullptr, preDelay_.delaySamples()};
    bool fits = preDelayLoopFits(delay.value, frames, length);
    if (preDelay_.gliding()) {
        preDelay_.upcomingDelays(s.delays, frames);
        for (int32_t n = 0; fits && n < frames; ++n)
            fits = preDelayLoopFits(s.delays[n], frames, length);
        padFrom(s.delays, frames);
        delay = {s.delays, 0.0f};
    }
    if (fits) {
        block::PreDelayStage stage{
            frames,   preDelay_.samples(), length, preDelay_.writePosition(), delay, s.feed,
            s.delayed};
        kernels_->preDelay(stage);
        preDelay_.skip(frames);
    } else {
        // A delay close to the line's length: frame by frame.
        for (int32_t n = 0; n < frames; ++n) s.delayed[n] = preDelay_.process(s.feed[n]);
        for (int32_t n = frames; n < kBufferFrames; ++n) s.delayed[n] = 0.0f;
    }
}

// What changes only with prepare or a coefficient: memories, lengths, gains,
// and where the stage finds its working buffers. (The read positions and
// low-pass states move with every sub-block: loopsToStage.)
void ReverbEngine::refreshNetworkStage() {
    block::NetworkStage& net = networkStage_;
    for (int side = kLeft; side <= kRight; ++side) {
        block::CombBank& bank = net.combs[side];
        for (int i = 0; i < kCombsPerChannel; ++i) {
            const CombFilter& comb = comb_[side][i];
            bank.lines[i].samples = comb.samples();
            bank.lines[i].length = comb.length();
            bank.feedback[i] = comb.feedback();
            bank.damping[i] = comb.dampingCoefficient();
            bank.complement[i] = comb.dampingComplement();
        }
        block::AllpassChain& chain = net.allpasses[side];
        for (int i = 0; i < kAllpassesPerChannel; ++i) {
            const AllpassFilter& allpass = allpass_[side][i];
            chain.lines[i].samples = allpass.samples();
            chain.lines[i].length = allpass.length();
            chain.feedback[i] = allpass.feedback();
        }
        net.mix.in[side] = scratch_.in[side];
        net.mix.trimmed[side] = scratch_.trimmed[side];
        net.mix.out[side] = scratch_.out[side];
    }
    networkStageStale_ = false;
}

void ReverbEngine::loopsToStage() {
    for (int side = kLeft; side <= kRight; ++side) {
        block::CombBank& bank = networkStage_.combs[side];
        for (int i = 0; i < kCombsPerChannel; ++i) {
            bank.lines[i].position = comb_[side][i].position();
            bank.state[i] = comb_[side][i].filterState();
        }
        block::AllpassChain& chain = networkStage_.allpasses[side];
        for (int i = 0; i < kAllpassesPerChannel; ++i)
            chain.lines[i].position = allpass_[side][i].position();
    }
    loopsInStage_ = true;
}

void ReverbEngine::loopsToElements() {
    for (int side = kLeft; side <= kRight; ++side) {
        const block::CombBank& bank = networkStage_.combs[side];
        for (int i = 0; i < kCombsPerChannel; ++i)
            comb_[side][i].resume(bank.lines[i].position, bank.state[i]);
        const block::AllpassChain& chain = networkStage_.allpasses[side];
        for (int i = 0; i < kAllpassesPerChannel; ++i)
            allpass_[side][i].resume(chain.lines[i].position);
    }
    loopsInStage_ = false;
}

void ReverbEngine::runFeed(int32_t frames) {
    BlockScratch& s = scratch_;
    block::FeedStage& feed = feedStage_;
    feed.frames = frames;
    feed.in[kLeft] = s.in[kLeft];
    feed.in[kRight] = s.in[kRight];
    feed.inTrim[kLeft] =
        rampTrack(inTrim_[kLeft], s.inTrim[kLeft], frames, ReadRamp::kBeforeAdvance);
    feed.inTrim[kRight] =
        rampTrack(inTrim_[kRight], s.inTrim[kRight], frames, ReadRamp::kBeforeAdvance);
    feed.muted = muteOn_;
    feed.clipUpper = inputClipper_.upperThreshold();
    feed.clipLower = inputClipper_.lowerThreshold();
    feed.trimmed[kLeft] = s.trimmed[kLeft];
    feed.trimmed[kRight] = s.trimmed[kRight];
    feed.feed = s.feed;
    kernels_->feed(feed);
    if (feed.overload) inputClipper_.flagOverload();
}

// The mix stage's gains, crossfade positions and clipper thresholds for the
// coming sub-block.
void ReverbEngine::layOutMix(int32_t frames, bool effectMoving) {
    BlockScratch& s = scratch_;
    block::MixStage& mix = networkStage_.mix;
    for (int side = kLeft; side <= kRight; ++side) {
        mix.clipUpper[side] = outputClipper_[side].upperThreshold();
        mix.clipLower[side] = outputClipper_[side].lowerThreshold();
        mix.mute[side] = faderTrack(muteFader_[side], s.mute[side], frames);
        mix.wetOnly[side] = faderTrack(wetOnlyFader_[side], s.wetOnly[side], frames);
        mix.effect[side] = effectMoving ? Track{s.effect[side], 0.0f}
                                        : Track{nullptr, effectFader_[side].position()};
        mix.outTrim[side] =
            rampTrack(outTrim_[side], s.outTrim[side], frames, ReadRamp::kBeforeAdvance);
    }
    mix.wetSame = rampTrack(wetSame_, s.wetSame, frames, ReadRamp::kAfterAdvance);
    mix.wetCross = rampTrack(wetCross_, s.wetCross, frames, ReadRamp::kAfterAdvance);
    mix.dry = rampTrack(dry_, s.dry, frames, ReadRamp::kAfterAdvance);
    const WetSplit alt = wetOnlyGains();
    mix.sameGain = alt.same;
    mix.crossGain = alt.cross;
}

void ReverbEngine::runNetwork(int32_t frames, bool effectMoving) {
    block::NetworkStage& net = networkStage_;
    if (networkStageStale_) refreshNetworkStage();
    net.frames = frames;
    net.delayed = muteOn_ ? nullptr : scratch_.delayed;
    if (!loopsInStage_) loopsToStage();
    layOutMix(frames, effectMoving);
    kernels_->network(net);
    // The loops' positions and states moved on in the stage itself.
    for (int side = kLeft; side <= kRight; ++side) {
        if (net.overload[side]) outputClipper_[side].flagOverload();
    }
}

void ReverbEngine::processSubBlock(const float* inL, const float* inR, float* outL, float* outR,
                                   int32_t frames) {
    if (standsStill()) {
        // memmove: a host may hand over the same buffer, or overlapping ones.
        const size_t bytes = sizeof(float) * static_cast<size_t>(frames);
        std::memmove(outL, inL, bytes);
        std::memmove(outR, inR, bytes);
        return;
    }
    // The inputs are copied first, so outputs may alias them in any way.
    // Beyond frames the copies hold earlier samples: ordinary numbers that
    // only fill the last vector.
    BlockScratch& s = scratch_;
    copyFrames(s.in[kLeft], inL, frames);
    copyFrames(s.in[kRight], inR, frames);

    const bool effectMoving = !effectSettled();
    const int32_t active = effectTracks(frames);
    runFeed(active);
    // Mute cuts the feed and freezes the pre-delay, glide and all.
    if (!muteOn_) runPreDelay(active);
    runNetwork(active, effectMoving);

    copyFrames(outL, s.out[kLeft], active);
    copyFrames(outR, s.out[kRight], active);
    // After an effect-out fade has settled within the sub-block, the input
    // passes unchanged, as in processSample.
    copyFrames(outL + active, s.in[kLeft] + active, frames - active);
    copyFrames(outR + active, s.in[kRight] + active, frames - active);
}

}  // namespace ZEPHRA2F9C41D07
