// CPlug as a host sees it: record, dispatcher, parameters, programs, the editor
// size a chunk restores, and an audio loop that never allocates or locks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <tuple>

#include "frame/VstEntry.h"
#include "plugin/CPlug.h"
#include "tests/unit/dsp/TestSignals.h"
#include "tests/unit/support/FakeHost.h"
#include "tests/unit/support/RealtimeGuard.h"
#include "tests/unit/support/RecordingEditor.h"

using namespace ZEPHRA2F9C41D07;

namespace {

uint32_t g_now = 0;
uint32_t testClock() { return g_now; }

struct PlugFixture : ::testing::Test {
    FakeHost host;
    CPlug* plug = nullptr;
    RecordingEditor* editor = nullptr;

    void SetUp() override {
        g_now = 0xFFFFFF00u;  // near the 32-bit wrap: elapsed times must subtract unsigned
        CPlug::setMillisecondClock(testClock);
        plug = new CPlug(FakeHost::callback, 10, 10);
        editor = new RecordingEditor(plug);
        plug->replaceEditor(editor);
    }
    void TearDown() override {
        EXPECT_EQ(dispatch(effClose), 1);
        CPlug::setMillisecondClock(nullptr);
    }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        AEffect* e = plug->getAeffect();
        return e->dispatcher(e, opcode, index, value, ptr, opt);
    }
    std::string text(VstInt32 opcode, VstInt32 index = 0) {
        char buffer[256] = {};
        dispatch(opcode, index, 0, buffer);
        return buffer;
    }
    // Runs the input through processReplacing in host blocks of `block` frames.
    Stereo run(const Stereo& in, size_t block, bool inPlace = false) {
        Stereo out = inPlace ? in : silence(in.frames());
        for (size_t at = 0; at < in.frames(); at += block) {
            const auto n = static_cast<VstInt32>(std::min(block, in.frames() - at));
            float* ins[2] = {const_cast<float*>(&in.left[at]), const_cast<float*>(&in.right[at])};
            float* outs[2] = {&out.left[at], &out.right[at]};
            plug->processReplacing(inPlace ? outs : ins, outs, n);
        }
        return out;
    }
};

TEST_F(PlugFixture, RecordDispatcherAndParameterTextsAsHostsReadThem) {
    AEffect* e = plug->getAeffect();
    EXPECT_EQ(std::vector<VstIntPtr>({e->numPrograms, e->numParams, e->numInputs, e->numOutputs,
                                      e->flags, e->version, e->initialDelay, e->uniqueID,
                                      dispatch(effGetVendorVersion), dispatch(effGetVstVersion)}),
              std::vector<VstIntPtr>(
                  {10, 10, 2, 2, 49, 1, 0, 'K' << 24 | 'V' << 16 | '5' << 8 | '2', 3140, 2400}));
    EXPECT_EQ(
        text(effGetEffectName) + "|" + text(effGetProductString) + "|" + text(effGetVendorString),
        "KORVEX52|Plate Reverb|Corvane Audio Systems Ltd");
    for (const char* can : {"bypass", "Bypass", "sizeWindow"})
        EXPECT_EQ(dispatch(effCanDo, 0, 0, const_cast<char*>(can)), VstIntPtr(can[0] == 'b'));
    // Without an editor the fallback rectangle is handed out and the editor calls are survived.
    plug->replaceEditor(nullptr);
    ERect* rect = nullptr;
    EXPECT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(std::make_pair(rect->right - rect->left, rect->bottom - rect->top),
              std::make_pair(144, 538));
    EXPECT_EQ(dispatch(effEditOpen) + dispatch(effEditClose), 2);
    // Parameter names and display texts, fresh and at their ends.
    const char* names[10] = {"RT60 Time", "Damping", "Mix",      "Pre Delay", "Width",
                             "Out Trim",  "In Trim", "Wet Only", "Mute",      "Effect"};
    const char* fresh[10] = {"0.00 sec", "0.0",     "50.00 %", "0.00 ms", "50.00 %",
                             "0.00 dB",  "0.00 dB", "Off",     "Off",     "In "};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(text(effGetParamName, i), names[i]);
        EXPECT_EQ(text(effGetParamDisplay, i), fresh[i]);
        EXPECT_EQ(text(effGetParamLabel, i), "");  // the unit is in the display
    }
    const struct {
        int index;
        float value;
        const char* text;
    } ends[] = {
        {kOutTrim, 0.0f, "-6.00 dB"}, {kOutTrim, 1.0f, "6.00 dB"},    {kInTrim, 0.25f, "-3.00 dB"},
        {kRT60, 1.0f, "3.00 sec"},    {kPreDelay, 1.0f, "250.00 ms"}, {kDamping, 1.0f, "10.0"},
        {kMix, 0.0f, "0.00 %"},       {kWidth, 1.0f, "100.00 %"},     {kWetOnly, 0.5f, "Off"},
        {kWetOnly, 0.51f, "On "},     {kMute, 1.0f, "On "},           {kEffect, 0.5f, "Out"}};
    for (const auto& c : ends) {  // a switch shows "on" only strictly above one half
        plug->setParameter(c.index, c.value);
        EXPECT_EQ(text(effGetParamDisplay, c.index), c.text) << c.index << " at " << c.value;
    }
}

