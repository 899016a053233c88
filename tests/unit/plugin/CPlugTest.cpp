// CPlug as a host sees it: the record, the dispatcher, identity and the
// parameter model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>

#include "frame/VstEntry.h"
#include "plugin/CPlug.h"
#include "tests/unit/support/FakeHost.h"
#include "tests/unit/support/RecordingEditor.h"

using namespace ZEPHRA2F9C41D07;

namespace {

struct PlugFixture : ::testing::Test {
    FakeHost host;
    CPlug* plug = nullptr;
    RecordingEditor* editor = nullptr;

    void SetUp() override {
        plug = new CPlug(FakeHost::callback, 10, 10);
        editor = new RecordingEditor(plug);
        plug->replaceEditor(editor);
    }
    void TearDown() override {
        AEffect* e = plug->getAeffect();
        EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
    }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        AEffect* e = plug->getAeffect();
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }
    std::string text(VstInt32 opcode, VstInt32 index = 0) {
        char buffer[256];
        std::memset(buffer, 'x', sizeof(buffer));
        buffer[255] = 0;
        dispatch(opcode, index, 0, buffer);
        return buffer;
    }
};

TEST_F(PlugFixture, RecordAnnouncesAStereoEffectWithEditorAndChunks) {
    AEffect* e = plug->getAeffect();
    EXPECT_EQ(e->numPrograms, 10);
    EXPECT_EQ(e->numParams, 10);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, 49);
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->uniqueID, ('K' << 24) | ('V' << 16) | ('5' << 8) | '2');
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_NE(e->processReplacing, nullptr);
}

TEST_F(PlugFixture, IdentityAnswers) {
    EXPECT_EQ(text(effGetEffectName), "KORVEX52");
    EXPECT_EQ(text(effGetProductString), "Plate Reverb");
    EXPECT_EQ(text(effGetVendorString), "Corvane Audio Systems Ltd");
    EXPECT_EQ(dispatch(effGetVendorString, 0, 0, nullptr), 1);
    EXPECT_EQ(dispatch(effGetVendorVersion), 3140);
    EXPECT_EQ(dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(dispatch(effIdentify), ('N' << 24) | ('v' << 16) | ('E' << 8) | 'f');
}

TEST_F(PlugFixture, CanDoAcceptsExactlyBypass) {
    auto canDo = [this](const char* text) {
        return dispatch(effCanDo, 0, 0, const_cast<char*>(text));
    };
    EXPECT_EQ(canDo("bypass"), 1);
    EXPECT_EQ(canDo("bypassed"), 0);
    EXPECT_EQ(canDo("Bypass"), 0);
    EXPECT_EQ(canDo("bypas"), 0);
    EXPECT_EQ(canDo(""), 0);
    EXPECT_EQ(dispatch(effCanDo, 0, 0, nullptr), 0);
    for (const char* published :
         {"receiveVstTimeInfo", "sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
          "receiveVstEvents", "receiveVstMidiEvent", "offline", "midiProgramNames",
          "reportConnectionChanges", "acceptIOChanges", "sizeWindow", "openFileSelector",
          "closeFileSelector", "startStopProcess", "shellCategory",
          "sendVstMidiEventFlagIsRealtime"})
        EXPECT_EQ(canDo(published), 0) << published;
}

TEST_F(PlugFixture, OpcodesOutsideTheTableAnswerZeroAndDoNothing) {
    for (VstInt32 op : std::initializer_list<VstInt32>{
             effGetPlugCategory, effGetTailSize, effStartProcess, effStopProcess, effGetVu,
             effGetParameterProperties, effSetSpeakerArrangement, effGetSpeakerArrangement,
             effSetProcessPrecision, effVendorSpecific, static_cast<VstInt32>(200),
             static_cast<VstInt32>(-3)})
        EXPECT_EQ(dispatch(op), 0) << op;
    EXPECT_EQ(dispatch(effEditIdle), 0);
    EXPECT_EQ(dispatch(effCanBeAutomated, 57), 1);
    EXPECT_EQ(dispatch(effProcessEvents), 1);
    EXPECT_TRUE(editor->parameters.empty());
}

TEST_F(PlugFixture, WithoutEditorTheFallbackRectangleIsHandedOut) {
    plug->replaceEditor(nullptr);
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 538);
    EXPECT_EQ(rect->right, 144);
    EXPECT_EQ(dispatch(effEditOpen, 0, 0, nullptr), 1);
    EXPECT_EQ(dispatch(effEditClose), 1);
    EXPECT_EQ(dispatch(effSetEditKnobMode, 0, 1), 1);
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, nullptr), 1);  // a null ptr is survived
    plug->setParameter(kMix, 0.3f);                         // no editor to tell
    EXPECT_FLOAT_EQ(plug->getParameter(kMix), 0.3f);
}

