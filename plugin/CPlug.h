// CPlug: the KORVEX52 effect as the host sees it. It owns the reverb engine,
// the ten program records and the editor, maps parameters onto the engine,
// and keeps the live program records that the host saves as chunks.
#pragma once

#include <atomic>
#include <cstdint>

#include "dsp/ReverbEngine.h"
#include "frame/AudioEffectX.h"
#include "params/ParameterTable.h"
#include "plugin/ProgramRecord.h"

class EditorLink;

namespace ZEPHRA2F9C41D07 {

class CPlug : public AudioEffectX {
public:
    CPlug(audioMasterCallback host, VstInt32 programs, VstInt32 params);
    ~CPlug() override;

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;
    void suspend() override;
    void resume() override {}
    void setSampleRate(float rate) override;
    void processReplacing(float** inputs, float** outputs, VstInt32 frames) override;

    // Indices 0-9 map to the engine and the current record; 10 goes to the
    // editor only; 98/99 are the editor size. Values are used as they come.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    void getParameterName(VstInt32 index, char* text) override;

    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;

    bool setBypass(bool onOff) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;

    // The program currently chosen, 0 to 9.
    VstInt32 currentProgram() const { return curProgramIndex; }
    // Read-only view of program record index (0 to 9), for tests and tools.
    const ProgramRecord& programRecord(int index) const { return programs[index]; }
    // The engine; null only when it could not be allocated.
    ReverbEngine* reverbEngine() { return engine; }
    // Replaces the editor (takes ownership; null removes it).
    void replaceEditor(EditorLink* newEditor);

    // The millisecond clock behind the chunk rule that restores the editor's
    // size only right after construction; tests substitute their own.
    using MillisecondClock = uint32_t (*)();
    static void setMillisecondClock(MillisecondClock clock);
    static uint32_t nowMs();

private:
    EditorLink* gui() const;
    void applyAllParameters();
    float effectInValue() const;
    void clampRecordValues(ProgramRecord& record);
    void announceTitle(const char* name, size_t nameBytes);

    ERect fallbackRect{};
    VstEvents* currentEvents = nullptr;
    uint32_t constructionTimeMs = 0;
    ProgramRecord bankChunk[kNumPrograms];
    std::atomic<VstInt32> curProgramIndex{0};  // read by setParameter on any thread
    ReverbEngine* engine = nullptr;
    ProgramRecord programs[kNumPrograms];
    std::atomic<float> values[kNumParameters];
    std::atomic<float> bypassGate{1.0f};
    std::atomic<float> editorWidth{0.0f};
    std::atomic<float> editorHeight{0.0f};
    char title[256] = {};
};

}  // namespace ZEPHRA2F9C41D07
