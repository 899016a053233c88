// A small VST 2.4 effect for testing the validator: a gain with two
// parameters, two programs, chunks and a soft bypass. Without faults it does
// everything right, so the validator must pass it; the environment variable
// KORVEX_FAULT, read when an instance is made, plants one fault, which the
// matching check must find.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "frame/VstEntry.h"

namespace {

enum class Fault {
    None,
    NanOutput,
    SubnormalOutput,
    Overrun,
    LongName,
    SharedParameter,
    ChunkCounter,
    DcOffset,
    BlockGain,
    BypassIgnored,
    InPlaceAlias,
    ProgramDrift,
    RefusedButChanged,
    NanParameter,
    EndlessTail,
};

Fault faultFromEnvironment() {
    const char* name = std::getenv("KORVEX_FAULT");
    if (!name) return Fault::None;
    static const struct {
        const char* name;
        Fault fault;
    } kFaults[] = {
        {"nan-output", Fault::NanOutput},
        {"subnormal-output", Fault::SubnormalOutput},
        {"overrun", Fault::Overrun},
        {"long-name", Fault::LongName},
        {"shared-parameter", Fault::SharedParameter},
        {"chunk-counter", Fault::ChunkCounter},
        {"dc-offset", Fault::DcOffset},
        {"block-gain", Fault::BlockGain},
        {"bypass-ignored", Fault::BypassIgnored},
        {"in-place-alias", Fault::InPlaceAlias},
        {"program-drift", Fault::ProgramDrift},
        {"refused-but-changed", Fault::RefusedButChanged},
        {"nan-parameter", Fault::NanParameter},
        {"endless-tail", Fault::EndlessTail},
    };
    for (const auto& f : kFaults)
        if (std::strcmp(name, f.name) == 0) return f.fault;
    return Fault::None;
}

constexpr int kParams = 2;
constexpr int kPrograms = 2;

struct Program {
    float values[kParams];
    char name[24];
};

float g_shared[kParams];  // where a faulty plug-in keeps what belongs to each instance

struct Faulty {
    AEffect effect{};
    Fault fault = faultFromEnvironment();
    Program programs[kPrograms] = {{{0.8f, 0.5f}, "Softer"}, {{0.5f, 0.25f}, "Half"}};
    int current = 0;
    float values[kParams] = {0.8f, 0.5f};
    bool bypass = false;
    unsigned blocks = 0;
    unsigned chunkCalls = 0;
    float lastIn = 0.0f;
    bool heardLoud = false;
    double phase = 0.0;
    unsigned char chunk[sizeof(programs) + 4];

    float* store() { return fault == Fault::SharedParameter ? g_shared : values; }

    void setParameter(int index, float value) {
        if (index < 0 || index >= kParams) return;
        if (fault != Fault::NanParameter)
            value = value > 1.0f ? 1.0f : (value >= 0.0f ? value : 0.0f);
        store()[index] = value;
        programs[current].values[index] = value;
    }
    float getParameter(int index) { return index >= 0 && index < kParams ? store()[index] : 0.0f; }

    void setProgram(int p) {
        if (p < 0 || p >= kPrograms) return;
        current = p;
        if (fault == Fault::ProgramDrift) programs[p].values[0] *= 0.99f;
        for (int i = 0; i < kParams; ++i) store()[i] = programs[p].values[i];
    }

    void process(float** in, float** out, int frames) {
        const float gain = store()[0];
        const float blockGain = (fault == Fault::BlockGain && (blocks++ & 1u)) ? 1.001f : 1.0f;
        const int written = fault == Fault::Overrun ? frames + 1 : frames;
        for (int i = 0; i < written; ++i) {
            for (int c = 0; c < 2; ++c) {
                float x = i < frames ? in[c][i] : 0.0f;
                if (fault == Fault::InPlaceAlias && c == 0) {
                    // Reads the previous input frame from the buffer it has
                    // already written to, which breaks processing in place.
                    const float previous = i > 0 ? in[0][i - 1] : lastIn;
                    if (i == frames - 1) lastIn = x;
                    x = 0.5f * (x + previous);
                }
                if (std::fabs(x) > 0.5f) heardLoud = true;
                float y = (bypass && fault != Fault::BypassIgnored) ? x : x * gain * blockGain;
                if (std::fpclassify(y) == FP_SUBNORMAL) y = 0.0f;  // never hand the host a denormal
                if (fault == Fault::NanOutput && i == 100) y = std::nanf("");
                if (fault == Fault::SubnormalOutput && y == 0.0f) y = 1e-40f;
                if (fault == Fault::DcOffset) y += 1e-4f;
                if (fault == Fault::EndlessTail && heardLoud)
                    y += 0.01f * static_cast<float>(std::sin(phase));
                out[c][i] = y;
            }
            phase += 0.05;
        }
    }

