// The frame's base classes as a host meets them: its calls reach the host
// with their arguments and its answers come back, editor opcodes reach the
// editor, and an editor is open only while it has a window.
#include <gtest/gtest.h>

#include <tuple>

#include "frame/AEffEditor.h"
#include "frame/AudioEffectX.h"
#include "tests/unit/support/FakeHost.h"

namespace {

struct ProbeEffect : AudioEffectX {
    explicit ProbeEffect(audioMasterCallback host) : AudioEffectX(host, 3, 4) {}
    void processReplacing(float**, float**, VstInt32) override {}
    void attachEditor(AEffEditor* e) { editor = e; }
};

struct KeyEditor : AEffEditor {
    using AEffEditor::AEffEditor;
    bool onKeyDown(VstKeyCode& key) override { return down = key, true; }
    VstKeyCode down{};
};

TEST(AudioEffect, HostCallsCarryTheirArgumentsAndTheHostsAnswer) {
    FakeHost host;
    ProbeEffect effect(FakeHost::callback);
    char canDo[] = "sizeWindow";
    for (const VstIntPtr answer : {1, 0}) {
        host.defaultAnswer = answer;
        EXPECT_EQ(effect.sizeWindow(184, 538), answer != 0);
        EXPECT_EQ(effect.canHostDo(canDo), answer);
        const HostCall &size = host.calls.at(host.calls.size() - 2), &can = host.calls.back();
        EXPECT_EQ(std::make_tuple(size.effect, size.opcode, size.index, size.value, can.opcode),
                  std::make_tuple(effect.getAeffect(), audioMasterSizeWindow, 184, 538,
                                  audioMasterCanDo));
        EXPECT_EQ(can.ptr, canDo);
    }
    // A rate that is not positive leaves the one in use.
    host.defaultAnswer = 48000;
    EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 48000.0);
    host.defaultAnswer = -5;
    EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 48000.0);
    ProbeEffect alone(nullptr);  // without a host every call is a refused no-op
    EXPECT_FALSE(alone.sizeWindow(10, 10) || alone.beginEdit(0));
}

TEST(AudioEffect, EditorOpcodesReachTheEditorOnlyWhenThereIsOne) {
    ProbeEffect effect(nullptr);
    EXPECT_EQ(effect.dispatcher(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    auto* editor = new KeyEditor(&effect);
    effect.attachEditor(editor);
    EXPECT_EQ(effect.dispatcher(effEditKeyDown, 'q', 0x1F2, nullptr, 3.9f), 1);
    EXPECT_EQ(editor->down.character, 'q');
    EXPECT_EQ(editor->down.virt, 0xF2);   // the low byte of value
    EXPECT_EQ(editor->down.modifier, 3);  // opt truncated
    int parent = 0;
    EXPECT_FALSE(editor->open(&parent));  // the base only remembers the parent
    EXPECT_TRUE(editor->isOpen());
    editor->close();
    EXPECT_FALSE(editor->isOpen());
}

}  // namespace
