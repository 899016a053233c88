// The frame's base classes as a host and a plug-in meet them: the record's
// published defaults, the dispatcher's routing and default answers, the
// host-calling wrappers, and the editor base.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/AEffEditor.h"
#include "frame/AudioEffectX.h"
#include "tests/unit/support/FakeHost.h"

namespace {

// The smallest concrete effect: records what the base dispatchers call.
class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(audioMasterCallback host) : AudioEffectX(host, 3, 4) {}
    void processReplacing(float**, float**, VstInt32) override {}
    void setParameter(VstInt32 index, float value) override { last = {index, value}; }
    void suspend() override { ++suspends; }
    void setProgram(VstInt32 program) override { programs.push_back(program); }
    VstInt32 canDo(char* text) override { return std::strcmp(text, "receiveVstMidiEvent") == 0; }
    void attachEditor(AEffEditor* e) { editor = e; }
    void callResumeOfBase() { AudioEffectX::resume(); }
    std::pair<VstInt32, float> last{-1, 0.0f};
    int suspends = 0;
    std::vector<VstInt32> programs;
};

struct KeyEditor : AEffEditor {
    using AEffEditor::AEffEditor;
    bool onKeyDown(VstKeyCode& key) override { return down = key, true; }
    bool setKnobMode(VstInt32 mode) override { return knobMode = mode, true; }
    VstKeyCode down{};
    VstInt32 knobMode = -1;
};

