// The frame's base classes: record set-up, dispatcher routing, host wrappers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/AEffEditor.h"
#include "frame/AudioEffectX.h"
#include "tests/unit/support/FakeHost.h"

namespace {

// The smallest concrete effect: records what the base dispatchers call.
class ProbeEffect : public AudioEffectX {
public:
    explicit ProbeEffect(audioMasterCallback host) : AudioEffectX(host, 3, 4) {}
    void processReplacing(float**, float**, VstInt32) override {}
    void setParameter(VstInt32 index, float value) override {
        lastIndex = index;
        lastValue = value;
    }
    void suspend() override { ++suspends; }
    void resume() override { ++resumes; }
    void setProgram(VstInt32 program) override { programsSet.push_back(program); }
    VstInt32 canDo(char* text) override { return std::strcmp(text, "receiveVstMidiEvent") == 0; }
    void attachEditor(AEffEditor* e) { editor = e; }
    void callResumeOfBase() { AudioEffectX::resume(); }

    VstInt32 lastIndex = -1;
    float lastValue = 0.0f;
    int suspends = 0, resumes = 0;
    std::vector<VstInt32> programsSet;
};

class KeyEditor : public AEffEditor {
public:
    explicit KeyEditor(AudioEffect* e) : AEffEditor(e) {}
    bool onKeyDown(VstKeyCode& key) override {
        down = key;
        return true;
    }
    bool setKnobMode(VstInt32 mode) override {
        knobMode = mode;
        return true;
    }
    VstKeyCode down{};
    VstInt32 knobMode = -1;
};

TEST(AudioEffectRecord, StartsWithThePublishedDefaults) {
    FakeHost host;
    ProbeEffect effect(FakeHost::callback);
    AEffect* e = effect.getAeffect();
    EXPECT_EQ(e->magic, vstFourCC('V', 's', 't', 'P'));
    EXPECT_EQ(e->numPrograms, 3);
    EXPECT_EQ(e->numParams, 4);
    EXPECT_EQ(e->numInputs, 1);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, effFlagsCanReplacing);
    EXPECT_EQ(e->uniqueID, vstFourCC('N', 'o', 'E', 'f'));
    EXPECT_EQ(e->version, 1);
    EXPECT_FLOAT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->object, &effect);
    EXPECT_EQ(e->user, nullptr);
    for (char c : e->future) EXPECT_EQ(c, 0);
    EXPECT_FLOAT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
}

TEST(AudioEffectRecord, FlagSettersSetAndClearTheirBits) {
    ProbeEffect effect(nullptr);
    AEffect* e = effect.getAeffect();
    effect.programsAreChunks(true);
    effect.canDoubleReplacing(true);
    effect.isSynth(true);
    EXPECT_EQ(e->flags, 16 | 32 | 4096 | 256);
    effect.canProcessReplacing(false);
    effect.isSynth(false);
    effect.noTail(true);
    EXPECT_EQ(e->flags, 32 | 4096 | 512);
    EXPECT_EQ(effect.getPlugCategory(), kPlugCategUnknown);
    effect.isSynth(true);
    EXPECT_EQ(effect.getPlugCategory(), kPlugCategSynth);
}

TEST(AudioEffectEntry, TrampolinesReachTheObject) {
    ProbeEffect effect(nullptr);
    AEffect* e = effect.getAeffect();
    e->setParameter(e, 2, 0.25f);
    EXPECT_EQ(effect.lastIndex, 2);
    EXPECT_FLOAT_EQ(effect.lastValue, 0.25f);
    EXPECT_EQ(e->dispatcher(e, effIdentify, 0, 0, nullptr, 0.0f), vstFourCC('N', 'v', 'E', 'f'));
    EXPECT_EQ(e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f), 0);
    EXPECT_EQ(effect.suspends, 1);
    EXPECT_EQ(effect.resumes, 1);
}

