// Test signal: hits show the reverb's onset, pre-delay and decay; the voiced
// tone shows its colour and stereo spread.
#include "tools/host/TestSignal.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double kTwoPi = 6.283185307179586;

// A fixed linear-congruential noise source.
struct Noise {
    uint32_t state = 0x2545F491u;
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }
};

// A drum-like hit: a falling sine thump plus a short noise crack.
void addHit(StereoAudio& audio, double start, double pan, double tuneHz, Noise& noise) {
    const double fs = audio.sampleRate;
    const size_t first = static_cast<size_t>(start * fs);
    const size_t length = static_cast<size_t>(0.25 * fs);
    double phase = 0.0;
    for (size_t i = 0; i < length && first + i < audio.frames(); ++i) {
        const double t = static_cast<double>(i) / fs;
        const double freq = tuneHz * (1.0 + 2.0 * std::exp(-t * 40.0));
        phase += kTwoPi * freq / fs;
        const double body = std::sin(phase) * std::exp(-t * 18.0);
        const double crack = noise.next() * std::exp(-t * 90.0) * 0.5;
        const double s = 0.4 * (body + crack);
        audio.left[first + i] += static_cast<float>(s * (1.0 - pan));
        audio.right[first + i] += static_cast<float>(s * (1.0 + pan));
    }
}

// A voice-like tone: a few harmonics of 196 Hz with a gentle vibrato and a
// vowel-ish emphasis near 700 Hz, faded in and out.
void addTone(StereoAudio& audio, double start, double duration) {
    const double fs = audio.sampleRate;
    const size_t first = static_cast<size_t>(start * fs);
    const size_t length = static_cast<size_t>(duration * fs);
    double phase = 0.0;
    for (size_t i = 0; i < length && first + i < audio.frames(); ++i) {
        const double t = static_cast<double>(i) / fs;
        const double f0 = 196.0 * (1.0 + 0.01 * std::sin(kTwoPi * 5.5 * t));
        phase += kTwoPi * f0 / fs;
        double s = 0.0;
        for (int h = 1; h <= 8; ++h) {
            const double fh = f0 * h;
            const double formant = std::exp(-std::pow((fh - 700.0) / 400.0, 2.0));
            s += std::sin(phase * h) * (0.4 / h + 0.6 * formant);
        }
        const double attack = t < 0.05 ? t / 0.05 : 1.0;
        const double release = t > duration - 0.15 ? (duration - t) / 0.15 : 1.0;
        s *= 0.25 * attack * release;
        audio.left[first + i] += static_cast<float>(s * 0.9);
        audio.right[first + i] += static_cast<float>(s * 1.1);
    }
}

}  // namespace

StereoAudio makeTestSignal(float sampleRate) {
    StereoAudio audio;
    audio.sampleRate = sampleRate;
    const size_t frames = static_cast<size_t>(2.5 * sampleRate);
    audio.left.assign(frames, 0.0f);
    audio.right.assign(frames, 0.0f);
    Noise noise;
    addHit(audio, 0.00, -0.3, 60.0, noise);
    addHit(audio, 0.40, 0.3, 180.0, noise);
    addHit(audio, 0.60, -0.1, 180.0, noise);
    addHit(audio, 0.80, 0.0, 60.0, noise);
    addTone(audio, 1.30, 0.9);
    return audio;
}