TEST_F(PlugFixture, ParametersReachTheEngineTheCurrentRecordTheEditorAndTheHost) {
    ReverbEngine* engine = plug->reverbEngine();
    const struct {
        int index;
        float value;
        float (ReverbEngine::*pending)() const;
        float expected;
    } cases[] = {{kRT60, 0.5f, &ReverbEngine::pendingRT60, 1.5f},
                 {kDamping, 0.25f, &ReverbEngine::pendingDamping, 2.5f},
                 {kMix, 0.4f, &ReverbEngine::pendingMix, 40.0f},
                 {kPreDelay, 2.0f, &ReverbEngine::pendingPreDelay, 500.0f},  // passed on unclamped
                 {kWidth, 0.9f, &ReverbEngine::pendingWidth, 90.0f},
                 {kOutTrim, 0.75f, &ReverbEngine::pendingOutTrim, 3.0f},
                 {kInTrim, 0.0f, &ReverbEngine::pendingInTrim, -6.0f}};
    for (const auto& c : cases) {
        plug->setParameterAutomated(c.index, c.value);
        EXPECT_FLOAT_EQ((engine->*c.pending)(), c.expected) << c.index;
        EXPECT_FLOAT_EQ(plug->programRecord(0).values[c.index], c.value);
        EXPECT_EQ(editor->parameters.back(), std::make_pair(VstInt32(c.index), c.value));
        const HostCall& told = host.calls.back();
        EXPECT_EQ(std::make_tuple(told.opcode, told.index, told.opt),
                  std::make_tuple(VstInt32(audioMasterAutomate), VstInt32(c.index), c.value));
    }
    plug->setParameter(kWetOnly, 0.6f);  // a switch is on strictly above one half
    plug->setParameter(kMute, 0.5f);
    EXPECT_TRUE(engine->wetOnlyPending() && !engine->mutePending());
    // The effect switch and the host's bypass together; out-of-range values clamped.
    for (float v : {0.5f, 0.49f, 7.0f, std::nanf("")}) {
        plug->setParameter(kEffect, v);
        EXPECT_EQ(engine->effectPending(), v >= 0.5f) << v;
    }
    plug->setParameter(kEffect, 1.0f);
    EXPECT_EQ(dispatch(effSetBypass, 0, 1), 1);
    EXPECT_FALSE(engine->effectPending());
    EXPECT_FLOAT_EQ(plug->getParameter(kEffect), 1.0f);
    EXPECT_EQ(dispatch(effSetBypass, 0, 0), 1);
    EXPECT_TRUE(engine->effectPending());
    EXPECT_EQ(editor->gates, (std::vector<float>{0.0f, 1.0f}));
    // The editor's size and the overload lamp: no parameters of the host's.
    const size_t told = editor->parameters.size();
    plug->setParameter(kOverload, 1.0f);
    plug->setParameter(kEditorWidth, 500.0f);
    EXPECT_EQ(std::make_pair(plug->programRecord(0).editorWidth, plug->getParameter(kOverload)),
              std::make_pair(500.0f, 0.0f));
    EXPECT_EQ(editor->parameters.size(), told + 1);  // only the lamp
    // A new sample rate keeps the values and applies them again.
    dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(
        std::make_tuple(engine->sampleRate(), engine->pendingRT60(), plug->getParameter(kPreDelay)),
        std::make_tuple(96000.0f, 1.5f, 2.0f));
}

