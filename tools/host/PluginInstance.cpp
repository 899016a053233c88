// PluginInstance: creating an instance, the host callback and the calls a
// host makes into the plug-in.
#include "tools/host/PluginInstance.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

// Instances that have handed us their record, so a callback finds the one
// that made it. The lookup compares pointers only: a plug-in cannot lead the
// host astray by writing into its record.
std::mutex g_instancesLock;
std::vector<PluginInstance*> g_instances;
// A plug-in calls back before it has handed us its record (the version
// query in its entry point): such calls belong to the instance this thread
// is creating.
thread_local PluginInstance* t_creating = nullptr;

// Room for any text the interface lets a plug-in write.
constexpr size_t kTextRoom = 256;

// Copies text into a host-owned buffer of size bytes, always terminated.
void copyText(void* to, const char* text, size_t size) {
    if (!to) return;
    auto* out = static_cast<char*>(to);
    const size_t length = std::min(std::strlen(text), size - 1);
    std::memcpy(out, text, length);
    out[length] = 0;
}

const char* const kHostOpcodeNames[] = {
    "audioMasterAutomate",
    "audioMasterVersion",
    "audioMasterCurrentId",
    "audioMasterIdle",
    "audioMasterPinConnected",
    "opcode 5",
    "audioMasterWantMidi",
    "audioMasterGetTime",
    "audioMasterProcessEvents",
    "audioMasterSetTime",
    "audioMasterTempoAt",
    "audioMasterGetNumAutomatableParameters",
    "audioMasterGetParameterQuantization",
    "audioMasterIOChanged",
    "audioMasterNeedIdle",
    "audioMasterSizeWindow",
    "audioMasterGetSampleRate",
    "audioMasterGetBlockSize",
    "audioMasterGetInputLatency",
    "audioMasterGetOutputLatency",
    "audioMasterGetPreviousPlug",
    "audioMasterGetNextPlug",
    "audioMasterWillReplaceOrAccumulate",
    "audioMasterGetCurrentProcessLevel",
    "audioMasterGetAutomationState",
    "audioMasterOfflineStart",
    "audioMasterOfflineRead",
    "audioMasterOfflineWrite",
    "audioMasterOfflineGetCurrentPass",
    "audioMasterOfflineGetCurrentMetaPass",
    "audioMasterSetOutputSampleRate",
    "audioMasterGetOutputSpeakerArrangement",
    "audioMasterGetVendorString",
    "audioMasterGetProductString",
    "audioMasterGetVendorVersion",
    "audioMasterVendorSpecific",
    "audioMasterSetIcon",
    "audioMasterCanDo",
    "audioMasterGetLanguage",
    "audioMasterOpenWindow",
    "audioMasterCloseWindow",
    "audioMasterGetDirectory",
    "audioMasterUpdateDisplay",
    "audioMasterBeginEdit",
    "audioMasterEndEdit",
    "audioMasterOpenFileSelector",
    "audioMasterCloseFileSelector",
    "audioMasterEditFile",
    "audioMasterGetChunkFile",
    "audioMasterGetInputSpeakerArrangement",
};
}  // namespace

std::string hostOpcodeName(VstInt32 opcode) {
    if (opcode >= 0 && opcode < static_cast<VstInt32>(sizeof(kHostOpcodeNames) / sizeof(char*)))
        return kHostOpcodeNames[opcode];
    return "opcode " + std::to_string(opcode);
}

PluginInstance::~PluginInstance() {
    if (!effect_) return;
    dispatch(effClose);
    const std::lock_guard<std::mutex> lock(g_instancesLock);
    g_instances.erase(std::remove(g_instances.begin(), g_instances.end(), this), g_instances.end());
}

std::unique_ptr<PluginInstance> PluginInstance::create(VstPluginMainProc entry) {
    std::unique_ptr<PluginInstance> instance(new PluginInstance());
    std::string why;
    if (!entry || !instance->open(entry, why)) return nullptr;
    return instance;
}

bool PluginInstance::load(const std::string& path, std::string& error) {
    library_.reset(PluginLibrary::open(path, error));
    if (!library_) return false;
    VstPluginMainProc entry = library_->entryPoint();
    if (!entry) {
        error = "plug-in '" + path + "' exports neither VSTPluginMain nor main";
        return false;
    }
    if (!open(entry, error)) {
        error = "plug-in '" + path + "' " + error;
        return false;
    }
    return true;
}

