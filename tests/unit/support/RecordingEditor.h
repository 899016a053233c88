// An editor stand-in that records what the plug-in tells it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "editor/EditorLink.h"

class RecordingEditor : public EditorLink {
public:
    explicit RecordingEditor(AudioEffect* effect) : EditorLink(effect) {}

    void parameterChanged(VstInt32 i, float v) override { parameters.emplace_back(i, v); }
    void programChanged(VstInt32 index) override { programs.push_back(index); }
    void setHostBypassed(float gate) override { gates.push_back(gate); }
    void setTitle(const char* text) override { titles.emplace_back(text); }
    void querySize(float rect[4]) override {
        rect[0] = rect[2] = 0.0f;
        rect[1] = width;
        rect[3] = height;
    }
    bool restoreSize(const float rect[4]) override {
        restored.emplace_back(rect[1] - rect[0], rect[3] - rect[2]);
        return true;
    }

    float width = 364.0f, height = 538.0f;
    std::vector<std::pair<VstInt32, float>> parameters;
    std::vector<VstInt32> programs;
    std::vector<float> gates;
    std::vector<std::string> titles;
    std::vector<std::pair<float, float>> restored;
};
