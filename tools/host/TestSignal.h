// The built-in test signal: a few dry percussive hits and a short voiced
// tone, the same samples on every run (no clock, no random seed).
#pragma once

#include "tools/host/WavFile.h"

// About 2.5 seconds at sampleRate; peaks stay below 0.8.
StereoAudio makeTestSignal(float sampleRate);