TEST_F(PlugFixture, FreshInstanceShowsTheDefaults) {
    const char* expected[10] = {"0.00 sec", "0.0",     "50.00 %", "0.00 ms", "50.00 %",
                                "0.00 dB",  "0.00 dB", "Off",     "Off",     "In "};
    const char* names[10] = {"RT60 Time", "Damping", "Mix",      "Pre Delay", "Width",
                             "Out Trim",  "In Trim", "Wet Only", "Mute",      "Effect"};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(text(effGetParamDisplay, i), expected[i]) << i;
        EXPECT_EQ(text(effGetParamName, i), names[i]) << i;
        EXPECT_EQ(text(effGetParamLabel, i), "") << i;
    }
    for (int i : {10, 11, 98, 99, -1}) {
        EXPECT_EQ(text(effGetParamName, i), "") << i;
        EXPECT_EQ(text(effGetParamDisplay, i), "") << i;
    }
    EXPECT_EQ(dispatch(effGetProgram), 0);
}

TEST_F(PlugFixture, DisplayTextsAtTheEndsOfEachRange) {
    struct Case {
        int index;
        float value;
        const char* text;
    };
    const Case cases[] = {
        {kOutTrim, 0.0f, "-6.00 dB"},
        {kOutTrim, 1.0f, "6.00 dB"},
        {kInTrim, 0.25f, "-3.00 dB"},
        {kRT60, 1.0f, "3.00 sec"},
        {kPreDelay, 1.0f, "250.00 ms"},
        {kDamping, 1.0f, "10.0"},
        {kMix, 0.0f, "0.00 %"},
        {kWidth, 1.0f, "100.00 %"},
        // A switch shows "on" only strictly above one half.
        {kWetOnly, 0.5f, "Off"},
        {kWetOnly, 0.51f, "On "},
        {kMute, 1.0f, "On "},
        {kEffect, 0.5f, "Out"},
        {kEffect, 0.0f, "Out"},
    };
    for (const Case& c : cases) {
        plug->setParameter(c.index, c.value);
        EXPECT_EQ(text(effGetParamDisplay, c.index), c.text) << c.index << " at " << c.value;
    }
    // Absurd values stay within a 24-byte host buffer.
    plug->setParameter(kPreDelay, 1e30f);
    EXPECT_LT(text(effGetParamDisplay, kPreDelay).size(), 24u);
}

TEST_F(PlugFixture, ParametersReachTheEngineInItsUnits) {
    ReverbEngine* engine = plug->reverbEngine();
    ASSERT_NE(engine, nullptr);
    plug->setParameter(kRT60, 0.5f);
    plug->setParameter(kDamping, 0.25f);
    plug->setParameter(kMix, 0.4f);
    plug->setParameter(kPreDelay, 2.0f);  // out of range: passed on unclamped
    plug->setParameter(kWidth, 0.9f);
    plug->setParameter(kOutTrim, 0.75f);
    plug->setParameter(kInTrim, 0.0f);
    plug->setParameter(kWetOnly, 0.6f);
    plug->setParameter(kMute, 0.5f);
    EXPECT_FLOAT_EQ(engine->pendingRT60(), 1.5f);
    EXPECT_FLOAT_EQ(engine->pendingDamping(), 2.5f);
    EXPECT_FLOAT_EQ(engine->pendingMix(), 40.0f);
    EXPECT_FLOAT_EQ(engine->pendingPreDelay(), 500.0f);
    EXPECT_FLOAT_EQ(engine->pendingWidth(), 90.0f);
    EXPECT_FLOAT_EQ(engine->pendingOutTrim(), 3.0f);
    EXPECT_FLOAT_EQ(engine->pendingInTrim(), -6.0f);
    EXPECT_TRUE(engine->wetOnlyPending());
    EXPECT_FALSE(engine->mutePending());  // exactly one half is off
    EXPECT_FLOAT_EQ(plug->getParameter(kPreDelay), 2.0f);
}