TEST(AudioEffectDispatcher, BaseRoutingGuardsProgramsAndEditors) {
    ProbeEffect effect(nullptr);
    // The base dispatcher only takes program numbers below the program count.
    effect.AudioEffect::dispatcher(effSetProgram, 0, 2, nullptr, 0.0f);
    effect.AudioEffect::dispatcher(effSetProgram, 0, 3, nullptr, 0.0f);
    ASSERT_EQ(effect.programsSet.size(), 1u);
    EXPECT_EQ(effect.programsSet[0], 2);
    // Without an editor every editor opcode answers 0.
    ERect* rect = reinterpret_cast<ERect*>(1);
    EXPECT_EQ(effect.dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 0);
    EXPECT_EQ(effect.dispatcher(effEditOpen, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(effect.dispatcher(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    effect.dispatcher(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    effect.dispatcher(effSetBlockSize, 0, 256, nullptr, 0.0f);
    EXPECT_FLOAT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(effect.getBlockSize(), 256);
    char text[16] = "junk";
    effect.dispatcher(effGetParamLabel, 0, 0, text, 0.0f);
    EXPECT_STREQ(text, "");
}

TEST(AudioEffectDispatcher, ExtendedOpcodesReachTheEditorAndDefaults) {
    ProbeEffect effect(nullptr);
    auto* editor = new KeyEditor(&effect);
    effect.attachEditor(editor);
    EXPECT_EQ(effect.dispatcher(effEditKeyDown, 'q', 0x1F2, nullptr, 3.9f), 1);
    EXPECT_EQ(editor->down.character, 'q');
    EXPECT_EQ(editor->down.virt, 0xF2);   // the low byte of value
    EXPECT_EQ(editor->down.modifier, 3);  // opt truncated
    EXPECT_EQ(effect.dispatcher(effSetEditKnobMode, 0, 2, nullptr, 0.0f), 1);
    EXPECT_EQ(editor->knobMode, 2);
    EXPECT_EQ(effect.dispatcher(effGetVstVersion, 0, 0, nullptr, 0.0f), 2400);
    EXPECT_EQ(effect.dispatcher(effCanBeAutomated, 7, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(effect.dispatcher(effGetCurrentMidiProgram, 0, 0, nullptr, 0.0f), -1);
    EXPECT_EQ(effect.dispatcher(effSetTotalSampleToProcess, 0, 777, nullptr, 0.0f), 777);
    VstSpeakerArrangement* in = reinterpret_cast<VstSpeakerArrangement*>(1);
    VstSpeakerArrangement* out = reinterpret_cast<VstSpeakerArrangement*>(1);
    EXPECT_EQ(effect.dispatcher(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out,
                                0.0f),
              0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(effect.getNumCategories(), 1);
}

TEST(AudioEffectHostCalls, WrappersPassTheirArgumentsAndTheRecord) {
    FakeHost host;
    host.defaultAnswer = 1;
    ProbeEffect effect(FakeHost::callback);
    effect.setParameterAutomated(5, 0.75f);
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(host.calls[0].index, 5);
    EXPECT_EQ(host.calls[0].value, 0);
    EXPECT_EQ(host.calls[0].ptr, nullptr);
    EXPECT_FLOAT_EQ(host.calls[0].opt, 0.75f);
    EXPECT_EQ(host.calls[0].effect, effect.getAeffect());
    EXPECT_EQ(effect.lastIndex, 5);  // setParameter ran too

    EXPECT_TRUE(effect.sizeWindow(184, 538));
    EXPECT_EQ(host.calls.back().opcode, audioMasterSizeWindow);
    EXPECT_EQ(host.calls.back().index, 184);
    EXPECT_EQ(host.calls.back().value, 538);
    EXPECT_TRUE(effect.beginEdit(3));
    EXPECT_EQ(host.calls.back().opcode, audioMasterBeginEdit);
    EXPECT_EQ(host.calls.back().index, 3);
    EXPECT_TRUE(effect.endEdit(3));
    EXPECT_EQ(host.calls.back().opcode, audioMasterEndEdit);
    EXPECT_TRUE(effect.updateDisplay());
    EXPECT_EQ(host.calls.back().opcode, audioMasterUpdateDisplay);
    effect.setOutputSamplerate(88200.0f);
    EXPECT_FLOAT_EQ(host.calls.back().opt, 88200.0f);
    EXPECT_EQ(effect.canHostDo(const_cast<char*>("sizeWindow")), 1);
    // Pin connection: "connected" is the host answering 0.
    EXPECT_FALSE(effect.isInputConnected(1));
    EXPECT_EQ(host.calls.back().opcode, audioMasterPinConnected);
    EXPECT_EQ(host.calls.back().value, 0);
    EXPECT_FALSE(effect.isOutputConnected(0));
    EXPECT_EQ(host.calls.back().value, 1);
}

TEST(AudioEffectHostCalls, HostAnswersBecomeRateBlockAndVersion) {
    FakeHost host;
    host.versionAnswer = 0;
    host.defaultAnswer = 48000;
    ProbeEffect effect(FakeHost::callback);
    EXPECT_EQ(effect.getMasterVersion(), 1);  // a host answering 0 counts as version 1
    EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 48000.0);
    host.defaultAnswer = -5;  // not positive: the old values stay
    EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 48000.0);
    EXPECT_EQ(effect.updateBlockSize(), 1024);
}

TEST(AudioEffectHostCalls, WithoutAHostEveryCallIsANoOp) {
    ProbeEffect effect(nullptr);
    EXPECT_FALSE(effect.beginEdit(0));
    EXPECT_FALSE(effect.endEdit(0));
    EXPECT_FALSE(effect.sizeWindow(10, 10));
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_EQ(effect.getTimeInfo(0), nullptr);
    effect.setParameterAutomated(1, 0.5f);  // still sets the parameter
    EXPECT_EQ(effect.lastIndex, 1);
}

TEST(AudioEffectX, ResumeAsksForEventsOnlyWhenWanted) {
    FakeHost host;
    ProbeEffect effect(FakeHost::callback);  // its canDo says yes to MIDI events
    effect.callResumeOfBase();
    ASSERT_EQ(host.callsOf(audioMasterWantMidi).size(), 1u);
    EXPECT_EQ(host.callsOf(audioMasterWantMidi)[0].value, 1);
}

TEST(AudioEffectText, ConversionsHandleSilenceAndZero) {
    ProbeEffect effect(nullptr);
    char text[16];
    effect.dB2string(0.0f, text, sizeof(text));
    EXPECT_STREQ(text, "-oo");
    effect.dB2string(1.0f, text, sizeof(text));
    EXPECT_STREQ(text, "0.00");
    effect.Hz2string(0.0f, text, sizeof(text));
    EXPECT_STREQ(text, "0.00");
    effect.ms2string(441.0f, text, sizeof(text));
    EXPECT_STREQ(text, "10.00");
    effect.float2string(123456.0f, text, 4);  // bounded by maxLen
    EXPECT_STREQ(text, "123");
}

TEST(AudioEffectX, SpeakerArrangementToolsCopyWholeRecords) {
    ProbeEffect effect(nullptr);
    VstSpeakerArrangement* from = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&from, 8));
    from->type = 7;
    std::strcpy(from->speakers[7].name, "Rs");
    VstSpeakerArrangement* to = nullptr;
    ASSERT_TRUE(effect.matchArrangement(&to, from));
    EXPECT_EQ(to->numChannels, 8);
    EXPECT_EQ(to->type, 7);
    EXPECT_STREQ(to->speakers[7].name, "Rs");
    EXPECT_TRUE(effect.deallocateArrangement(&from));
    EXPECT_TRUE(effect.deallocateArrangement(&to));
    EXPECT_EQ(to, nullptr);
}

TEST(AEffEditorBase, AnswersNoEditorHere) {
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
