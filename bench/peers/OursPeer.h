// OursPeer: KORVEX52 in the run, three ways: the real plug-in library through
// its VST 2.4 entry point (what a host runs), and the engine driven directly
// the way the plug-in drives it, on a chosen path, for the per-rate figures.
#pragma once

#include <memory>
#include <string>

#include "Contender.h"

namespace peers {

// The settings used everywhere: RT60 2 s, damping 3, mix 30 %, width 100 %,
// pre-delay 10 ms, trims 0 dB, effect in.
extern const char* const kOurSetting;

// The plug-in library at path (korvex52.so), loaded once for the run.
std::unique_ptr<Instance> createOurPlugin(const std::string& path, double sampleRate);

// How the engine computes: the processor's fastest sub-block path, the AVX2
// sub-block path (for processors without AVX-512), the generic (SSE2)
// sub-block path, or the per-frame reference.
enum class OurPath { kFastest, kAvx2, kGeneric, kPerFrame };
std::unique_ptr<Instance> createOurEngine(OurPath path, double sampleRate);
// "avx512", "avx2" or "sse2": what kFastest means on this processor.
const char* fastestPathName();
// Whether the AVX2 path runs here and is not the fastest one already.
bool avx2IsSecondPath();

// Milliseconds for one instance's life as a plug-in scanner sees it: the
// entry point, effOpen and effClose, no editor. Median and worst of count.
struct LifeTimes {
    double medianMs;
    double worstMs;
};
LifeTimes measureCreateClose(const std::string& path, int count);

}  // namespace peers