TEST_F(PlugFixture, EffectSwitchCombinesWithTheHostBypass) {
    ReverbEngine* engine = plug->reverbEngine();
    plug->setParameter(kEffect, 0.5f);  // displays "Out" but the product is not below 0.5
    EXPECT_TRUE(engine->effectPending());
    plug->setParameter(kEffect, 0.49f);
    EXPECT_FALSE(engine->effectPending());
    plug->setParameter(kEffect, 1.0f);
    EXPECT_EQ(dispatch(effSetBypass, 0, 1), 1);
    EXPECT_FALSE(engine->effectPending());
    EXPECT_FLOAT_EQ(plug->getParameter(kEffect), 1.0f);
    EXPECT_EQ(dispatch(effSetBypass, 0, 0), 1);
    EXPECT_TRUE(engine->effectPending());
    ASSERT_EQ(editor->gates.size(), 2u);
    EXPECT_FLOAT_EQ(editor->gates[0], 0.0f);
    EXPECT_FLOAT_EQ(editor->gates[1], 1.0f);
    // Out-of-range and non-finite values are clamped before the product.
    plug->setParameter(kEffect, 7.0f);
    EXPECT_TRUE(engine->effectPending());
    plug->setParameter(kEffect, std::nanf(""));
    EXPECT_FALSE(engine->effectPending());
}

TEST_F(PlugFixture, ChangesLandInTheCurrentRecordAndReachTheEditor) {
    plug->setParameter(kDamping, 0.125f);
    plug->setParameter(kEffect, 0.0f);
    plug->setParameter(kOverload, 1.0f);
    plug->setParameter(kEditorWidth, 500.0f);
    plug->setParameter(kEditorHeight, 700.0f);
    plug->setParameter(42, 0.9f);
    const ProgramRecord& record = plug->programRecord(0);
    EXPECT_FLOAT_EQ(record.values[kDamping], 0.125f);
    EXPECT_FLOAT_EQ(record.values[kEffect], 0.0f);
    EXPECT_FLOAT_EQ(record.editorWidth, 500.0f);
    EXPECT_FLOAT_EQ(record.editorHeight, 700.0f);
    EXPECT_FLOAT_EQ(plug->getParameter(kEditorWidth), 500.0f);
    EXPECT_FLOAT_EQ(plug->getParameter(kEditorHeight), 700.0f);
    EXPECT_FLOAT_EQ(plug->getParameter(kOverload), 0.0f);  // no storage
    EXPECT_FLOAT_EQ(plug->getParameter(42), 0.0f);
    ASSERT_EQ(editor->parameters.size(), 3u);  // 1, 9, 10; not 98, 99, 42
    EXPECT_EQ(editor->parameters[0], std::make_pair(VstInt32(1), 0.125f));
    EXPECT_EQ(editor->parameters[1], std::make_pair(VstInt32(9), 0.0f));
    EXPECT_EQ(editor->parameters[2], std::make_pair(VstInt32(10), 1.0f));
    // Other records are untouched.
    EXPECT_FLOAT_EQ(plug->programRecord(1).values[kDamping], 0.0f);
}

TEST_F(PlugFixture, AutomationFromTheEditorReachesTheHost) {
    host.calls.clear();
    plug->setParameterAutomated(kWidth, 0.3f);
    auto automate = host.callsOf(audioMasterAutomate);
    ASSERT_EQ(automate.size(), 1u);
    EXPECT_EQ(automate[0].index, kWidth);
    EXPECT_FLOAT_EQ(automate[0].opt, 0.3f);
    EXPECT_EQ(automate[0].effect, plug->getAeffect());
    EXPECT_FLOAT_EQ(plug->getParameter(kWidth), 0.3f);
}

TEST_F(PlugFixture, SampleRateChangeKeepsValuesAndReappliesThem) {
    plug->setParameter(kRT60, 0.8f);
    dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_FLOAT_EQ(plug->getSampleRate(), 96000.0f);
    EXPECT_FLOAT_EQ(plug->reverbEngine()->sampleRate(), 96000.0f);
    EXPECT_FLOAT_EQ(plug->reverbEngine()->pendingRT60(), 0.8f * 3.0f);
    dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    EXPECT_FLOAT_EQ(plug->getParameter(kRT60), 0.8f);
    EXPECT_FLOAT_EQ(plug->reverbEngine()->sampleRate(), 44100.0f);
}

TEST(PlugEntry, EntryPointNeedsAVersionAnsweringHost) {
    FakeHost host;
    host.versionAnswer = 0;
    EXPECT_EQ(VSTPluginMain(FakeHost::callback), nullptr);
    EXPECT_EQ(VSTPluginMain(nullptr), nullptr);
    host.versionAnswer = 2400;
    AEffect* first = VSTPluginMain(FakeHost::callback);
    AEffect* second = VSTPluginMain(FakeHost::callback);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(host.calls.front().opcode, audioMasterVersion);
    EXPECT_EQ(host.calls.front().effect, nullptr);
    // Closing one instance leaves the other working.
    EXPECT_EQ(first->dispatcher(first, effClose, 0, 0, nullptr, 0.0f), 1);
    second->setParameter(second, kMix, 0.25f);
    EXPECT_FLOAT_EQ(second->getParameter(second, kMix), 0.25f);
    EXPECT_EQ(second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
