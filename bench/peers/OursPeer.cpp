// OursPeer: KORVEX52 as a contender; see OursPeer.h.
#include "OursPeer.h"

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "dsp/ReverbEngine.h"
#include "frame/vst_abi.h"

namespace peers {

using ZEPHRA2F9C41D07::ReverbEngine;

const char* const kOurSetting = "RT60 2 s, damping 3, mix 30 %, width 100 %, pre-delay 10 ms";

namespace {

constexpr int kSubBlock = 64;

using Entry = AEffect* (*)(audioMasterCallback);

VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

Entry entryPoint(const std::string& path) {
    static void* library = nullptr;
    if (!library) library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "KORVEX52: %s\n", dlerror());
        return nullptr;
    }
    return reinterpret_cast<Entry>(dlsym(library, "VSTPluginMain"));
}

VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstIntPtr value = 0, float opt = 0.0f) {
    return e->dispatcher(e, opcode, 0, value, nullptr, opt);
}

class PluginInstance : public Instance {
public:
    explicit PluginInstance(AEffect* effect) : effect_(effect) {}
    ~PluginInstance() override {
        dispatch(effect_, effMainsChanged, 0);
        dispatch(effect_, effClose);
    }
    void process(const float* inL, const float* inR, float* outL, float* outR,
                 int frames) override {
        float* inputs[2] = {const_cast<float*>(inL), const_cast<float*>(inR)};
        float* outputs[2] = {outL, outR};
        effect_->processReplacing(effect_, inputs, outputs, frames);
    }

private:
    AEffect* effect_;
};

// The engine driven as processReplacing drives it: sub-blocks of 64 frames,
// one control update each, the overload report after each host block.
class EngineInstance : public Instance {
public:
    EngineInstance(OurPath path, double sampleRate) : path_(path) {
        if (path == OurPath::kGeneric) engine_.selectBlockPath(ReverbEngine::BlockPath::kGeneric);
        if (path == OurPath::kAvx2) engine_.selectBlockPath(ReverbEngine::BlockPath::kAvx2);
        engine_.setRT60(2.0f);
        engine_.setDamping(3.0f);
        engine_.setMix(30.0f);
        engine_.setWidth(100.0f);
        engine_.setPreDelay(10.0f);
        engine_.setEffectOn(1.0f);
        engine_.prepare(static_cast<float>(sampleRate));
    }
    void process(const float* inL, const float* inR, float* outL, float* outR,
                 int frames) override {
        for (int done = 0; done < frames; done += kSubBlock) {
            const int n = std::min(kSubBlock, frames - done);
            engine_.updateControls(n);
            if (path_ == OurPath::kPerFrame) {
                for (int i = done; i < done + n; ++i)
                    engine_.processSample(inL[i], inR[i], outL[i], outR[i]);
            } else {
                engine_.processBlock(inL + done, inR + done, outL + done, outR + done, n);
            }
        }
        engine_.takeOverload();
    }

private:
    OurPath path_;
    ReverbEngine engine_;
};

}  // namespace

std::unique_ptr<Instance> createOurPlugin(const std::string& path, double sampleRate) {
    const Entry entry = entryPoint(path);
    if (!entry) return nullptr;
    AEffect* e = entry(hostCallback);
    if (!e) return nullptr;
    dispatch(e, effOpen);
    dispatch(e, effSetSampleRate, 0, static_cast<float>(sampleRate));
    dispatch(e, effSetBlockSize, kMaxBlock);
    // Normalised values: RT60 0..3 s, damping 0..10, mix and width 0..100 %,
    // pre-delay 0..250 ms, trims -6..+6 dB, effect in.
    const float values[10] = {2.0f / 3.0f, 0.3f, 0.3f, 0.04f, 1.0f, 0.5f, 0.5f, 0.0f, 0.0f, 1.0f};
    for (int i = 0; i < 10; ++i) e->setParameter(e, i, values[i]);
    dispatch(e, effMainsChanged, 1);
    return std::make_unique<PluginInstance>(e);
}

std::unique_ptr<Instance> createOurEngine(OurPath path, double sampleRate) {
    return std::make_unique<EngineInstance>(path, sampleRate);
}

const char* fastestPathName() {
    if (ReverbEngine::blockPathAvailable(ReverbEngine::BlockPath::kAvx512)) return "avx512";
    return ReverbEngine::blockPathAvailable(ReverbEngine::BlockPath::kAvx2) ? "avx2" : "sse2";
}

bool avx2IsSecondPath() {
    return ReverbEngine::blockPathAvailable(ReverbEngine::BlockPath::kAvx512) &&
           ReverbEngine::blockPathAvailable(ReverbEngine::BlockPath::kAvx2);
}

LifeTimes measureCreateClose(const std::string& path, int count) {
    const Entry entry = entryPoint(path);
    std::vector<double> ms;
    for (int i = 0; entry && i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        AEffect* e = entry(hostCallback);
        if (!e) break;
        dispatch(e, effOpen);
        dispatch(e, effClose);
        const auto end = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    if (ms.empty()) return {0.0, 0.0};
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

}  // namespace peers
