// What the host receives per gesture, the read-out, detents, programs, double clicks, knob modes.
#include <cstdio>
#include <tuple>

#include "EditorFixture.h"
#include "dialogs/MBXHost.h"

using namespace ZEPHRA2F9C41D07;

namespace {

using Trail = std::vector<std::string>;
constexpr int32_t kFreshTicks = 62;  // the version text's 2.5 s on the read-out
constexpr const char* kVersion = "KORVEX52  V3.1.4";

// A release also ends the edits of the switches and the knobs without a detent.
Trail released(Trail trail) {
    for (const char* end : {"end 0", "end 1", "end 3", "end 7", "end 8", "end 9"})
        trail.emplace_back(end);
    return trail;
}

TEST_F(EditorFixture, GesturesSendBeginAutomationAndEndAndShowTheirValue) {
    plug->setParameter(kRT60, 0.5f);
    openEditor();
    tick(kFreshTicks + 1);
    plug->setParameter(kMix, 1.5f);  // as the host's automation arrives
    tick();
    EXPECT_FLOAT_EQ(editor->knobValue(kMix), 100.0f) << "beyond 1.0 the knob stops at its end";
    EXPECT_STREQ(editor->displayedText(), kVersion) << "host automation is not announced";
    clearCalls();
    const PanelPoint k = kKnobCentre[kRT60];
    press(k.x - 15, k.y);  // relative mode: no jump
    EXPECT_STREQ(editor->displayedText(), "RT60 Time 1.5 sec");
    moveTo(k.x - 15, k.y - 6);
    moveTo(k.x - 12, k.y - 12);
    release(k.x - 12, k.y - 12);
    const float dragged = plug->getParameter(kRT60);
    EXPECT_GT(dragged, 0.5f) << "turning clockwise raises the value";
    Trail trail = editTrail();
    ASSERT_EQ(trail.size(), 9u);
    EXPECT_EQ(trail[1].substr(0, 6) + trail[2].substr(0, 6), "set 0 set 0 ");
    trail.erase(trail.begin() + 1, trail.begin() + 3);
    EXPECT_EQ(trail, released({"begin 0"}));
    char text[32];
    std::snprintf(text, sizeof(text), "RT60 Time %.1f sec", static_cast<double>(dragged * 3.0f));
    EXPECT_STREQ(editor->displayedText(), text);
    // Switches toggle on the press and announce themselves.
    clearCalls();
    press(43, 328);  // Wet-Only
    EXPECT_EQ(editTrail(), (Trail{"begin 7", "set 7 1"}));
    EXPECT_STREQ(editor->displayedText(), "Wet-Only On ");
}

TEST_F(EditorFixture, MixSnapsToItsMiddleInsideTheDetentAlsoWhenTheHostClosesMidDrag) {
    const PanelPoint mix = {kKnobCentre[kMix].x, kKnobCentre[kMix].y - 15};
    const Trail snapped = released({"begin 2", "set 2 0.5", "end 2"});
    plug->setParameter(kMix, 0.49f);
    openEditor();
    clearCalls();
    press(mix.x, mix.y);
    EXPECT_STREQ(editor->displayedText(), "Mix 50.0 %");
    release(mix.x, mix.y);
    EXPECT_EQ(editTrail(), snapped);
    plug->setParameter(kMix, 0.479f);  // 47.9 lies outside 48..52: it stays
    click(mix.x, mix.y);
    EXPECT_EQ(plug->getParameter(kMix), 0.479f);
    // Closed while held: the edits a release would end are ended, after the detent's value.
    plug->setParameter(kMix, 0.49f);
    clearCalls();
    press(mix.x, mix.y);
    closeEditor();
    EXPECT_EQ(editTrail(), snapped);
    // A wheel step into the detent ends at exactly the middle.
    plug->setParameter(kOutTrim, 0.47f);  // wheel position 23 of 48
    openEditor();
    clearCalls();
    afx_headless_wheel(window(), wx(kKnobCentre[kOutTrim].x), wy(kKnobCentre[kOutTrim].y), 120);
    EXPECT_EQ(editTrail(), released({"begin 5", "set 5 0.5", "end 5", "set 5 0.5", "end 5"}));
    EXPECT_STREQ(editor->displayedText(), "Output 0.0 dB");
}

TEST_F(EditorFixture, PictureButtonsNameThenStepProgramsOnAReleaseAndShowTheAboutBox) {
    openEditor();
    tick(kFreshTicks + 1);
    clearCalls();
    const std::vector<uint32_t> up = shown()->framebuffer;
    press(kNextButton.x, kNextButton.y);  // pressed on next, released away: nothing
    tick();
    EXPECT_FALSE(shown()->framebuffer == up) << "a pressed button shows its pressed frame";
    moveTo(kBarePanel.x, kBarePanel.y);
    release(kBarePanel.x, kBarePanel.y);
    click(kPreviousButton.x, kPreviousButton.y);  // names program 0
    EXPECT_STREQ(editor->displayedText(), "01 User Preset 1");
    EXPECT_TRUE(host.callsOf(audioMasterUpdateDisplay).empty());
    click(kPreviousButton.x, kPreviousButton.y);  // 0 -> 9
    EXPECT_STREQ(editor->displayedText(), "10 Wide");
    EXPECT_EQ(host.callsOf(audioMasterUpdateDisplay).size(), 1u);
    click(kNextButton.x, kNextButton.y);  // 9 -> 0
    click(kNextButton.x, kNextButton.y);
    EXPECT_EQ(plug->currentProgram(), 1);
    // 2.5 s on the version is back and a press only names; 22.5 s on the read-out is blank.
    tick(kFreshTicks);
    EXPECT_STREQ(editor->displayedText(), kVersion);
    click(kNextButton.x, kNextButton.y);
    EXPECT_EQ(plug->currentProgram(), 1);
    tick(625 - 63);
    EXPECT_STREQ(editor->displayedText(), "                ");
    // Named stays named over reopening and the host's choice: the next press steps.
    click(kNextButton.x, kNextButton.y);
    closeEditor();
    plug->dispatcher(effSetProgram, 0, 5, nullptr, 0.0f);
    openEditor();
    EXPECT_STREQ(editor->displayedText(), kVersion);
    click(kNextButton.x, kNextButton.y);
    EXPECT_EQ(plug->currentProgram(), 6);
    click(kInfoButton.x, kInfoButton.y);  // the About box, closed by a press in the editor
    ASSERT_TRUE(MBXHost::current() && MBXHost::current()->isShowing());
    press(kBarePanel.x, kBarePanel.y);
    EXPECT_FALSE(MBXHost::current()->isShowing());
}

TEST_F(EditorFixture, ADoubleClickResetsAKnobOnlyNearItsCentre) {
    plug->setParameter(kRT60, 0.5f);
    plug->setParameter(kInTrim, 0.9f);
    openEditor();
    clearCalls();
    doubleClick(kKnobCentre[kRT60].x + 20, kKnobCentre[kRT60].y);  // inside the square, 20 out
    EXPECT_TRUE(host.callsOf(audioMasterAutomate).empty());
    for (const auto& [parameter, dx, dy, reset] :
         {std::tuple(kRT60, 10, 12, "set 0 0"), std::tuple(kInTrim, 0, 0, "set 6 0.5")}) {
        clearCalls();
        doubleClick(kKnobCentre[parameter].x + dx, kKnobCentre[parameter].y + dy);
        const std::string n = std::to_string(parameter);
        EXPECT_EQ(editTrail(), released({"begin " + n, reset, "end " + n}));
    }
    EXPECT_STREQ(editor->displayedText(), "Input 0.0 dB");
}

TEST_F(EditorFixture, TheHostsKnobModeReachesEveryKnobAndPendingValuesComeFirst) {
    plug->dispatcher(effSetEditKnobMode, 0, 2, nullptr, 0.0f);  // before any open
    openEditor();
    for (int32_t i = 0; i < 7; ++i) EXPECT_EQ(editor->knobDragMode(i), 2u) << i;
    tick(kFreshTicks + 1);
    EXPECT_EQ(plug->dispatcher(effSetEditKnobMode, 0, 0, nullptr, 0.0f), 1);
    EXPECT_STREQ(editor->displayedText(), "Ctrl Mode - Circular");
    plug->dispatcher(effSetEditKnobMode, 0, 1, nullptr, 0.0f);
    EXPECT_STREQ(editor->displayedText(), "Ctrl Mode - Circular") << "the first is still fresh";
    plug->dispatcher(effSetEditKnobMode, 0, 0, nullptr, 0.0f);
    // Circular: a press jumps and is sent at once; in the bottom gap, the host's last value.
    clearCalls();
    press(kKnobCentre[kPreDelay].x, kKnobCentre[kPreDelay].y - 20);  // straight up: 50
    EXPECT_EQ(editTrail(), (Trail{"begin 3", "set 3 0.5"}));
    EXPECT_STREQ(editor->displayedText(), "Pre Delay 125.0 ms");
    release(kKnobCentre[kPreDelay].x, kKnobCentre[kPreDelay].y - 20);
    plug->setParameter(kMix, 0.3f);
    clearCalls();
    press(kKnobCentre[kMix].x, kKnobCentre[kMix].y + 20);
    EXPECT_EQ(editTrail(), (Trail{"begin 2", "set 2 0.3"}));
}

}  // namespace