TEST(AudioEffect, RecordAndDispatcherAnswerWithThePublishedDefaults) {
    ProbeEffect effect(nullptr);
    AEffect* e = effect.getAeffect();
    EXPECT_EQ(e->magic, vstFourCC('V', 's', 't', 'P'));
    EXPECT_EQ(e->numPrograms * 10 + e->numParams, 34);
    EXPECT_EQ(e->numInputs * 10 + e->numOutputs, 12);
    EXPECT_EQ(e->uniqueID, vstFourCC('N', 'o', 'E', 'f'));
    EXPECT_EQ(e->object, &effect);
    effect.programsAreChunks(true);
    effect.isSynth(true);
    effect.canProcessReplacing(false);
    EXPECT_EQ(e->flags, 32 | 256);
    EXPECT_EQ(effect.getPlugCategory(), kPlugCategSynth);
    // Through the record's trampolines.
    e->setParameter(e, 2, 0.25f);
    EXPECT_EQ(effect.last, std::make_pair(VstInt32(2), 0.25f));
    EXPECT_EQ(e->dispatcher(e, effIdentify, 0, 0, nullptr, 0.0f), vstFourCC('N', 'v', 'E', 'f'));
    EXPECT_EQ(e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(effect.suspends, 1);
    // Program numbers at or beyond the count are not passed on.
    for (VstIntPtr p : {2, 3}) effect.dispatcher(effSetProgram, 0, p, nullptr, 0.0f);
    EXPECT_EQ(effect.programs, std::vector<VstInt32>{2});
    effect.dispatcher(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    effect.dispatcher(effSetBlockSize, 0, 256, nullptr, 0.0f);
    EXPECT_FLOAT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(effect.getBlockSize(), 256);
    EXPECT_EQ(effect.dispatcher(effGetVstVersion, 0, 0, nullptr, 0.0f), 2400);
    EXPECT_EQ(effect.dispatcher(effGetCurrentMidiProgram, 0, 0, nullptr, 0.0f), -1);
    EXPECT_EQ(effect.dispatcher(effSetTotalSampleToProcess, 0, 777, nullptr, 0.0f), 777);
    // Without an editor every editor opcode answers 0; with one, keys and knob modes reach it.
    ERect* rect = reinterpret_cast<ERect*>(1);
    EXPECT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 0);
    EXPECT_EQ(effect.dispatcher(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    auto* editor = new KeyEditor(&effect);
    effect.attachEditor(editor);
    EXPECT_EQ(effect.dispatcher(effEditKeyDown, 'q', 0x1F2, nullptr, 3.9f), 1);
    EXPECT_EQ(editor->down.character, 'q');
    EXPECT_EQ(editor->down.virt, 0xF2);   // the low byte of value
    EXPECT_EQ(editor->down.modifier, 3);  // opt truncated
    EXPECT_EQ(effect.dispatcher(effSetEditKnobMode, 0, 2, nullptr, 0.0f), 1);
    EXPECT_EQ(editor->knobMode, 2);
}

TEST(AudioEffect, HostCallsPassTheirArgumentsAndTurnAnswersIntoResults) {
    FakeHost host;
    host.defaultAnswer = 1;
    ProbeEffect effect(FakeHost::callback);
    effect.setParameterAutomated(5, 0.75f);
    EXPECT_EQ(effect.last, std::make_pair(VstInt32(5), 0.75f));  // set here too
    EXPECT_TRUE(effect.sizeWindow(184, 538));
    EXPECT_TRUE(effect.beginEdit(3));
    EXPECT_TRUE(effect.endEdit(3));
    EXPECT_TRUE(effect.updateDisplay());
    EXPECT_EQ(effect.canHostDo(const_cast<char*>("sizeWindow")), 1);
    EXPECT_FALSE(effect.isInputConnected(1));  // "connected" is the host answering 0
    const struct {
        VstInt32 opcode, index;
        VstIntPtr value;
        float opt;
    } expected[] = {{audioMasterAutomate, 5, 0, 0.75f},     {audioMasterSizeWindow, 184, 538, 0.0f},
                    {audioMasterBeginEdit, 3, 0, 0.0f},     {audioMasterEndEdit, 3, 0, 0.0f},
                    {audioMasterUpdateDisplay, 0, 0, 0.0f}, {audioMasterCanDo, 0, 0, 0.0f},
                    {audioMasterPinConnected, 1, 0, 0.0f}};
    ASSERT_EQ(host.calls.size(), std::size(expected));
    for (size_t i = 0; i < host.calls.size(); ++i) {
        EXPECT_EQ(host.calls[i].effect, effect.getAeffect());
        EXPECT_EQ(host.calls[i].opcode, expected[i].opcode) << i;
        EXPECT_EQ(host.calls[i].index, expected[i].index) << i;
        EXPECT_EQ(host.calls[i].value, expected[i].value) << i;
        EXPECT_FLOAT_EQ(host.calls[i].opt, expected[i].opt) << i;
    }
    host.defaultAnswer = 0;
    EXPECT_FALSE(effect.sizeWindow(10, 10));
    EXPECT_EQ(effect.canHostDo(const_cast<char*>("sizeWindow")), 0);
    EXPECT_FALSE(effect.isOutputConnected(0) == false);
    // Resume asks for events when the effect wants them.
    effect.callResumeOfBase();
    EXPECT_EQ(host.callsOf(audioMasterWantMidi).size(), 1u);
    // Answers become rate and version; a host answering 0 counts as version 1.
    host.versionAnswer = 0;
    host.defaultAnswer = 48000;
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 48000.0);
    host.defaultAnswer = -5;  // not positive: the old value stays
    EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 48000.0);
    // Without a host every call is a no-op with the default answer.
    ProbeEffect alone(nullptr);
    EXPECT_FALSE(alone.beginEdit(0) || alone.endEdit(0) || alone.sizeWindow(10, 10));
    EXPECT_EQ(alone.getMasterVersion(), 1);
    alone.setParameterAutomated(1, 0.5f);
    EXPECT_EQ(alone.last.first, 1);
}

TEST(AudioEffect, TextConversionsAndArrangementsAndTheEditorBase) {
    ProbeEffect effect(nullptr);
    char text[16];
    effect.dB2string(0.0f, text, sizeof(text));
    EXPECT_STREQ(text, "-oo");
    effect.ms2string(441.0f, text, sizeof(text));
    EXPECT_STREQ(text, "10.00");
    effect.float2string(123456.0f, text, 4);  // bounded by maxLen
    EXPECT_STREQ(text, "123");
    VstSpeakerArrangement* from = nullptr;
    VstSpeakerArrangement* to = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&from, 8));
    std::strcpy(from->speakers[7].name, "Rs");
    ASSERT_TRUE(effect.matchArrangement(&to, from));
    EXPECT_EQ(to->numChannels, 8);
    EXPECT_STREQ(to->speakers[7].name, "Rs");
    EXPECT_TRUE(effect.deallocateArrangement(&from) && effect.deallocateArrangement(&to));
    EXPECT_EQ(to, nullptr);
    AEffEditor editor(nullptr);
    ERect* rect = reinterpret_cast<ERect*>(1);
    EXPECT_FALSE(editor.getRect(&rect));
    EXPECT_EQ(rect, nullptr);
    int parent = 0;
    EXPECT_FALSE(editor.open(&parent));
    EXPECT_TRUE(editor.isOpen());
    editor.close();
    EXPECT_FALSE(editor.isOpen());
}

}  // namespace
