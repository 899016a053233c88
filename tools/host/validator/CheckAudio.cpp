// CheckAudio: signals, audio verdicts and the audio thread of the battery.
#include "tools/host/validator/CheckAudio.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

// Noise as a pure function of the seed, the frame and the channel, so that
// the input is the same however a check cuts it into blocks.
uint32_t hash(uint32_t seed, size_t frame, uint32_t channel) {
    uint32_t x = seed * 0x9E3779B9u ^ (static_cast<uint32_t>(frame) * 2u + channel) * 0x85EBCA6Bu;
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

// -1 to 1.
float uniform(uint32_t bits) { return static_cast<float>(bits >> 8) / 8388608.0f - 1.0f; }

}  // namespace

void fillSignal(StereoBuffer& buffer, Signal signal, uint32_t seed, size_t startFrame) {
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const size_t n = startFrame + i;
        const uint32_t a = hash(seed, n, 0), b = hash(seed, n, 1);
        float l = 0.0f, r = 0.0f;
        switch (signal) {
            case Signal::Silence: break;
            case Signal::Noise:
                l = 0.5f * uniform(a);
                r = 0.5f * uniform(b);
                break;
            case Signal::FullScaleNoise:
                l = (a & 1u) ? 1.0f : -1.0f;
                r = uniform(b);
                break;
            case Signal::Dc:
                l = 1.0f;
                r = -1.0f;
                break;
            case Signal::Nyquist:
                l = (n & 1u) ? -1.0f : 1.0f;
                r = -l;
                break;
            case Signal::Denormal:
                // Values from the smallest subnormal to just below the normal range.
                l = std::ldexp(static_cast<float>(a >> 9) / 8388608.0f,
                               -126 - static_cast<int>(n % 23));
                r = (n & 1u) ? -l : l;
                break;
            case Signal::Impulse: l = r = (n == 0) ? 1.0f : 0.0f; break;
        }
        buffer.left[i] = l;
        buffer.right[i] = r;
    }
}

void AudioVerdict::add(const float* data, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const float x = data[i];
        if (!std::isfinite(x)) {
            ++notFinite;
            continue;
        }
        if (std::fpclassify(x) == FP_SUBNORMAL) ++subnormal;
        const float a = std::fabs(x);
        if (a > peak) peak = a;
    }
    samples += count;
}

void AudioVerdict::add(const StereoBuffer& buffer, size_t frames) {
    add(buffer.left.data(), frames);
    add(buffer.right.data(), frames);
}

std::string AudioVerdict::problem(float bound) const {
    if (notFinite)
        return std::to_string(notFinite) + " of " + std::to_string(samples) +
               " output samples not finite";
    if (subnormal)
        return std::to_string(subnormal) + " of " + std::to_string(samples) +
               " output samples subnormal";
    if (bound > 0.0f && peak > bound) {
        char text[96];
        std::snprintf(text, sizeof(text), "output peak %.3g exceeds %.3g",
                      static_cast<double>(peak), static_cast<double>(bound));
        return text;
    }
    return "";
}

AudioThread::AudioThread(PluginInstance& instance, Signal signal, uint32_t seed, bool suspendResume)
    : instance_(instance) {
    thread_ =
        std::thread([this, signal, seed, suspendResume] { run(signal, seed, suspendResume); });
}

AudioThread::~AudioThread() {
    if (thread_.joinable()) stop();
}

AudioVerdict AudioThread::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return verdict_;
}

void AudioThread::waitBlocks(long n) {
    const long target = blocks_.load() + n;
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (blocks_.load() < target && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
}

void AudioThread::run(Signal signal, uint32_t seed, bool suspendResume) {
    // Block sizes change from call to call, as in a DAW's export.
    static const int kSizes[] = {512, 1024, 768, 256, 64, 1, 333, 0, 1000, 65};
    StereoBuffer in(1024), out(1024);
    size_t frame = 0;
    long n = 0;
    while (!stop_.load()) {
        const int frames = kSizes[n % 10];
        fillSignal(in, signal, seed, frame);
        instance_.process(in.pointers(), out.pointers(), frames);
        verdict_.add(out, static_cast<size_t>(frames));
        frame += static_cast<size_t>(frames);
        if (suspendResume && n % 16 == 15) {
            instance_.dispatch(effMainsChanged, 0, 0);
            instance_.dispatch(effMainsChanged, 0, 1);
        }
        ++n;
        blocks_.store(n);
    }
}