    VstIntPtr getChunk(void** data, bool preset) {
        if (preset) {
            std::memcpy(chunk, &current, 4);
            std::memcpy(chunk + 4, &programs[current], sizeof(Program));
            *data = chunk;
            return 4 + sizeof(Program);
        }
        std::memcpy(chunk, programs, sizeof(programs));
        if (fault == Fault::ChunkCounter) std::memcpy(chunk, &++chunkCalls, 4);
        *data = chunk;
        return sizeof(programs);
    }

    VstIntPtr setChunk(const unsigned char* data, VstIntPtr size, bool preset) {
        const VstIntPtr wanted = preset ? 4 + static_cast<VstIntPtr>(sizeof(Program))
                                        : static_cast<VstIntPtr>(sizeof(programs));
        if (size != wanted || !data) {
            if (fault == Fault::RefusedButChanged) programs[1].values[1] = 0.125f;
            return 0;
        }
        if (preset) {
            int index;
            std::memcpy(&index, data, 4);
            if (index < 0 || index >= kPrograms) return 0;
            std::memcpy(&programs[index], data + 4, sizeof(Program));
            current = index;
        } else {
            std::memcpy(programs, data, sizeof(programs));
        }
        for (Program& p : programs) {
            p.name[23] = 0;
            for (float& v : p.values) v = v > 1.0f ? 1.0f : (v >= 0.0f ? v : 0.0f);
        }
        setProgram(current);
        return 1;
    }

    VstIntPtr dispatch(VstInt32 op, VstInt32 index, VstIntPtr value, void* ptr, float) {
        char* text = static_cast<char*>(ptr);
        switch (op) {
            case effSetProgram: setProgram(static_cast<int>(value)); return 1;
            case effGetProgram: return current;
            case effSetProgramName:
                if (text)
                    std::snprintf(programs[current].name, sizeof(programs[current].name), "%s",
                                  text);
                return 1;
            case effGetProgramName:
                if (text) std::snprintf(text, 24, "%s", programs[current].name);
                return 1;
            case effGetProgramNameIndexed:
                if (!text || index < 0 || index >= kPrograms) return 0;
                std::snprintf(text, 24, "%s", programs[index].name);
                return 1;
            case effGetParamName:
                if (!text) return 0;
                if (fault == Fault::LongName)  // the planted fault: 44 bytes into 8
                    std::snprintf(text, 64, "%s", "A parameter name far beyond any host buffer");
                else std::snprintf(text, 9, "%s", index == 0 ? "Gain" : "Tone");
                return 0;
            case effGetParamLabel:
                if (text) text[0] = 0;
                return 0;
            case effGetParamDisplay:
                if (text) std::snprintf(text, 9, "%.2f", static_cast<double>(getParameter(index)));
                return 0;
            case effGetChunk: return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
            case effSetChunk:
                return setChunk(static_cast<const unsigned char*>(ptr), value, index != 0);
            case effCanDo: return text && std::strcmp(text, "bypass") == 0 ? 1 : 0;
            case effSetBypass: bypass = value != 0; return 1;
            case effGetEffectName:
                if (text) std::snprintf(text, 32, "%s", "Faulty");
                return 1;
            case effGetVendorString:
            case effGetProductString:
                if (text) std::snprintf(text, 64, "%s", "KORVEX52 tests");
                return 1;
            case effGetVstVersion: return 2400;
            case effCanBeAutomated: return 1;
            default: return 0;
        }
    }
};

Faulty* self(AEffect* e) { return static_cast<Faulty*>(e->object); }

VstIntPtr dispatcher(AEffect* e, VstInt32 op, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) {
    if (op == effClose) {
        delete self(e);
        return 1;
    }
    return self(e)->dispatch(op, index, value, ptr, opt);
}
void setParameter(AEffect* e, VstInt32 index, float value) { self(e)->setParameter(index, value); }
float getParameter(AEffect* e, VstInt32 index) { return self(e)->getParameter(index); }
void processReplacing(AEffect* e, float** in, float** out, VstInt32 frames) {
    self(e)->process(in, out, frames);
}
void processNothing(AEffect*, float**, float**, VstInt32) {}

}  // namespace

AEffect* VSTPluginMain(audioMasterCallback host) {
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    Faulty* plug = new (std::nothrow) Faulty();
    if (!plug) return nullptr;
    AEffect& e = plug->effect;
    e.magic = kEffectMagic;
    e.dispatcher = dispatcher;
    e.process = processNothing;
    e.setParameter = ::setParameter;
    e.getParameter = ::getParameter;
    e.numPrograms = kPrograms;
    e.numParams = kParams;
    e.numInputs = 2;
    e.numOutputs = 2;
    e.flags = effFlagsCanReplacing | effFlagsProgramChunks;
    e.ioRatio = 1.0f;
    e.object = plug;
    e.uniqueID = vstFourCC('F', 'l', 't', 'y');
    e.version = 1;
    e.processReplacing = processReplacing;
    return &e;
}
