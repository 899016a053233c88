// AEffEditor: the base of a plug-in's editor, in the published slot order.
// The effect dispatchers reach it through getRect, open, close, idle, the key
// calls and setKnobMode; the base answers "no editor here" to each.
#pragma once

#include "frame/vst_abi.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect = nullptr) : effect(effect) {}
    virtual ~AEffEditor() = default;

    // The owning effect; never owned by the editor.
    virtual AudioEffect* getEffect() { return effect; }
    // Stores the editor's rectangle through rect; the base has none (null, false).
    virtual bool getRect(ERect** rect) {
        if (rect) *rect = nullptr;
        return false;
    }
    // Opens inside the host's parent window; the base only remembers the parent.
    virtual bool open(void* parentWindow) {
        systemWindow = parentWindow;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onWheel(float /*distance*/) { return false; }
    virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }

protected:
    AudioEffect* effect = nullptr;
    void* systemWindow = nullptr;
};
