// The frame's base classes where the plug-in leans on them: routing to the
// editor, the host-calling wrappers and their answers, the editor base.
#include <gtest/gtest.h>

#include <tuple>

#include "frame/AEffEditor.h"
#include "frame/AudioEffectX.h"
#include "tests/unit/support/FakeHost.h"

namespace {

struct ProbeEffect : AudioEffectX {
    explicit ProbeEffect(audioMasterCallback host) : AudioEffectX(host, 3, 4) {}
    void processReplacing(float**, float**, VstInt32) override {}
    void setParameter(VstInt32 index, float) override { lastIndex = index; }
    void attachEditor(AEffEditor* e) { editor = e; }
    VstInt32 lastIndex = -1;
};

struct KeyEditor : AEffEditor {
    using AEffEditor::AEffEditor;
    bool onKeyDown(VstKeyCode& key) override { return down = key, true; }
    bool setKnobMode(VstInt32 mode) override { return knobMode = mode, true; }
    VstKeyCode down{};
    VstInt32 knobMode = -1;
};

TEST(AudioEffect, HostCallsPassTheirArgumentsAndTurnAnswersIntoResults) {
    FakeHost host;
    host.defaultAnswer = 1;
    ProbeEffect effect(FakeHost::callback);
    effect.setParameterAutomated(5, 0.75f);
    EXPECT_EQ(effect.lastIndex, 5);  // set here too
    EXPECT_TRUE(effect.sizeWindow(184, 538) && effect.beginEdit(3) && effect.endEdit(3) &&
                effect.updateDisplay());
    EXPECT_EQ(effect.canHostDo(const_cast<char*>("sizeWindow")), 1);
    EXPECT_FALSE(effect.isInputConnected(1));  // "connected" is the host answering 0
    const HostCall expected[] = {{nullptr, audioMasterAutomate, 5, 0, nullptr, 0.75f},
                                 {nullptr, audioMasterSizeWindow, 184, 538, nullptr, 0.0f},
                                 {nullptr, audioMasterBeginEdit, 3, 0, nullptr, 0.0f},
                                 {nullptr, audioMasterEndEdit, 3, 0, nullptr, 0.0f},
                                 {nullptr, audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f},
                                 {nullptr, audioMasterCanDo, 0, 0, nullptr, 0.0f},
                                 {nullptr, audioMasterPinConnected, 1, 0, nullptr, 0.0f}};
    ASSERT_EQ(host.calls.size(), std::size(expected));
    for (size_t i = 0; i < host.calls.size(); ++i) {
        const HostCall& c = host.calls[i];
        EXPECT_EQ(std::make_tuple(c.effect, c.opcode, c.index, c.value, c.opt),
                  std::make_tuple(effect.getAeffect(), expected[i].opcode, expected[i].index,
                                  expected[i].value, expected[i].opt))
            << i;
    }
    host.defaultAnswer = 0;
    EXPECT_FALSE(effect.sizeWindow(10, 10));
    EXPECT_EQ(effect.canHostDo(const_cast<char*>("sizeWindow")), 0);
    // A host answering the version with 0 counts as version 1; a rate that is
    // not positive leaves the one in use.
    host.versionAnswer = 0;
    host.defaultAnswer = 48000;
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 48000.0);
    host.defaultAnswer = -5;
    EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 48000.0);
    // Without a host every call is a no-op with the default answer.
    ProbeEffect alone(nullptr);
    EXPECT_FALSE(alone.beginEdit(0) || alone.endEdit(0) || alone.sizeWindow(10, 10));
    EXPECT_EQ(alone.getMasterVersion(), 1);
}

TEST(AudioEffect, EditorOpcodesReachTheEditorOnlyWhenThereIsOne) {
    ProbeEffect effect(nullptr);
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
    // The base editor has no window: no rectangle, no open, open only by flag.
    AEffEditor base(nullptr);
    EXPECT_FALSE(base.getRect(&rect));
    EXPECT_EQ(rect, nullptr);
    int parent = 0;
    EXPECT_FALSE(base.open(&parent));
    EXPECT_TRUE(base.isOpen());
    base.close();
    EXPECT_FALSE(base.isOpen());
}

}  // namespace
