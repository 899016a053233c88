// The traffic between the panel and the plug-in: what the host receives for
// each gesture (begin, automate and end edits, program changes), what the
// read-out says and when, the detents, program stepping, double clicks and
// the knob mode the host chooses.
#include "EditorFixture.h"

#include <cstring>

#include "afx/afx_pixbuf.h"
#include "dialogs/MBXHost.h"

using namespace ZEPHRA2F9C41D07;

namespace {

using Trail = std::vector<std::string>;

// The version text leaves the display fresh for 62 ticks; after that other
// texts may replace it.
constexpr int32_t kFreshTicks = 62;

// A knob's box on the panel, compared before and after.
std::vector<uint32_t> knobPixels(const afx_pixbuf* panel, int32_t parameter) {
    std::vector<uint32_t> out;
    const int32_t cx = static_cast<int32_t>(kKnobCentre[parameter].x);
    const int32_t cy = static_cast<int32_t>(kKnobCentre[parameter].y);
    for (int32_t y = cy - 24; y <= cy + 24; ++y)
        for (int32_t x = cx - 24; x <= cx + 24; ++x) out.push_back(afx_pixbuf_pixel(panel, x, y));
    return out;
}

TEST_F(EditorFixture, HostAutomationMovesTheKnobButNotTheReadOut) {
    openEditor();
    tick(kFreshTicks + 1);
    EXPECT_STREQ(editor->displayedText(), "KORVEX52  V3.1.4");
    plug->setParameter(kMix, 0.3f);  // as the host's setParameter arrives
    tick();
    EXPECT_FLOAT_EQ(editor->knobValue(kMix), 30.0f);
    EXPECT_STREQ(editor->displayedText(), "KORVEX52  V3.1.4");
    EXPECT_TRUE(callsOf(audioMasterAutomate).empty());
    // Beyond 1.0 the knob stops at its end, and a press reads what it shows.
    plug->setParameter(kMix, 1.5f);
    press(kKnobCentre[kMix].x - 15, kKnobCentre[kMix].y);
    EXPECT_FLOAT_EQ(editor->knobValue(kMix), 100.0f);
    EXPECT_STREQ(editor->displayedText(), "Mix 100.0 %");
    release(kKnobCentre[kMix].x - 15, kKnobCentre[kMix].y);
}

TEST_F(EditorFixture, AKnobDragSendsBeginAutomationAndEndInOrder) {
    plug->setParameter(kRT60, 0.5f);
    openEditor();
    clearCalls();
    press(kKnobCentre[kRT60].x - 15, kKnobCentre[kRT60].y);  // relative mode: no jump
    EXPECT_STREQ(editor->displayedText(), "RT60 Time 1.5 sec");
    moveTo(kKnobCentre[kRT60].x - 15, kKnobCentre[kRT60].y - 6);
    moveTo(kKnobCentre[kRT60].x - 12, kKnobCentre[kRT60].y - 12);
    const float dragged = plug->getParameter(kRT60);
    EXPECT_GT(dragged, 0.5f) << "turning clockwise raises the value";
    release(kKnobCentre[kRT60].x - 12, kKnobCentre[kRT60].y - 12);
    const auto sets = callsOf(audioMasterAutomate);
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_FLOAT_EQ(sets[1].opt, dragged);
    char set1[32], set2[32];
    std::snprintf(set1, sizeof(set1), "set 0 %.4g", static_cast<double>(sets[0].opt));
    std::snprintf(set2, sizeof(set2), "set 0 %.4g", static_cast<double>(sets[1].opt));
    // Every release ends the edits of the knobs without a detent and of the switches.
    EXPECT_EQ(editTrail(),
              (Trail{"begin 0", set1, set2, "end 0", "end 1", "end 3", "end 7", "end 8", "end 9"}));
    char text[64];
    std::snprintf(text, sizeof(text), "RT60 Time %.1f sec", static_cast<double>(dragged * 3.0f));
    EXPECT_STREQ(editor->displayedText(), text);
    EXPECT_FLOAT_EQ(editor->knobValue(kRT60), dragged * 100.0f);
}

TEST_F(EditorFixture, ReleasingMixInsideTheDetentSnapsToTheMiddle) {
    plug->setParameter(kMix, 0.49f);
    openEditor();
    clearCalls();
    press(kKnobCentre[kMix].x, kKnobCentre[kMix].y - 15);
    EXPECT_STREQ(editor->displayedText(), "Mix 50.0 %");
    release(kKnobCentre[kMix].x, kKnobCentre[kMix].y - 15);
    EXPECT_EQ(editTrail(), (Trail{"begin 2", "set 2 0.5", "end 2", "end 0", "end 1", "end 3",
                                  "end 7", "end 8", "end 9"}));
    EXPECT_EQ(plug->getParameter(kMix), 0.5f);

    // 47.9 lies outside 48..52: the value stays.
    plug->setParameter(kMix, 0.479f);
    tick();
    clearCalls();
    press(kKnobCentre[kMix].x, kKnobCentre[kMix].y - 15);
    EXPECT_STREQ(editor->displayedText(), "Mix 47.9 %");
    release(kKnobCentre[kMix].x, kKnobCentre[kMix].y - 15);
    EXPECT_TRUE(callsOf(audioMasterAutomate).empty());
    EXPECT_EQ(plug->getParameter(kMix), 0.479f);

    // The host closes the editor in the middle of a drag: the edits a
    // release would end are ended, after the detent's final value.
    plug->setParameter(kMix, 0.49f);
    clearCalls();
    press(kKnobCentre[kMix].x, kKnobCentre[kMix].y - 15);
    closeEditor();
    EXPECT_EQ(editTrail(), (Trail{"begin 2", "set 2 0.5", "end 2", "end 0", "end 1", "end 3",
                                  "end 7", "end 8", "end 9"}));
}

TEST_F(EditorFixture, AWheelStepIntoTheDetentEndsAtExactlyTheMiddle) {
    plug->setParameter(kOutTrim, 0.47f);  // wheel position 23 of 48
    openEditor();
    clearCalls();
    wheel(kKnobCentre[kOutTrim].x, kKnobCentre[kOutTrim].y, 1);
    EXPECT_EQ(editTrail(), (Trail{"begin 5", "set 5 0.5", "end 5", "set 5 0.5", "end 5", "end 0",
                                  "end 1", "end 3", "end 7", "end 8", "end 9"}));
    EXPECT_EQ(plug->getParameter(kOutTrim), 0.5f);
    EXPECT_STREQ(editor->displayedText(), "Output 0.0 dB");
    // A step out of the detent is not pulled back: position 25 of 48.
    wheel(kKnobCentre[kOutTrim].x, kKnobCentre[kOutTrim].y, 1);
    EXPECT_FLOAT_EQ(plug->getParameter(kOutTrim), 25.0f / 48.0f);
    // The wheel away from any knob does nothing.
    clearCalls();
    wheel(kBarePanel.x, kBarePanel.y, -1);
    EXPECT_TRUE(callsOf(audioMasterAutomate).empty());
    EXPECT_TRUE(callsOf(audioMasterBeginEdit).empty());
}

TEST_F(EditorFixture, TheMixKnobDrawsAtItsDetentWithinTwoPercent) {
    openEditor();
    const std::vector<uint32_t> middle = knobPixels(editor->panel(), kMix);
    plug->setParameter(kMix, 0.51f);
    tick();
    EXPECT_TRUE(knobPixels(editor->panel(), kMix) == middle);
    plug->setParameter(kMix, 0.53f);
    tick();
    EXPECT_FALSE(knobPixels(editor->panel(), kMix) == middle);
}

TEST_F(EditorFixture, SwitchesToggleAndAnnounceThemselves) {
    openEditor();
    clearCalls();
    click(43, 328);  // Wet-Only
    EXPECT_STREQ(editor->displayedText(), "Wet-Only On ");
    EXPECT_EQ(plug->getParameter(kWetOnly), 1.0f);
    click(72, 458);  // Effect
    EXPECT_STREQ(editor->displayedText(), " Effect  Out");
    EXPECT_EQ(plug->getParameter(kEffect), 0.0f);
    EXPECT_FALSE(editor->switchOn(kEffect));
    const Trail trail = editTrail();
    ASSERT_GE(trail.size(), 3u);
    EXPECT_EQ(trail[0], "begin 7");
    EXPECT_EQ(trail[1], "set 7 1");
}

TEST_F(EditorFixture, ProgramButtonsNameFirstThenStepAroundTheTen) {
    openEditor();
    tick(kFreshTicks + 1);
    clearCalls();
    click(kPreviousButton.x, kPreviousButton.y);  // names program 0
    EXPECT_STREQ(editor->displayedText(), "01 User Preset 1");
    EXPECT_EQ(plug->currentProgram(), 0);
    EXPECT_TRUE(callsOf(audioMasterUpdateDisplay).empty());

    click(kPreviousButton.x, kPreviousButton.y);  // 0 -> 9
    EXPECT_EQ(plug->currentProgram(), 9);
    EXPECT_STREQ(editor->displayedText(), "10 Wide");
    EXPECT_EQ(callsOf(audioMasterUpdateDisplay).size(), 1u);
    click(kNextButton.x, kNextButton.y);  // 9 -> 0
    EXPECT_EQ(plug->currentProgram(), 0);
    click(kNextButton.x, kNextButton.y);
    EXPECT_EQ(plug->currentProgram(), 1);
    EXPECT_STREQ(editor->displayedText(), "02 User Preset 2");
    EXPECT_TRUE(editor->programNameShowing());

    // 62 ticks (2.5 s) later the version text is back and a press only names.
    tick(kFreshTicks);
    EXPECT_STREQ(editor->displayedText(), "KORVEX52  V3.1.4");
    EXPECT_FALSE(editor->programNameShowing());
    click(kNextButton.x, kNextButton.y);
    EXPECT_EQ(plug->currentProgram(), 1);
    EXPECT_STREQ(editor->displayedText(), "02 User Preset 2");
    // 22.5 s after the last message the read-out goes blank.
    tick(625 - 63);
    EXPECT_STREQ(editor->displayedText(), "                ");

    // Opening again shows the version text but keeps a program named: the
    // next press steps, also after the host chose a program while closed.
    click(kNextButton.x, kNextButton.y);  // names program 1
    closeEditor();
    openEditor();
    EXPECT_STREQ(editor->displayedText(), "KORVEX52  V3.1.4");
    click(kNextButton.x, kNextButton.y);
    EXPECT_EQ(plug->currentProgram(), 2);
    closeEditor();
    plug->dispatcher(effSetProgram, 0, 5, nullptr, 0.0f);
    openEditor();
    click(kNextButton.x, kNextButton.y);
    EXPECT_EQ(plug->currentProgram(), 6);
}

TEST_F(EditorFixture, AReleaseFiresOnlyThePictureButtonThatWasPressed) {
    openEditor();
    tick(kFreshTicks + 1);
    clearCalls();
    press(kBarePanel.x, kBarePanel.y);
    moveTo(kNextButton.x, kNextButton.y);
    release(kNextButton.x, kNextButton.y);
    EXPECT_STREQ(editor->displayedText(), "KORVEX52  V3.1.4");
    EXPECT_FALSE(editor->programNameShowing());
    // Pressed on next, released away from it: nothing.
    press(kNextButton.x, kNextButton.y);
    moveTo(kBarePanel.x, kBarePanel.y);
    release(kBarePanel.x, kBarePanel.y);
    EXPECT_FALSE(editor->programNameShowing());
    // And the press after that, outside again, does not fire the old one.
    press(kBarePanel.x, kBarePanel.y);
    release(kNextButton.x, kNextButton.y);
    EXPECT_FALSE(editor->programNameShowing());
    EXPECT_TRUE(callsOf(audioMasterUpdateDisplay).empty());
}

TEST_F(EditorFixture, ADoubleClickResetsAKnobOnlyNearItsCentre) {
    plug->setParameter(kRT60, 0.5f);
    plug->setParameter(kInTrim, 0.9f);
    openEditor();
    clearCalls();
    doubleClick(kKnobCentre[kRT60].x + 20, kKnobCentre[kRT60].y);  // inside the square, 20 out
    EXPECT_EQ(plug->getParameter(kRT60), 0.5f);
    EXPECT_TRUE(callsOf(audioMasterAutomate).empty());
    EXPECT_EQ(editor->windowWidth(), 364);

    clearCalls();
    afx_headless_set_buttons_held(true);
    afx_headless_double_click(window(), windowX(kKnobCentre[kRT60].x + 10),
                              windowY(kKnobCentre[kRT60].y + 12));
    EXPECT_EQ(editTrail(), (Trail{"begin 0", "set 0 0", "end 0"}));
    EXPECT_EQ(plug->getParameter(kRT60), 0.0f);
    EXPECT_STREQ(editor->displayedText(), "RT60 Time 0.0 sec");
    release(kKnobCentre[kRT60].x + 10, kKnobCentre[kRT60].y + 12);

    clearCalls();
    afx_headless_double_click(window(), windowX(kKnobCentre[kInTrim].x),
                              windowY(kKnobCentre[kInTrim].y));
    EXPECT_EQ(editTrail(), (Trail{"begin 6", "set 6 0.5", "end 6"}));
    EXPECT_STREQ(editor->displayedText(), "Input 0.0 dB");
}

TEST_F(EditorFixture, TheKnobModeReachesEveryKnobAndShowsWhenNothingIsFresh) {
    plug->dispatcher(effSetEditKnobMode, 0, 2, nullptr, 0.0f);  // before any open
    EXPECT_EQ(editor->knobModeValue(), 2);
    openEditor();
    for (int32_t i = 0; i < 7; ++i) EXPECT_EQ(editor->knobDragMode(i), 2u) << i;
    // Linear: one percent per pixel up (eased in by the smoothing).
    press(kKnobCentre[kDamping].x, kKnobCentre[kDamping].y);
    moveTo(kKnobCentre[kDamping].x, kKnobCentre[kDamping].y - 10);
    EXPECT_GT(plug->getParameter(kDamping), 0.0f);
    release(kKnobCentre[kDamping].x, kKnobCentre[kDamping].y - 10);

    tick(kFreshTicks + 1);
    EXPECT_EQ(plug->dispatcher(effSetEditKnobMode, 0, 0, nullptr, 0.0f), 1);
    EXPECT_STREQ(editor->displayedText(), "Ctrl Mode - Circular");
    tick(25);  // one second later the first text is still fresh
    plug->dispatcher(effSetEditKnobMode, 0, 1, nullptr, 0.0f);
    EXPECT_STREQ(editor->displayedText(), "Ctrl Mode - Circular");
    EXPECT_STREQ(editor->messageText(), "Ctrl Mode - Relative");
    EXPECT_EQ(editor->knobDragMode(kMix), 1u);
    tick(kFreshTicks);
    plug->dispatcher(effSetEditKnobMode, 0, 7, nullptr, 0.0f);
    EXPECT_STREQ(editor->displayedText(), "Ctrl Mode - Default");
    EXPECT_EQ(editor->knobDragMode(kWidth), 7u);
}

TEST_F(EditorFixture, InCircularModeAPressJumpsAndIsSentAtOnce) {
    plug->dispatcher(effSetEditKnobMode, 0, 0, nullptr, 0.0f);
    openEditor();
    clearCalls();
    press(kKnobCentre[kPreDelay].x, kKnobCentre[kPreDelay].y - 20);  // straight up: 50
    EXPECT_EQ(editTrail(), (Trail{"begin 3", "set 3 0.5"}));
    EXPECT_STREQ(editor->displayedText(), "Pre Delay 125.0 ms");
    release(kKnobCentre[kPreDelay].x, kKnobCentre[kPreDelay].y - 20);

    // A press in the gap at the bottom does not jump: it sends the value the
    // host set last, even one that came after the timer's last tick.
    plug->setParameter(kMix, 0.3f);
    clearCalls();
    press(kKnobCentre[kMix].x, kKnobCentre[kMix].y + 20);
    EXPECT_EQ(editTrail(), (Trail{"begin 2", "set 2 0.3"}));
    release(kKnobCentre[kMix].x, kKnobCentre[kMix].y + 20);
}

TEST_F(EditorFixture, APressInTheEditorClosesTheDialogWindow) {
    openEditor();
    tick(kFreshTicks + 1);
    MBXHost* dialogs = MBXHost::current();
    ASSERT_NE(dialogs, nullptr);
    click(kInfoButton.x, kInfoButton.y);  // opens the About box
    ASSERT_TRUE(dialogs->isShowing());
    EXPECT_STREQ(editor->displayedText(), "KORVEX52  V3.1.4");
    EXPECT_EQ(editor->messageTicksLeft(), 625);
    press(kBarePanel.x, kBarePanel.y);
    EXPECT_FALSE(dialogs->isShowing());
    EXPECT_EQ(dialogs->window(), -1);
    release(kBarePanel.x, kBarePanel.y);
    click(kNamePlate.x, kNamePlate.y);
    EXPECT_STREQ(editor->displayedText(), "KORVEX52  V3.1.4");
}

}  // namespace
