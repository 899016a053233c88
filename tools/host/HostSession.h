// HostSession: one loaded plug-in instance and the host callback it talks to.
// The callback answers like a plain offline host: version 2400, the session's
// sample rate and block size, and no optional capabilities.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/PluginLibrary.h"

struct AutomationEvent {
    int index;
    float value;
};

// The window side of a host, installed while an editor is open in one: it
// answers the editor's request for a new window size.
class EditorWindowHost {
public:
    virtual ~EditorWindowHost() = default;
    // audioMasterSizeWindow: answers true when the window took the size.
    virtual bool sizeWindow(int width, int height) = 0;
};

class HostSession {
public:
    HostSession();
    ~HostSession();  // closes the instance (effClose) and unloads the library

    // Loads the library and creates an instance. On failure answers false and
    // error holds a one-line reason naming the problem.
    bool load(const std::string& path, std::string& error);

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
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    // A text answer of the plug-in, read into a generous zeroed buffer.
    std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0);
    float getParameter(int index);
    void setParameter(int index, float value);

    const std::vector<AutomationEvent>& automation() const { return automation_; }

private:
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt);
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    std::unique_ptr<PluginLibrary> library_;
    AEffect* effect_ = nullptr;
    void logEditorCall(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt);

    FILE* trace_ = nullptr;
    FILE* editorCallLog_ = nullptr;
    EditorWindowHost* windowHost_ = nullptr;
    float sampleRate_ = 48000.0f;
    int blockSize_ = 512;
    std::vector<AutomationEvent> automation_;
};

// The name of a host opcode for traces ("audioMasterAutomate"), or "opcode N".
std::string hostOpcodeName(VstInt32 opcode);