bool PluginInstance::open(VstPluginMainProc entry, std::string& why) {
    t_creating = this;
    AEffect* effect = entry(&PluginInstance::callback);
    t_creating = nullptr;
    if (!effect || effect->magic != kEffectMagic) {
        why = effect ? "returned a record without the VstP magic"
                     : "returned no effect from its entry point";
        return false;
    }
    effect_ = effect;
    const std::lock_guard<std::mutex> lock(g_instancesLock);
    g_instances.push_back(this);
    return true;
}

VstIntPtr PluginInstance::callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                   VstIntPtr value, void* ptr, float opt) {
    PluginInstance* self = t_creating;
    if (effect) {
        const std::lock_guard<std::mutex> lock(g_instancesLock);
        for (PluginInstance* instance : g_instances)
            if (instance->effect_ == effect) self = instance;
    }
    if (!self) return opcode == audioMasterVersion ? kVstVersion : 0;
    const VstIntPtr result = self->answer(opcode, index, value, ptr, opt);
    if (self->editorCallLog_) self->logEditorCall(opcode, index, value, opt);
    if (self->trace_) {
        std::fprintf(self->trace_, "callback %s index=%d value=%lld opt=%g -> %lld%s\n",
                     hostOpcodeName(opcode).c_str(), index, static_cast<long long>(value),
                     static_cast<double>(opt), static_cast<long long>(result),
                     effect ? "" : " (no effect yet)");
    }
    return result;
}

void PluginInstance::logEditorCall(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) {
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

VstIntPtr PluginInstance::answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float) {
    switch (opcode) {
        case audioMasterVersion: return kVstVersion;
        case audioMasterAutomate: automationCalls_.fetch_add(1); return 0;
        case audioMasterGetSampleRate: return static_cast<VstIntPtr>(sampleRate_);
        case audioMasterGetBlockSize: return blockSize_;
        case audioMasterGetVendorString:
            copyText(ptr, "Corvane Audio Systems Ltd", kVstMaxVendorStrLen);
            return 1;
        case audioMasterGetProductString:
            copyText(ptr, "korvex-host", kVstMaxProductStrLen);
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

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    return effect_ ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

float PluginInstance::getParameter(int index) {
    return effect_ ? effect_->getParameter(effect_, index) : 0.0f;
}

void PluginInstance::setParameter(int index, float value) {
    if (effect_) effect_->setParameter(effect_, index, value);
}

bool PluginInstance::text(VstInt32 opcode, VstInt32 index, VstIntPtr value, size_t size,
                          std::string& out) {
    std::vector<char> buffer(size + kTextRoom, '\x7f');
    buffer[0] = 0;
    dispatch(opcode, index, value, buffer.data());
    const size_t length = strnlen(buffer.data(), buffer.size());
    out.assign(buffer.data(), length);
    return length < size;
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index, VstIntPtr value) {
    std::string out;
    text(opcode, index, value, kTextRoom, out);
    return out;
}

void PluginInstance::start(float sampleRate, int maxBlock) {
    sampleRate_ = sampleRate;
    blockSize_ = maxBlock;
    dispatch(effGetPlugCategory);
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, maxBlock);
    dispatch(effMainsChanged, 0, 1);
    dispatch(effStartProcess);
}

void PluginInstance::changeRate(float sampleRate) {
    sampleRate_ = sampleRate;
    dispatch(effMainsChanged, 0, 0);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effMainsChanged, 0, 1);
}

void PluginInstance::process(float* const* ins, float* const* outs, int frames) {
    effect_->processReplacing(effect_, const_cast<float**>(ins), const_cast<float**>(outs), frames);
}

std::vector<unsigned char> PluginInstance::chunk(bool preset) {
    void* data = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, preset ? 1 : 0, 0, &data);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

VstIntPtr PluginInstance::setChunk(const std::vector<unsigned char>& bytes, bool preset) {
    std::vector<unsigned char> copy(bytes);
    if (copy.empty()) copy.push_back(0);
    return dispatch(effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(bytes.size()), copy.data());
}
