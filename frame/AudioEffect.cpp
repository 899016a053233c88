// AudioEffect: record set-up, the basic dispatcher and the entry trampolines.
#include "frame/AudioEffect.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "frame/AEffEditor.h"

AudioEffect::AudioEffect(audioMasterCallback host, VstInt32 programs, VstInt32 params)
    : audioMaster(host), numPrograms(programs), numParams(params) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = programs;
    cEffect.numParams = params;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = vstFourCC('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect() {
    delete editor;
    editor = nullptr;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
    if (state) cEffect.flags |= flag;
    else cEffect.flags &= ~flag;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    if (audioMaster) audioMaster(&cEffect, audioMasterAutomate, index, 0, nullptr, value);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    switch (opcode) {
        case effOpen: open(); break;
        case effClose: close(); break;
        case effSetProgram:
            if (value < numPrograms) setProgram(static_cast<VstInt32>(value));
            break;
        case effGetProgram: return getProgram();
        case effSetProgramName: setProgramName(static_cast<char*>(ptr)); break;
        case effGetProgramName: getProgramName(static_cast<char*>(ptr)); break;
        case effGetParamLabel: getParameterLabel(index, static_cast<char*>(ptr)); break;
        case effGetParamDisplay: getParameterDisplay(index, static_cast<char*>(ptr)); break;
        case effGetParamName: getParameterName(index, static_cast<char*>(ptr)); break;
        case effSetSampleRate: setSampleRate(opt); break;
        case effSetBlockSize: setBlockSize(static_cast<VstInt32>(value)); break;
        case effMainsChanged:
            if (value == 0) suspend();
            else resume();
            break;
        case effEditGetRect:
            if (editor) return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
            break;
        case effEditOpen:
            if (editor) return editor->open(ptr) ? 1 : 0;
            break;
        case effEditClose:
            if (editor) editor->close();
            break;
        case effEditIdle:
            if (editor) editor->idle();
            break;
        case effIdentify: return vstFourCC('N', 'v', 'E', 'f');
        case effGetChunk: return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk: return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
        default: break;
    }
    return 0;
}

VstInt32 AudioEffect::getMasterVersion() {
    VstIntPtr version = callHost(audioMasterVersion);
    return version == 0 ? 1 : static_cast<VstInt32>(version);
}

VstInt32 AudioEffect::getCurrentUniqueId() {
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

bool AudioEffect::isInputConnected(VstInt32 input) {
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
    if (value <= 0.0f) {
        if (text && maxLen > 0) std::snprintf(text, static_cast<size_t>(maxLen), "%s", "-oo");
        return;
    }
    float2string(20.0f * std::log10(value), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
    float2string(samples == 0.0f ? 0.0f : sampleRate / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
    float2string(samples * 1000.0f / sampleRate, text, maxLen);
}

// Two decimals, bounded by maxLen including the terminating zero.
void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
    if (text && maxLen > 0) std::snprintf(text, static_cast<size_t>(maxLen), "%.2f", value);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
    if (text && maxLen > 0) std::snprintf(text, static_cast<size_t>(maxLen), "%d", value);
}

// The entry functions recover the object from the record; a host that calls
// them with a record we did not hand out is beyond help, so no check is made
// beyond the null pointers that some hosts pass while probing.
VstIntPtr AudioEffect::dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt) {
    auto* self = e ? static_cast<AudioEffect*>(e->object) : nullptr;
    if (!self) return 0;
    VstIntPtr result = self->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
        delete self;
        return 1;
    }
    return result;
}

void AudioEffect::processClass(AEffect* e, float** inputs, float** outputs, VstInt32 frames) {
    if (auto* self = e ? static_cast<AudioEffect*>(e->object) : nullptr)
        self->process(inputs, outputs, frames);
}

void AudioEffect::processClassReplacing(AEffect* e, float** inputs, float** outputs,
                                        VstInt32 frames) {
    if (auto* self = e ? static_cast<AudioEffect*>(e->object) : nullptr)
        self->processReplacing(inputs, outputs, frames);
}

void AudioEffect::processClassDoubleReplacing(AEffect* e, double** inputs, double** outputs,
                                              VstInt32 frames) {
    if (auto* self = e ? static_cast<AudioEffect*>(e->object) : nullptr)
        self->processDoubleReplacing(inputs, outputs, frames);
}

void AudioEffect::setParameterClass(AEffect* e, VstInt32 index, float value) {
    if (auto* self = e ? static_cast<AudioEffect*>(e->object) : nullptr)
        self->setParameter(index, value);
}

float AudioEffect::getParameterClass(AEffect* e, VstInt32 index) {
    auto* self = e ? static_cast<AudioEffect*>(e->object) : nullptr;
    return self ? self->getParameter(index) : 0.0f;
}
