// A gain with two parameters, two programs, chunks and a soft bypass that the
// validator must pass; KORVEX_FAULT, read when an instance is made, plants one
// fault (named as in validate_faults_test.sh) that the matching check must find.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/VstEntry.h"

namespace {

struct Program {
    float values[2];
    char name[24];
};

float g_shared[2];  // where a faulty plug-in keeps what belongs to each instance

float clamped(float v) { return v > 1.0f ? 1.0f : (v >= 0.0f ? v : 0.0f); }

struct Faulty {
    AEffect effect{};
    const std::string fault = std::getenv("KORVEX_FAULT") ? std::getenv("KORVEX_FAULT") : "";
    Program programs[2] = {{{0.8f, 0.5f}, "Softer"}, {{0.5f, 0.25f}, "Half"}};
    int current = 0;
    float values[2] = {0.8f, 0.5f};
    bool bypass = false, heardLoud = false;
    unsigned blocks = 0, chunkCalls = 0;
    double phase = 0.0;
    unsigned char chunk[sizeof(programs) + 4];

    bool has(const char* name) const { return fault == name; }
    float* store() { return has("shared-parameter") ? g_shared : values; }

    void setParameter(int index, float value) {
        if (index < 0 || index > 1) return;
        store()[index] = programs[current].values[index] =
            has("nan-parameter") ? value : clamped(value);
    }
    float getParameter(int index) { return index >= 0 && index < 2 ? store()[index] : 0.0f; }

    void setProgram(int p) {
        if (p < 0 || p > 1) return;
        current = p;
        if (has("program-drift")) programs[p].values[0] *= 0.99f;
        std::memcpy(store(), programs[p].values, sizeof(values));
    }

    void process(float** in, float** out, int frames) {
        const float gain = store()[0] * (has("block-gain") && (blocks++ & 1u) ? 1.001f : 1.0f);
        for (int i = 0; i < frames + has("overrun"); ++i) {
            for (int c = 0; c < 2; ++c) {
                float x = i < frames ? in[c][i] : 0.0f;
                // Reads the input it has already overwritten when in place.
                if (has("in-place-alias") && c == 0) x = 0.5f * (x + (i > 0 ? in[0][i - 1] : x));
                heardLoud = heardLoud || std::fabs(x) > 0.5f;
                float y = bypass && !has("bypass-ignored") ? x : x * gain;
                if (std::fpclassify(y) == FP_SUBNORMAL) y = 0.0f;  // never hand the host a denormal
                if (has("nan-output") && i == 100) y = std::nanf("");
                if (has("subnormal-output") && y == 0.0f) y = 1e-40f;
                if (has("dc-offset")) y += 1e-4f;
                if (has("endless-tail") && heardLoud) y += 0.01f * float(std::sin(phase));
                out[c][i] = y;
            }
            phase += 0.05;
        }
    }

    VstIntPtr getChunk(void** data, bool preset) {
        *data = chunk;
        if (preset) {
            std::memcpy(chunk, &current, 4);
            std::memcpy(chunk + 4, &programs[current], sizeof(Program));
            return 4 + sizeof(Program);
        }
        std::memcpy(chunk, programs, sizeof(programs));
        if (has("chunk-counter")) std::memcpy(chunk, &++chunkCalls, 4);
        return sizeof(programs);
    }

    VstIntPtr setChunk(const unsigned char* data, VstIntPtr size, bool preset) {
        int index = current;
        if (data && preset && size == 4 + VstIntPtr(sizeof(Program))) std::memcpy(&index, data, 4);
        if (!data || size != VstIntPtr(preset ? 4 + sizeof(Program) : sizeof(programs)) ||
            index < 0 || index > 1) {
            if (has("refused-but-changed")) programs[1].values[1] = 0.125f;
            return 0;
        }
        std::memcpy(preset ? &programs[index] : programs, preset ? data + 4 : data,
                    size_t(size) - 4 * preset);
        for (Program& p : programs) {
            p.name[23] = 0;
            for (float& v : p.values) v = clamped(v);
        }
        setProgram(index);
        return 1;
    }

    VstIntPtr dispatch(VstInt32 op, VstInt32 index, VstIntPtr value, void* ptr) {
        char* text = static_cast<char*>(ptr);
        const char* answer = nullptr;
        size_t room = 24;
        switch (op) {
            case effSetProgram: setProgram(int(value)); return 1;
            case effGetProgram: return current;
            case effSetProgramName:
                if (text) std::snprintf(programs[current].name, 24, "%s", text);
                return 1;
            case effGetProgramName: answer = programs[current].name; break;
            case effGetProgramNameIndexed:
                answer = index == 0 || index == 1 ? programs[index].name : nullptr;
                break;
            case effGetParamName:  // the planted fault: 44 bytes into 8
                answer = has("long-name") ? "A parameter name far beyond any host buffer"
                                          : (index == 0 ? "Gain" : "Tone");
                room = has("long-name") ? 64 : 9;
                break;
            case effGetParamDisplay:
                if (text) std::snprintf(text, 9, "%.2f", double(getParameter(index)));
                return 0;
            case effGetChunk: return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
            case effSetChunk: return setChunk(static_cast<unsigned char*>(ptr), value, index != 0);
            case effCanDo: return text && std::strcmp(text, "bypass") == 0;
            case effSetBypass: bypass = value != 0; return 1;
            case effGetEffectName: answer = "Faulty"; break;
            case effGetVendorString:
            case effGetProductString: answer = "KORVEX52 tests"; break;
            default: return 0;
        }
        if (text && answer) std::snprintf(text, room, "%s", answer);
        return answer != nullptr;
    }
};

Faulty* self(AEffect* e) { return static_cast<Faulty*>(e->object); }

}  // namespace

AEffect* VSTPluginMain(audioMasterCallback host) {
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    Faulty* plug = new Faulty();
    AEffect& e = plug->effect;
    e.magic = kEffectMagic;
    e.dispatcher = [](AEffect* e, VstInt32 op, VstInt32 index, VstIntPtr value, void* ptr,
                      float) -> VstIntPtr {
        if (op == effClose) return delete self(e), 1;
        return self(e)->dispatch(op, index, value, ptr);
    };
    e.process = [](AEffect*, float**, float**, VstInt32) {};
    e.setParameter = [](AEffect* e, VstInt32 i, float v) { self(e)->setParameter(i, v); };
    e.getParameter = [](AEffect* e, VstInt32 i) { return self(e)->getParameter(i); };
    e.processReplacing = [](AEffect* e, float** in, float** out, VstInt32 frames) {
        self(e)->process(in, out, frames);
    };
    e.numPrograms = e.numParams = e.numInputs = e.numOutputs = 2;
    e.flags = effFlagsCanReplacing | effFlagsProgramChunks;
    e.ioRatio = 1.0f;
    e.object = plug;
    e.uniqueID = vstFourCC('F', 'l', 't', 'y');
    e.version = 1;
    return &e;
}
