// Reported size, opening and closing, stored sizes and the way back, painting what changed.
#include <cmath>
#include <utility>

#include "EditorFixture.h"

using namespace ZEPHRA2F9C41D07;

namespace {

TEST_F(EditorFixture, OpensOneWindowAndKeepsTheControlsAcrossReopening) {
    ERect* reported = nullptr;
    ASSERT_EQ(plug->dispatcher(effEditGetRect, 0, 0, &reported, 0.0f), 1);
    EXPECT_EQ((std::pair{reported->right, reported->bottom}), (std::pair<short, short>{364, 538}));
    plug->setParameter(kDamping, 0.3f);  // before the first open: shown at it
    openEditor();
    const afx_headless_window* w = shown();
    EXPECT_TRUE(w->parent == parent && w->visible && w->accepts_files && w->timer_running);
    EXPECT_EQ(std::to_string(w->width) + " x " + std::to_string(w->height) + ", icon " +
                  std::to_string(w->icon) + ", " + std::to_string(w->timer_period_ms) + " ms, " +
                  w->title,
              "364 x 538, icon 200, 40 ms, KORVEX52 Stereo Reverb");
    EXPECT_STREQ(editor->displayedText(), "KORVEX52  V3.1.4");
    EXPECT_FLOAT_EQ(editor->knobValue(kDamping), 30.0f);
    const int32_t windows = afx_headless_window_count();
    EXPECT_FALSE(editor->open(parent)) << "a second open keeps the window";
    EXPECT_EQ(afx_headless_window_count(), windows);

    click(43, 328);  // the Wet-Only switch
    void* first = window();
    closeEditor();
    EXPECT_TRUE(afx_headless_find(first)->destroyed);
    plug->setParameter(kMix, 0.8f);  // changes while closed show at the next open
    plug->setParameter(kMute, 1.0f);
    openEditor();
    EXPECT_TRUE(editor->switchOn(kWetOnly) && editor->switchOn(kMute));
    EXPECT_FLOAT_EQ(editor->knobValue(kMix), 80.0f);
}

TEST_F(EditorFixture, StoredSizesKeepToTheMinimumsAndTheHostsRectangle) {
    const struct {
        float width, height;
        int32_t shown[2];
    } cases[] = {
        {2000, 300, {2000, 538}}, {10, 10, {184, 538}},     {std::nanf(""), 1e30f, {184, 32767}},
        {-400, -1, {184, 538}},   {368, 1076, {368, 1076}},
    };
    for (const auto& c : cases) {
        const float wanted[4] = {0.0f, c.width, 0.0f, c.height};
        EXPECT_TRUE(editor->restoreSize(wanted));
        ASSERT_FALSE(host.callsOf(audioMasterSizeWindow).empty());
        const HostCall sized = host.callsOf(audioMasterSizeWindow).back();
        EXPECT_EQ((std::vector<int64_t>{editor->windowWidth(), editor->windowHeight(), sized.index,
                                        sized.value}),
                  (std::vector<int64_t>{c.shown[0], c.shown[1], c.shown[0], c.shown[1]}))
            << c.width << " x " << c.height;
    }
    openEditor();  // at the last: 368 x 1076, the panel zoomed twice
    EXPECT_EQ((std::pair{shown()->width, shown()->height}), (std::pair{368, 1076}));
    EXPECT_FLOAT_EQ(editor->panelZoom(), 2.0f);
    EXPECT_FLOAT_EQ(plug->getParameter(kEditorWidth), 368.0f);
    EXPECT_FLOAT_EQ(plug->getParameter(kEditorHeight), 1076.0f);
    clearCalls();  // a double click on the bare panel brings back the default size
    doubleClick(kBarePanel.x, kBarePanel.y);
    EXPECT_EQ((std::pair{shown()->width, shown()->height}), (std::pair{364, 538}));
    ASSERT_EQ(host.callsOf(audioMasterSizeWindow).size(), 1u);
    EXPECT_EQ(host.callsOf(audioMasterSizeWindow)[0].index, 364);
    EXPECT_TRUE(host.callsOf(audioMasterAutomate).empty());
}

// The timer redraws dirty controls, knobs first, the lamp on a change: a whole repaint's picture.
TEST_F(EditorFixture, TheTimerPaintsOnlyWhatChangedAndThatIsTheWholePicture) {
    openEditor();
    std::vector<afx_headless_rect>& painted = shown()->invalidations;
    tick();
    painted.clear();
    plug->setParameter(kMute, 1.0f);   // switch at (84, 396)
    plug->setParameter(kWidth, 0.9f);  // knob box (78, 276), 2 beyond for the ring
    plug->setParameter(kOverload, 0.0f);
    EXPECT_TRUE(painted.empty()) << "nothing is drawn on a change itself";
    tick(3);
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(
        std::vector<int32_t>({painted[0].x, painted[0].y, painted[0].width, painted[0].height,
                              painted[1].x, painted[1].y, painted[1].width, painted[1].height}),
        std::vector<int32_t>({110 + 76, 274, 48, 48, 110 + 84, 396, 33, 17}));

    const float odd[4] = {0.0f, 600.0f, 0.0f, 900.0f};  // zoom 900 / 538
    editor->restoreSize(odd);
    for (int32_t step = 0; step < 6; ++step) {
        plug->setParameter(step % 7, 0.15f * static_cast<float>(step + 1));
        plug->setParameter(kWetOnly, step % 2 ? 1.0f : 0.0f);
        plug->setParameter(kOverload, step % 3 ? 1.0f : 0.0f);
        tick();
    }
    click(kNextButton.x, kNextButton.y);
    tick();
    const std::vector<uint32_t> partial = shown()->framebuffer;
    editor->setHostBypassed(1.0f);  // not bypassed: only asks for the whole window again
    tick();
    EXPECT_TRUE(shown()->framebuffer == partial);
}

}  // namespace
