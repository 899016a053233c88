// CPlug: construction, the dispatcher, the parameter model and the audio loop.
#include "plugin/CPlug.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>

#include "afx/afx_window.h"
#include "editor/EditorLink.h"
#include "editor/PanelLayout.h"
#include "resources/korvex_identity.h"

namespace ZEPHRA2F9C41D07 {

namespace {

constexpr VstInt32 kUniqueId = vstFourCC('K', 'V', '5', '2');
// Without an editor the host is still given a place for one: the panel's own size.
constexpr VstInt16 kFallbackWidth = static_cast<VstInt16>(kPanelLayout.panel.w);
constexpr VstInt16 kFallbackHeight = static_cast<VstInt16>(kPanelLayout.panel.h);

uint32_t steadyMilliseconds() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

CPlug::MillisecondClock g_clock = steadyMilliseconds;

float clamp01(float value) {
    // NaN compares false both ways and ends up at 0.0: a damaged value never
    // reaches the engine as NaN.
    if (value > 1.0f) return 1.0f;
    if (value >= 0.0f) return value;
    return 0.0f;
}

// Copies a fixed text into a host buffer; the identity texts fit every
// buffer size hosts are known to pass.
bool copyIdentity(char* dest, const char* text) {
    if (!dest) return false;
    std::strcpy(dest, text);
    return true;
}

}  // namespace

uint32_t CPlug::nowMs() { return g_clock(); }

void CPlug::setMillisecondClock(MillisecondClock clock) {
    g_clock = clock ? clock : steadyMilliseconds;
}

CPlug::CPlug(audioMasterCallback host, VstInt32 programCount, VstInt32 paramCount)
    : AudioEffectX(host, programCount, paramCount) {
    constructionTimeMs = g_clock();
    for (auto& record : bankChunk) {
        std::memset(&record, 0, sizeof(record));
        record.magic = kProgramMagic;
        std::snprintf(record.name, sizeof(record.name), "%s", "Default");
    }
    for (int i = 0; i < kNumParameters; ++i) values[i].store(parameterDefault(i));
    bypassGate.store(1.0f);
    editor = createEditorLink(this);
    engine = nullptr;
    curProgramIndex = 0;
    setUniqueID(kUniqueId);
    setNumInputs(2);
    setNumOutputs(2);
    for (int i = 0; i < kNumPrograms; ++i) initProgramRecord(programs[i], i);
    currentEvents = nullptr;
    canProcessReplacing(true);
    cEffect.flags |= effFlagsHasEditor;
    programsAreChunks(true);
    // Without an engine the plug-in still loads and passes audio through
    // unchanged, so a host session never loses a track to a failed allocation.
    engine = new (std::nothrow) ReverbEngine();
    applyAllParameters();
}

CPlug::~CPlug() {
    delete engine;
    engine = nullptr;
    delete editor;
    editor = nullptr;
}

EditorLink* CPlug::gui() const { return static_cast<EditorLink*>(editor); }

void CPlug::replaceEditor(EditorLink* newEditor) {
    delete editor;
    editor = newEditor;
}

// ---- dispatcher -------------------------------------------------------------

VstIntPtr CPlug::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt) {
    switch (opcode) {
        case effSetProgram: setProgram(static_cast<VstInt32>(value)); return 1;
        case effGetProgram: return curProgramIndex;
        case effSetProgramName: setProgramName(static_cast<char*>(ptr)); return 1;
        case effGetProgramName: getProgramName(static_cast<char*>(ptr)); return 1;
        case effSetSampleRate: setSampleRate(opt); return 0;
        case effEditGetRect:
            if (editor) {
                editor->getRect(static_cast<ERect**>(ptr));
            } else if (ptr) {
                fallbackRect = ERect{0, 0, kFallbackHeight, kFallbackWidth};
                *static_cast<ERect**>(ptr) = &fallbackRect;
            }
            return 1;
        case effEditOpen:
            if (editor) editor->open(ptr);
            return 1;
        case effEditClose:
            if (editor) editor->close();
            return 1;
        case effEditIdle:
            // The editor runs on its own timer. Where the window system does
            // not deliver through the host's event loop (X11), the toolkit's
            // windows get their input, paints and timer ticks here, on the
            // host's user-interface thread.
            afx_idle(afx_context_get(false));
            return 0;
        case effProcessEvents: currentEvents = static_cast<VstEvents*>(ptr); return 1;
        case effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
        case effGetProgramNameIndexed:
            getProgramNameIndexed(static_cast<VstInt32>(value), index, static_cast<char*>(ptr));
            return 1;
        case effSetBypass: setBypass(value != 0); return 1;
        case effGetEffectName: getEffectName(static_cast<char*>(ptr)); return 1;
        case effGetVendorString: getVendorString(static_cast<char*>(ptr)); return 1;
        case effGetProductString: getProductString(static_cast<char*>(ptr)); return 1;
        case effGetVendorVersion: return getVendorVersion();
        case effCanDo: {
            // All seven bytes, the terminator included: "bypassed" is not "bypass".
            static const char kBypass[7] = {'b', 'y', 'p', 'a', 's', 's', 0};
            if (!ptr) return 0;
            const char* text = static_cast<const char*>(ptr);
            for (int i = 0; i < 7; ++i) {
                if (text[i] != kBypass[i]) return 0;
                if (text[i] == 0) break;
            }
            return 1;
        }
        case effGetVstVersion: return getVstVersion();
        case effSetEditKnobMode:
            if (editor) editor->setKnobMode(static_cast<VstInt32>(value));
            return 1;
        case effOpen:
        case effClose:
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName:
        case effSetBlockSize:
        case effMainsChanged:
        case effIdentify:
        case effGetChunk:
        case effSetChunk: return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
        default: return 0;
    }
}

