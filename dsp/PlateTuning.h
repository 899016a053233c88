// PlateTuning: the fixed numbers of the plate network. The per-frame path,
// the sub-block loops and the engine's set-up all build on them, so each is
// stated here once.
#pragma once

#include <cstdint>

namespace ZEPHRA2F9C41D07 {

// Eight parallel damped combs and four series all-passes per channel.
constexpr int kCombsPerChannel = 8;
constexpr int kAllpassesPerChannel = 4;

// Loop lengths in samples at the tuning rate: the public-domain Freeverb
// tunings. Mutually prime-ish lengths keep the combs' resonances from lining up.
constexpr int32_t kCombTuning[kCombsPerChannel] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int32_t kAllpassTuning[kAllpassesPerChannel] = {556, 441, 341, 225};
// The right channel's lines are longer by a fixed spread, which decorrelates
// the two sides and gives the image its width.
constexpr int32_t kStereoSpread = 23;
// The pre-delay line at the tuning rate: room for a second of delay.
constexpr int32_t kPreDelayTuning = 48000;
// Lengths scale in whole multiples of their values at this rate.
constexpr float kTuningRate = 44100.0f;
// Loop time of the longest left comb at the tuning rate; the decay formula
// refers to it at every sample rate.
constexpr float kLongestCombSamples = static_cast<float>(kCombTuning[kCombsPerChannel - 1]);

// Comb loop gain = decay factor * kRoomScale + kRoomOffset: 0.7 for the
// shortest decay, approaching 0.98 for an endless one.
constexpr float kRoomScale = 0.28f;
constexpr float kRoomOffset = 0.7f;

// Gain of the delayed sample that every all-pass writes back.
constexpr float kAllpassFeedback = 0.5f;

// The input is halved before both the reverb feed and the dry path; the dry
// gain of 2 at a mix of 0 % restores unity.
constexpr float kInputScale = 0.5f;
// Level of the mono sum that feeds the combs: with eight combs in parallel and
// loop gains near 1 the network has a lot of gain to tame.
constexpr float kFeedLevel = 0.015f;
// Fixed total gain of the wet-only matrix, whatever the mix.
constexpr float kWetOnlyGain = 3.0f;

}  // namespace ZEPHRA2F9C41D07
