// ValidatorHost: what the validation battery needs to host any VST 2.4
// effect: instances, several of which may live at once (the host callback
// keeps no per-instance state), deterministic test signals, a
// verdict on output audio, and an audio thread that processes without pause
// while a check does other things on its own thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "frame/vst_abi.h"

// One plug-in instance; closed (effClose) when destroyed.
class Instance {
public:
    // A new instance through the entry point; null when it gives none.
    static std::unique_ptr<Instance> create(VstPluginMainProc entry);
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    AEffect* effect() const { return effect_; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    void setParameter(int index, float value) { effect_->setParameter(effect_, index, value); }
    float getParameter(int index) { return effect_->getParameter(effect_, index); }

    // The start-up of an offline host: open, sample rate, largest block size,
    // switched on and processing started.
    void start(float sampleRate, int maxBlock);
    // Suspends, sets the rate and resumes, as hosts do when the rate changes.
    void changeRate(float sampleRate);

    // Processes frames in place of the host: ins and outs are two channels each.
    void process(float* const* ins, float* const* outs, int frames);

    // A copy of the plug-in's preset or bank chunk; empty when it gives none.
    std::vector<unsigned char> chunk(bool preset);
    // Hands bytes to effSetChunk (from a buffer of exactly their size).
    VstIntPtr setChunk(const std::vector<unsigned char>& bytes, bool preset);

    // Reads a text answer from a buffer of size bytes (filled with a marker
    // first). Answers false when the plug-in left no terminator inside it.
    bool text(VstInt32 opcode, VstInt32 index, VstIntPtr value, size_t size, std::string& out);

private:
    explicit Instance(AEffect* effect) : effect_(effect) {}
    AEffect* effect_;
};

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
    AudioThread(Instance& instance, Signal signal, uint32_t seed, bool suspendResume = false);
    ~AudioThread();
    // Stops and joins; answers the verdict over everything processed.
    AudioVerdict stop();
    long blocks() const { return blocks_.load(); }
    // Waits until at least n more blocks have been processed (or 2 s passed).
    void waitBlocks(long n);

private:
    void run(Signal signal, uint32_t seed, bool suspendResume);
    Instance& instance_;
    std::atomic<bool> stop_{false};
    std::atomic<long> blocks_{0};
    AudioVerdict verdict_;
    std::thread thread_;
};

// How many host callbacks of the automation kind arrived so far (any instance).
long automationCalls();