// ---- identity ---------------------------------------------------------------

bool CPlug::getEffectName(char* name) { return copyIdentity(name, KORVEX_EFFECT_NAME); }
bool CPlug::getVendorString(char* text) { return copyIdentity(text, KORVEX_VENDOR_NAME); }
bool CPlug::getProductString(char* text) { return copyIdentity(text, KORVEX_PRODUCT_NAME); }
VstInt32 CPlug::getVendorVersion() { return KORVEX_VENDOR_VERSION; }

// ---- lifecycle --------------------------------------------------------------

void CPlug::setSampleRate(float rate) {
    sampleRate = rate;  // applyAllParameters prepares the engine with this rate
    applyAllParameters();
}

void CPlug::suspend() {
    if (engine) engine->clear();
}

float CPlug::effectInValue() const {
    float product = clamp01(bypassGate.load(std::memory_order_relaxed)) *
                    clamp01(values[kEffect].load(std::memory_order_relaxed));
    return effectIsIn(product) ? 1.0f : 0.0f;
}

void CPlug::applyAllParameters() {
    if (!engine) return;
    engine->prepare(sampleRate);
    auto mapped = [this](int i) {
        return parameterInUnits(i, values[i].load(std::memory_order_relaxed));
    };
    engine->setRT60(mapped(kRT60));
    engine->setDamping(mapped(kDamping));
    engine->setMix(mapped(kMix));
    engine->setPreDelay(mapped(kPreDelay));
    engine->setWidth(mapped(kWidth));
    engine->setOutTrim(mapped(kOutTrim));
    engine->setInTrim(mapped(kInTrim));
    engine->setWetOnly(mapped(kWetOnly));
    engine->setMute(mapped(kMute));
    engine->setEffectOn(effectInValue());
}

// ---- parameters -------------------------------------------------------------

void CPlug::setParameter(VstInt32 index, float value) {
    ProgramRecord& record = programs[curProgramIndex];
    if (index >= 0 && index < kEffect) {
        if (engine) {
            float v = parameterInUnits(index, value);
            switch (index) {
                case kRT60: engine->setRT60(v); break;
                case kDamping: engine->setDamping(v); break;
                case kMix: engine->setMix(v); break;
                case kPreDelay: engine->setPreDelay(v); break;
                case kWidth: engine->setWidth(v); break;
                case kOutTrim: engine->setOutTrim(v); break;
                case kInTrim: engine->setInTrim(v); break;
                case kWetOnly: engine->setWetOnly(v); break;
                case kMute: engine->setMute(v); break;
                default: break;
            }
        }
        values[index].store(value, std::memory_order_relaxed);
        storeField(record.values[index], value);
        if (EditorLink* link = gui()) link->parameterChanged(index, value);
    } else if (index == kEffect) {
        values[kEffect].store(value, std::memory_order_relaxed);
        if (engine) engine->setEffectOn(effectInValue());
        storeField(record.values[kEffect], value);
        if (EditorLink* link = gui()) link->parameterChanged(index, value);
    } else if (index == kOverload) {
        if (EditorLink* link = gui()) link->parameterChanged(index, value);
    } else if (index == kEditorWidth) {
        editorWidth.store(value, std::memory_order_relaxed);
        storeField(record.editorWidth, value);
    } else if (index == kEditorHeight) {
        editorHeight.store(value, std::memory_order_relaxed);
        storeField(record.editorHeight, value);
    }
}

float CPlug::getParameter(VstInt32 index) {
    if (index >= 0 && index < kNumParameters) return values[index].load(std::memory_order_relaxed);
    if (index == kEditorWidth) return editorWidth.load(std::memory_order_relaxed);
    if (index == kEditorHeight) return editorHeight.load(std::memory_order_relaxed);
    return 0.0f;
}

void CPlug::getParameterDisplay(VstInt32 index, char* text) {
    if (!text) return;
    // Texts of in-range values are at most nine characters; an absurd value
    // from a careless host is cut at 23 so no host buffer of 24 is overrun.
    formatParameterDisplay(index, getParameter(index), text, kVstMaxProgNameLen);
}

void CPlug::getParameterName(VstInt32 index, char* text) {
    if (!text) return;
    std::snprintf(text, kVstMaxProgNameLen, "%s", parameterName(index));
}

bool CPlug::setBypass(bool onOff) {
    bypassGate.store(onOff ? 0.0f : 1.0f, std::memory_order_relaxed);
    if (engine) engine->setEffectOn(effectInValue());
    if (EditorLink* link = gui()) link->setHostBypassed(bypassGate.load(std::memory_order_relaxed));
    return true;
}

// ---- audio ------------------------------------------------------------------

void CPlug::processReplacing(float** inputs, float** outputs, VstInt32 frames) {
    if (inputs && outputs && frames > 0) {
        const float* inL = inputs[0];
        const float* inR = inputs[1];
        float* outL = outputs[0];
        float* outR = outputs[1];
        if (engine) {
            for (VstInt32 done = 0; done < frames;) {
                const VstInt32 n = std::min(frames - done, ReverbEngine::kMaxSubBlock);
                engine->updateControls(n);
                // The engine's sub-block path: the same samples as n calls of
                // processSample. It reads the inputs before it writes, so
                // hosts may process in place.
                engine->processBlock(inL + done, inR + done, outL + done, outR + done, n);
                done += n;
            }
        } else {
            for (VstInt32 i = 0; i < frames; ++i) {
                const float l = inL[i];
                const float r = inR[i];
                outL[i] = l;
                outR[i] = r;
            }
        }
    }
    const bool overloaded = engine && engine->takeOverload();
    setParameter(kOverload, overloaded ? 1.0f : 0.0f);
    currentEvents = nullptr;
}

}  // namespace ZEPHRA2F9C41D07