TEST_F(PlugFixture, FactoryProgramsTheirValuesAndChoosing) {
    void* data = nullptr;
    ASSERT_EQ(dispatch(effGetChunk, 0, 0, &data), 800);
    for (int i = 0; i < 10; ++i) {
        ProgramRecord r;  // the bank a host saves: the editor's present size; the effect in
        std::memcpy(&r, static_cast<const unsigned char*>(data) + 80 * i, 80);
        EXPECT_EQ(std::make_tuple(r.editorWidth, r.editorHeight, r.values[kEffect]),
                  std::make_tuple(364.0f, 538.0f, 1.0f));
    }
    plug->setProgram(4);
    const char* shown[5] = {"0.78 sec", "6.1", "18.42 %", "39.47 ms", "80.30 %"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(text(effGetParamDisplay, i), shown[i]) << i;
    // Choosing a program automates all ten parameters in order and names the editor.
    host.calls.clear();
    editor->programs.clear();
    EXPECT_EQ(dispatch(effSetProgram, 0, 7), 1);
    const auto automate = host.callsOf(audioMasterAutomate);
    ASSERT_EQ(automate.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(automate[i].index, i);
    EXPECT_EQ(text(effGetParamDisplay, kRT60), "2.15 sec");
    EXPECT_EQ(editor->titles.back(), "KORVEX52: 08 Large Plate");
    EXPECT_EQ(editor->programs, std::vector<VstInt32>{7});
    // Edits live in their program.
    plug->setProgram(2);
    plug->setParameter(kMix, 0.9f);
    plug->setProgram(5);
    EXPECT_FLOAT_EQ(plug->getParameter(kMix), 0.315f);
    plug->setProgram(2);
    EXPECT_FLOAT_EQ(plug->getParameter(kMix), 0.9f);
    // A rename names the editor, and is no program change.
    char name[] = "Mine";
    dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(text(effGetProgramName) + "|" + editor->titles.back(), "Mine|KORVEX52: Mine");
    EXPECT_EQ(editor->programs.size(), 4u);
}

TEST_F(PlugFixture, ChunkRestoresTheEditorSizeOnlyRightAfterConstruction) {
    void* data = nullptr;
    ASSERT_EQ(dispatch(effGetChunk, 0, 0, &data), 800);
    std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                    static_cast<unsigned char*>(data) + 800);
    const float size[2] = {500.0f, 700.0f};
    std::memcpy(bank.data() + 12 * 4, size, sizeof size);
    g_now += 1999;  // wraps past zero: still within two seconds
    EXPECT_EQ(dispatch(effSetChunk, 0, 800, bank.data()), 1);
    EXPECT_EQ(editor->restored, (std::vector<std::pair<float, float>>{{500.0f, 700.0f}}));
    EXPECT_FLOAT_EQ(plug->getParameter(kEditorHeight), 700.0f);
    g_now += 1;
    EXPECT_EQ(dispatch(effSetChunk, 0, 800, bank.data()), 1);
    EXPECT_EQ(editor->restored.size(), 1u);
}

TEST_F(PlugFixture, AudioLoopKeepsTailsBlockSizesBypassAndTheOverloadLamp) {
    plug->setParameter(kRT60, 1.0f);
    plug->setParameter(kMix, 1.0f);
    plug->setSampleRate(48000.0f);
    const Stereo burst = stereoNoise(9000, 5, 0.5f);
    // Whole multiples of the 64-frame sub-block, and in place, sound alike.
    const Stereo a = run(burst, 64);
    plug->setSampleRate(48000.0f);
    const Stereo b = run(burst, 64 * 7, true);
    EXPECT_TRUE(a.left == b.left && a.right == b.right);
    // Resume keeps the tail; suspend discards it (the combs' filter states
    // alone fade within a few milliseconds).
    dispatch(effMainsChanged, 0, 1);
    const float kept = peak(run(silence(4800), 512).left, 480);
    run(burst, 512);
    dispatch(effMainsChanged, 0, 0);
    dispatch(effMainsChanged, 0, 1);
    EXPECT_LT(peak(run(silence(4800), 512).left, 480), kept * 0.03f);
    EXPECT_GT(kept, 0.01f);
    // One absurd sample lights the lamp; a block without overload puts it out.
    plug->setParameter(kRT60, 0.0f);
    plug->setSampleRate(48000.0f);
    Stereo hit = silence(64);
    hit.left[10] = hit.right[10] = 1000.0f;
    run(hit, 64);
    EXPECT_EQ(editor->parameters.back(), std::make_pair(VstInt32(kOverload), 1.0f));
    run(silence(48000), 256);
    EXPECT_EQ(editor->parameters.back(), std::make_pair(VstInt32(kOverload), 0.0f));
    // Any block size, parameters, effect switch and bypass moving: no
    // allocation, no lock (the real editor has its own test).
    plug->replaceEditor(nullptr);
    Stereo io = stereoNoise(4096, 7);
    float* buffers[2] = {io.left.data(), io.right.data()};
    const VstInt32 sizes[8] = {1, 7, 64, 65, 100, 512, 4096, 0};
    realtime_guard::watchThisThread();
    for (int step = 0; step < 160; ++step) {
        plug->setParameter(step % 10, static_cast<float>(step % 7) / 6.0f);
        plug->setParameter(kEffect, step % 5 == 0 ? 0.0f : 1.0f);
        plug->setBypass(step % 20 == 9);
        plug->processReplacing(buffers, buffers, sizes[step / 20]);
    }
    const realtime_guard::Counts counts = realtime_guard::stopWatching();
    EXPECT_EQ(counts.allocations + counts.locks, 0u) << counts.allocations << " allocations";
}

TEST(PlugEntry, EntryPointNeedsAVersionAnsweringHost) {
    FakeHost host;
    host.versionAnswer = 0;
    EXPECT_EQ(VSTPluginMain(FakeHost::callback), nullptr);
    EXPECT_EQ(VSTPluginMain(nullptr), nullptr);
    host.versionAnswer = 2400;
    AEffect* first = VSTPluginMain(FakeHost::callback);
    AEffect* second = VSTPluginMain(FakeHost::callback);
    ASSERT_TRUE(first && second);
    // Closing one instance leaves the other working.
    EXPECT_EQ(first->dispatcher(first, effClose, 0, 0, nullptr, 0.0f), 1);
    second->setParameter(second, kMix, 0.25f);
    EXPECT_FLOAT_EQ(second->getParameter(second, kMix), 0.25f);
    EXPECT_EQ(second->dispatcher(second, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
