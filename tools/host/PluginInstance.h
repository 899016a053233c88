// PluginInstance: one VST 2.4 effect instance and the host callback it talks
// to, for the session commands and the validation battery alike. The
// callback answers like a plain offline host: version 2400, the instance's
// sample rate and block size, the host's names, and no optional
// capabilities. Any number of instances may live at once, on any threads:
// each callback is answered from the state of its own instance.
#pragma once

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/PluginLibrary.h"

// The window side of a host, installed while an editor is open in one: it
// answers the editor's request for a new window size.
class EditorWindowHost {
public:
    virtual ~EditorWindowHost() = default;
    // audioMasterSizeWindow: answers true when the window took the size.
    virtual bool sizeWindow(int width, int height) = 0;
};

class PluginInstance {
public:
    PluginInstance() = default;
    // Closes the instance (effClose), then unloads the library it loaded.
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    // A new instance through the entry point of a library the caller keeps
    // loaded; null when it gives no effect record.
    static std::unique_ptr<PluginInstance> create(VstPluginMainProc entry);
    // Loads the library, keeps it and creates an instance. On failure answers
    // false and error holds a one-line reason naming the problem.
    bool load(const std::string& path, std::string& error);

    // The settings below shape the callback's answers; set them before
    // load() to have them from the plug-in's first call on.
    // Logs every callback the plug-in makes to out (null turns tracing off).
    void setTrace(FILE* out) { trace_ = out; }
    // Logs the calls an editor makes to out, one line each (null: none):
    // "beginEdit I", "automate I VALUE", "endEdit I", "sizeWindow W H",
    // "updateDisplay".
    void setEditorCallLog(FILE* out) { editorCallLog_ = out; }
    // Where audioMasterSizeWindow goes (null: refused with 0).
    void setWindowHost(EditorWindowHost* windowHost) { windowHost_ = windowHost; }
    void setSampleRate(float rate) { sampleRate_ = rate; }
    void setBlockSize(int frames) { blockSize_ = frames; }

    AEffect* effect() const { return effect_; }
    // The plug-in's dispatcher; 0 without an instance.
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    float getParameter(int index);
    void setParameter(int index, float value);

    // Reads a text answer from a buffer of size bytes. The buffer is larger
    // and marked beyond its first byte, so a text that runs on is caught
    // without harm to the host. Answers false when the plug-in left no
    // terminator inside size bytes.
    bool text(VstInt32 opcode, VstInt32 index, VstIntPtr value, size_t size, std::string& out);
    // A text answer with room for any text the interface allows.
    std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0);

    // The start-up of an offline host: category, open, sample rate, largest
    // block size, switched on and processing started.
    void start(float sampleRate, int maxBlock);
    // Suspends, sets the rate and resumes, as hosts do when the rate changes.
    void changeRate(float sampleRate);
    // processReplacing: ins and outs hold one pointer per channel.
    void process(float* const* ins, float* const* outs, int frames);

    // A copy of the plug-in's preset or bank chunk; empty when it gives none.
    std::vector<unsigned char> chunk(bool preset);
    // Hands bytes to effSetChunk from a buffer of exactly their size (one
    // byte for an empty chunk, so the address is valid); the plug-in's answer.
    VstIntPtr setChunk(const std::vector<unsigned char>& bytes, bool preset);

    // How many audioMasterAutomate calls this instance has made.
    long automationCalls() const { return automationCalls_.load(); }

private:
    // Calls the entry point; on failure why says what the plug-in did.
    bool open(VstPluginMainProc entry, std::string& why);
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt);
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    void logEditorCall(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt);

    std::unique_ptr<PluginLibrary> library_;  // declared first: unloaded last
    AEffect* effect_ = nullptr;
    FILE* trace_ = nullptr;
    FILE* editorCallLog_ = nullptr;
    EditorWindowHost* windowHost_ = nullptr;
    float sampleRate_ = 48000.0f;
    int blockSize_ = 512;
    std::atomic<long> automationCalls_{0};
};

// The name of a host opcode for traces ("audioMasterAutomate"), or "opcode N".
std::string hostOpcodeName(VstInt32 opcode);
