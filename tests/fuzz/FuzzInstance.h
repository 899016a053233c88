// What the fuzz targets share: a plug-in instance in korvex-host's own
// host, fresh or brought back to its first state for every input (so every
// finding replays from its input alone), and a check that stops the run with
// a message when an invariant breaks.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "tests/unit/dsp/TestSignals.h"
#include "tools/host/PluginInstance.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback host);

#define FUZZ_CHECK(condition, ...)                                       \
    do {                                                                 \
        if (!(condition)) {                                              \
            std::fprintf(stderr, "fuzz check failed: %s: ", #condition); \
            std::fprintf(stderr, __VA_ARGS__);                           \
            std::fprintf(stderr, "\n");                                  \
            std::abort();                                                \
        }                                                                \
    } while (0)

class FuzzInstance {
public:
    // Opened and switched on the way hosts start an effect.
    FuzzInstance() : instance(PluginInstance::create(VSTPluginMain)) {
        FUZZ_CHECK(instance != nullptr, "the entry point gave no effect");
        effect = instance->effect();
        dispatch(effOpen);
        dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        dispatch(effSetBlockSize, 0, 512);
        dispatch(effMainsChanged, 0, 1);
    }
    ~FuzzInstance() { dispatch(effMainsChanged, 0, 0); }  // the instance then closes itself
    FuzzInstance(const FuzzInstance&) = delete;
    FuzzInstance& operator=(const FuzzInstance&) = delete;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        return instance->dispatch(opcode, index, value, ptr, opt);
    }

    // A copy of the plug-in's chunk; every byte is read, so a chunk that
    // claims more than it owns shows up under the address sanitizer.
    std::vector<unsigned char> chunk(bool preset) {
        void* data = nullptr;
        const VstIntPtr size = dispatch(effGetChunk, preset ? 1 : 0, 0, &data);
        FUZZ_CHECK(size >= 0 && (size == 0 || data), "getChunk answered %lld bytes at %p",
                   static_cast<long long>(size), data);
        const auto* bytes = static_cast<const unsigned char*>(data);
        return size > 0 ? std::vector<unsigned char>(bytes, bytes + size)
                        : std::vector<unsigned char>();
    }

    // Runs frames of a fixed noise through processReplacing (buffers of
    // exactly that size) and checks that every output sample is finite.
    void processAndCheck(int frames) {
        // Exactly sized (one frame for an empty block, so the pointers are real).
        const size_t n = frames > 0 ? static_cast<size_t>(frames) : 1u;
        std::vector<float> inL = ZEPHRA2F9C41D07::noise(n, 1), inR = ZEPHRA2F9C41D07::noise(n, 2);
        std::vector<float> outL(n), outR(n);
        float* ins[2] = {inL.data(), inR.data()};
        float* outs[2] = {outL.data(), outR.data()};
        effect->processReplacing(effect, ins, outs, frames);
        for (int i = 0; i < frames; ++i)
            FUZZ_CHECK(std::isfinite(outL[i]) && std::isfinite(outR[i]),
                       "output frame %d of %d is %g, %g", i, frames, double(outL[i]),
                       double(outR[i]));
    }

    // Brings the instance back to the state it had when made: the factory
    // bank and program 0. Fuzz targets that reuse one instance (a fresh one
    // costs milliseconds under the sanitizers: its delay memory is allocated
    // and cleared three times) call this before every input; the audio
    // state is all that carries over.
    void reset() {
        if (initialBank.empty()) initialBank = chunk(false);
        std::vector<unsigned char> copy(initialBank);
        dispatch(effSetChunk, 0, static_cast<VstIntPtr>(copy.size()), copy.data());
        dispatch(effSetProgram, 0, 0);
        FUZZ_CHECK(
            sameApartFromEditorSize(chunk(false), initialBank) && dispatch(effGetProgram) == 0,
            "the instance did not return to its first state");
    }

    // Bank chunks equal in every byte but the editor-size fields (12 and 13
    // of each 80-byte record), which carry the editor's present size: a
    // chunk restored in the first two seconds resizes the editor, and no
    // later restore sizes it back.
    static bool sameApartFromEditorSize(const std::vector<unsigned char>& a,
                                        const std::vector<unsigned char>& b) {
        constexpr size_t kRecord = 80, kSizeFrom = 12 * 4, kSizeTo = 14 * 4;
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i) {
            const size_t at = i % kRecord;
            if (at >= kSizeFrom && at < kSizeTo) continue;
            if (a[i] != b[i]) return false;
        }
        return true;
    }

    std::unique_ptr<PluginInstance> instance;
    AEffect* effect = nullptr;
    std::vector<unsigned char> initialBank;
};
