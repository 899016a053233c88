// CheckAudio: the audio side of the validation battery: deterministic test
// signals, a verdict on output audio, and an audio thread that processes
// without pause while a check does other things on its own thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "tools/host/PluginInstance.h"

// Signals the battery feeds in, stereo, deterministic for a given seed.
enum class Signal { Silence, Noise, FullScaleNoise, Dc, Nyquist, Denormal, Impulse };

struct StereoBuffer {
    std::vector<float> left, right;
    explicit StereoBuffer(size_t frames = 0) : left(frames), right(frames) {}
    size_t frames() const { return left.size(); }
    float* channels[2] = {nullptr, nullptr};
    float* const* pointers() {
        channels[0] = left.data();
        channels[1] = right.data();
        return channels;
    }
};

void fillSignal(StereoBuffer& buffer, Signal signal, uint32_t seed, size_t startFrame = 0);

// Louder than any sane effect should ever be: +24 dBFS.
constexpr float kOutputBound = 16.0f;

// What the battery requires of every output sample: finite, not subnormal,
// and (where asked) within a bound.
struct AudioVerdict {
    size_t samples = 0;
    size_t notFinite = 0;
    size_t subnormal = 0;
    float peak = 0.0f;
    void add(const float* samples, size_t count);
    void add(const StereoBuffer& buffer, size_t frames);
    // An empty text when the audio is sound and within bound (0: no bound).
    std::string problem(float bound) const;
};

// Processes one instance on a thread of its own: noise (or the given signal)
// in blocks of changing size, as a host's audio thread does, until stopped.
// Optionally suspends and resumes between blocks from that thread.
class AudioThread {
public:
    AudioThread(PluginInstance& instance, Signal signal, uint32_t seed, bool suspendResume = false);
    ~AudioThread();
    // Stops and joins; answers the verdict over everything processed.
    AudioVerdict stop();
    long blocks() const { return blocks_.load(); }
    // Waits until at least n more blocks have been processed (or 2 s passed).
    void waitBlocks(long n);

private:
    void run(Signal signal, uint32_t seed, bool suspendResume);
    PluginInstance& instance_;
    std::atomic<bool> stop_{false};
    std::atomic<long> blocks_{0};
    AudioVerdict verdict_;
    std::thread thread_;
};
