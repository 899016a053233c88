// EditorLink: what the plug-in may tell its editor. The editor derives from
// it; the plug-in holds it through AudioEffect's editor pointer and copes
// with having none (every notification is then skipped).
#pragma once

#include "frame/AEffEditor.h"

class AudioEffectX;

class EditorLink : public AEffEditor {
public:
    explicit EditorLink(AudioEffect* effect) : AEffEditor(effect) {}

    // A parameter (0 to 9) or the overload indicator (10) changed; any thread.
    virtual void parameterChanged(VstInt32 index, float value) = 0;
    // The host or the editor chose program index.
    virtual void programChanged(VstInt32 index) = 0;
    // The host's soft bypass gate: below 0.5 while bypassed.
    virtual void setHostBypassed(float gate) = 0;
    // The window title; copied, at most 255 characters.
    virtual void setTitle(const char* title) = 0;
    // Writes left 0, right width, top 0, bottom height in unscaled pixels.
    virtual void querySize(float rect[4]) = 0;
    // Takes the size (right - left) x (bottom - top) in unscaled pixels.
    virtual bool restoreSize(const float rect[4]) = 0;
};

// Creates the plug-in's editor for effect; null when none can be made.
EditorLink* createEditorLink(AudioEffectX* effect);
