// HostSession: loading, the host callback and small dispatcher helpers.
#include "tools/host/HostSession.h"

#include <cstring>

namespace {
// The plug-in calls back before it has handed us its record (the version
// query in the entry point), so the callback finds its session here. The
// host runs one instance per process.
HostSession* g_session = nullptr;

const char* const kHostOpcodeNames[] = {
    "audioMasterAutomate", "audioMasterVersion", "audioMasterCurrentId", "audioMasterIdle",
    "audioMasterPinConnected", "opcode 5", "audioMasterWantMidi", "audioMasterGetTime",
    "audioMasterProcessEvents", "audioMasterSetTime", "audioMasterTempoAt",
    "audioMasterGetNumAutomatableParameters", "audioMasterGetParameterQuantization",
    "audioMasterIOChanged", "audioMasterNeedIdle", "audioMasterSizeWindow",
    "audioMasterGetSampleRate", "audioMasterGetBlockSize", "audioMasterGetInputLatency",
    "audioMasterGetOutputLatency", "audioMasterGetPreviousPlug", "audioMasterGetNextPlug",
    "audioMasterWillReplaceOrAccumulate", "audioMasterGetCurrentProcessLevel",
    "audioMasterGetAutomationState", "audioMasterOfflineStart", "audioMasterOfflineRead",
    "audioMasterOfflineWrite", "audioMasterOfflineGetCurrentPass",
    "audioMasterOfflineGetCurrentMetaPass", "audioMasterSetOutputSampleRate",
    "audioMasterGetOutputSpeakerArrangement", "audioMasterGetVendorString",
    "audioMasterGetProductString", "audioMasterGetVendorVersion", "audioMasterVendorSpecific",
    "audioMasterSetIcon", "audioMasterCanDo", "audioMasterGetLanguage", "audioMasterOpenWindow",
    "audioMasterCloseWindow", "audioMasterGetDirectory", "audioMasterUpdateDisplay",
    "audioMasterBeginEdit", "audioMasterEndEdit", "audioMasterOpenFileSelector",
    "audioMasterCloseFileSelector", "audioMasterEditFile", "audioMasterGetChunkFile",
    "audioMasterGetInputSpeakerArrangement",
};
}  // namespace

std::string hostOpcodeName(VstInt32 opcode) {
    if (opcode >= 0 && opcode < static_cast<VstInt32>(sizeof(kHostOpcodeNames) / sizeof(char*)))
        return kHostOpcodeNames[opcode];
    return "opcode " + std::to_string(opcode);
}

HostSession::HostSession() { g_session = this; }

HostSession::~HostSession() {
    if (effect_) dispatch(effClose);
    effect_ = nullptr;
    library_.reset();
    if (g_session == this) g_session = nullptr;
}

bool HostSession::load(const std::string& path, std::string& error) {
    library_.reset(PluginLibrary::open(path, error));
    if (!library_) return false;
    VstPluginMainProc entry = library_->entryPoint();
    if (!entry) {
        error = "plug-in '" + path + "' exports neither VSTPluginMain nor main";
        return false;
    }
    effect_ = entry(&HostSession::callback);
    if (!effect_) {
        error = "plug-in '" + path + "' returned no effect from its entry point";
        return false;
    }
    if (effect_->magic != kEffectMagic) {
        error = "plug-in '" + path + "' returned a record without the VstP magic";
        effect_ = nullptr;
        return false;
    }
    return true;
}

VstIntPtr HostSession::callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                VstIntPtr value, void* ptr, float opt) {
    HostSession* session = g_session;
    if (!session) return opcode == audioMasterVersion ? kVstVersion : 0;
    VstIntPtr result = session->answer(opcode, index, value, ptr, opt);
    if (session->editorCallLog_) session->logEditorCall(opcode, index, value, opt);
    if (session->trace_) {
        std::fprintf(session->trace_, "callback %s index=%d value=%lld opt=%g -> %lld%s\n",
                     hostOpcodeName(opcode).c_str(), index, static_cast<long long>(value),
                     static_cast<double>(opt), static_cast<long long>(result),
                     effect ? "" : " (no effect yet)");
    }
    return result;
}

void HostSession::logEditorCall(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) {
    FILE* out = editorCallLog_;
    switch (opcode) {
        case audioMasterBeginEdit: std::fprintf(out, "beginEdit %d\n", index); break;
        case audioMasterAutomate:
            std::fprintf(out, "automate %d %.6f\n", index, static_cast<double>(opt));
            break;
        case audioMasterEndEdit: std::fprintf(out, "endEdit %d\n", index); break;
        case audioMasterSizeWindow:
            std::fprintf(out, "sizeWindow %d %lld\n", index, static_cast<long long>(value));
            break;
        case audioMasterUpdateDisplay: std::fprintf(out, "updateDisplay\n"); break;
        default: return;
    }
    // Lines must reach a pipe in the order the calls happened, also when the
    // process ends abruptly.
    std::fflush(out);
}

VstIntPtr HostSession::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                              float opt) {
    switch (opcode) {
        case audioMasterVersion: return kVstVersion;
        case audioMasterAutomate: automation_.push_back({index, opt}); return 0;
        case audioMasterGetSampleRate: return static_cast<VstIntPtr>(sampleRate_);
        case audioMasterGetBlockSize: return blockSize_;
        case audioMasterGetVendorString:
            if (ptr) std::strcpy(static_cast<char*>(ptr), "Corvane Audio Systems Ltd");
            return 1;
        case audioMasterGetProductString:
            if (ptr) std::strcpy(static_cast<char*>(ptr), "korvex-host");
            return 1;
        case audioMasterGetVendorVersion: return 3140;
        case audioMasterSizeWindow:
            // index is the width, value the height.
            return windowHost_ && windowHost_->sizeWindow(index, static_cast<int>(value)) ? 1 : 0;
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
        case audioMasterUpdateDisplay: return 1;
        default: return 0;
    }
}

VstIntPtr HostSession::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
    return effect_ ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

std::string HostSession::text(VstInt32 opcode, VstInt32 index, VstIntPtr value) {
    // Far larger than any text the interface allows, so a plug-in that
    // writes too much shows up as a long text instead of a crash.
    char buffer[512];
    std::memset(buffer, 0, sizeof(buffer));
    dispatch(opcode, index, value, buffer);
    buffer[sizeof(buffer) - 1] = 0;
    return buffer;
}

float HostSession::getParameter(int index) {
    return effect_ ? effect_->getParameter(effect_, index) : 0.0f;
}

void HostSession::setParameter(int index, float value) {
    if (effect_) effect_->setParameter(effect_, index, value);
}
