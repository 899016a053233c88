// The editor's life as a host drives it: the size it reports, opening and
// closing, the panel placed in a larger window, resizing by the grip, by a
// stored size and back to the default, the refresh timer, the greyed
// presentation while bypassed, and the size travelling in chunks.
#include "EditorFixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "afx/afx_window.h"

using namespace ZEPHRA2F9C41D07;

namespace {

ERect reportedRect(CPlug* plug) {
    ERect* rect = nullptr;
    EXPECT_EQ(plug->dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    EXPECT_NE(rect, nullptr);
    return rect ? *rect : ERect{};
}

class EditorAtDoubleScale : public EditorFixture {
protected:
    void SetUp() override { setUpAt(192); }
};

TEST_F(EditorFixture, ReportsTheDefaultSizeBeforeOpeningAndAnswersFalse) {
    const ERect rect = reportedRect(plug);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 364);
    EXPECT_EQ(rect.bottom, 538);
    ERect* direct = nullptr;
    EXPECT_FALSE(editor->getRect(&direct));
    EXPECT_NE(direct, nullptr);
    EXPECT_FLOAT_EQ(editor->panelZoom(), 0.0f);  // set by the first open
}

TEST_F(EditorAtDoubleScale, ReportsTwiceTheSizeAndZoomsTwice) {
    const ERect rect = reportedRect(plug);
    EXPECT_EQ(rect.right, 728);
    EXPECT_EQ(rect.bottom, 1076);
    openEditor();
    EXPECT_FLOAT_EQ(editor->panelZoom(), 2.0f);
    EXPECT_EQ(editor->panelLeft(), (728 - 288) / 2);
    // Logical sizes go to the plug-in: 364 x 538, not the device pixels.
    float size[4] = {};
    editor->querySize(size);
    EXPECT_FLOAT_EQ(size[1], 364.0f);
    EXPECT_FLOAT_EQ(size[3], 538.0f);
}

TEST_F(EditorFixture, OpensOneWindowAndKeepsItOnASecondOpen) {
    openEditor();
    afx_headless_window* w = afx_headless_find(window());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parent, parent);
    EXPECT_EQ(w->width, 364);
    EXPECT_EQ(w->height, 538);
    EXPECT_TRUE(w->visible);
    EXPECT_TRUE(w->accepts_files);
    EXPECT_EQ(w->icon, 200);
    EXPECT_EQ(w->title, "KORVEX52 Stereo Reverb");
    EXPECT_TRUE(w->timer_running);
    EXPECT_EQ(w->timer_period_ms, 40u);
    const int32_t index = editor->windowIndex();
    const int32_t windows = afx_headless_window_count();

    EXPECT_FALSE(editor->open(parent));
    EXPECT_EQ(afx_headless_window_count(), windows);
    EXPECT_EQ(editor->windowIndex(), index);
    EXPECT_FALSE(w->destroyed);
    EXPECT_STREQ(editor->displayedText(), "KORVEX52  V3.1.4");
    EXPECT_EQ(editor->messageTicksLeft(), 625);
}

// The panel at 1:1 in the middle with the dotted surround and the grip is
// pinned pixel for pixel by the golden image editor-364x538.
TEST_F(EditorFixture, PlacesThePanelInTheMiddleAtZoomOne) {
    openEditor();
    EXPECT_EQ(editor->panelLeft(), 110);
    EXPECT_FLOAT_EQ(editor->panelZoom(), 1.0f);
}

TEST_F(EditorFixture, AWindowOf368By1076ZoomsThePanelTwice) {
    const float wanted[4] = {0.0f, 368.0f, 0.0f, 1076.0f};
    EXPECT_TRUE(editor->restoreSize(wanted));
    openEditor();
    EXPECT_FLOAT_EQ(editor->panelZoom(), 2.0f);
    EXPECT_EQ(editor->panelLeft(), 40);
    afx_headless_window* w = afx_headless_find(window());
    EXPECT_EQ(w->width, 368);
    EXPECT_EQ(w->height, 1076);
    EXPECT_FLOAT_EQ(plug->getParameter(kEditorWidth), 368.0f);
    EXPECT_FLOAT_EQ(plug->getParameter(kEditorHeight), 1076.0f);
    const auto sizes = callsOf(audioMasterSizeWindow);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].index, 368);
    EXPECT_EQ(sizes[0].value, 1076);
}

TEST_F(EditorFixture, GripDragStopsAtTheDragLimitsAndResizesTheHost) {
    openEditor();
    clearCalls();
    press(360 - 110, 534);  // window (360, 534): inside the 20-pixel corner
    EXPECT_EQ(afx_headless_cursor(), AFXP_CURSOR_RESIZE);
    EXPECT_EQ(afx_headless_capture_window(), window());
    // Out to (2000, 300) in window pixels, in eight moves: the window follows every second one.
    for (int32_t step = 1; step <= 8; ++step) {
        afx_headless_move(window(), 360 + (2000 - 360) * step / 8, 534 + (300 - 534) * step / 8);
    }
    EXPECT_EQ(editor->windowWidth(), 920);
    afx_headless_set_buttons_held(false);
    afx_headless_button_up(window(), 2000, 300, 0);
    EXPECT_EQ(editor->windowWidth(), 920);
    EXPECT_EQ(editor->windowHeight(), 538);
    EXPECT_NE(afx_headless_cursor(), AFXP_CURSOR_RESIZE);
    afx_headless_window* w = afx_headless_find(window());
    EXPECT_EQ(w->width, 920);
    EXPECT_EQ(w->height, 538);
    // The host's window grows by what the editor grew.
    afx_headless_window* host = afx_headless_find(parent);
    EXPECT_EQ(host->width, 500 + 920 - 364);
    EXPECT_EQ(host->height, 700);
    const auto sizes = callsOf(audioMasterSizeWindow);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().index, 920);
    EXPECT_EQ(sizes.back().value, 538);
    // Width-limited zoom: 920 / 184 = 5, 538 / 538 = 1, so 1.0 and the panel in the middle.
    EXPECT_FLOAT_EQ(editor->panelZoom(), 1.0f);
    EXPECT_EQ(editor->panelLeft(), (920 - 144) / 2);
    EXPECT_TRUE(afx_headless_paint(window()));
}

TEST_F(EditorFixture, RestoredSizesObeyOnlyTheMinimums) {
    const float huge[4] = {0.0f, 2000.0f, 0.0f, 300.0f};
    EXPECT_TRUE(editor->restoreSize(huge));
    EXPECT_EQ(editor->windowWidth(), 2000);
    EXPECT_EQ(editor->windowHeight(), 538);
    EXPECT_FLOAT_EQ(editor->panelZoom(), 1.0f);
    const float wide[4] = {0.0f, 5000.0f, 0.0f, 600.0f};
    EXPECT_TRUE(editor->restoreSize(wide));
    EXPECT_EQ(editor->windowWidth(), 5000);
    EXPECT_EQ(editor->windowHeight(), 600);
    const float tiny[4] = {0.0f, 10.0f, 0.0f, 10.0f};
    EXPECT_TRUE(editor->restoreSize(tiny));
    EXPECT_EQ(editor->windowWidth(), 184);
    EXPECT_EQ(editor->windowHeight(), 538);
    EXPECT_EQ(callsOf(audioMasterSizeWindow).size(), 3u);
    // Whatever a damaged chunk holds: no number or a negative one means the
    // minimums, and nothing grows beyond what the host's 16-bit rectangle holds.
    const float damaged[4] = {0.0f, std::nanf(""), 0.0f, 1e30f};
    EXPECT_TRUE(editor->restoreSize(damaged));
    EXPECT_EQ(editor->windowWidth(), 184);
    EXPECT_EQ(editor->windowHeight(), 32767);
    const float negative[4] = {0.0f, -400.0f, 0.0f, -1.0f};
    EXPECT_TRUE(editor->restoreSize(negative));
    EXPECT_EQ(editor->windowWidth(), 184);
    EXPECT_EQ(editor->windowHeight(), 538);
}

TEST_F(EditorFixture, DoubleClickOnTheBarePanelRestoresTheDefaultSize) {
    const float big[4] = {0.0f, 600.0f, 0.0f, 900.0f};
    editor->restoreSize(big);
    openEditor();
    EXPECT_NEAR(editor->panelZoom(), 900.0f / 538.0f, 1e-5f);
    clearCalls();
    doubleClick(kBarePanel.x, kBarePanel.y);
    EXPECT_EQ(editor->windowWidth(), 364);
    EXPECT_EQ(editor->windowHeight(), 538);
    EXPECT_FLOAT_EQ(editor->panelZoom(), 1.0f);
    const auto sizes = callsOf(audioMasterSizeWindow);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].index, 364);
    EXPECT_EQ(sizes[0].value, 538);
    EXPECT_TRUE(callsOf(audioMasterAutomate).empty());
}

TEST_F(EditorFixture, ReopeningKeepsTheControlsAndTheirStates) {
    openEditor();
    click(43, 328);  // the Wet-Only switch
    ASSERT_TRUE(editor->switchOn(7));
    void* first = window();
    closeEditor();
    EXPECT_FALSE(editor->windowOpen());
    EXPECT_TRUE(afx_headless_find(first)->destroyed);
    EXPECT_NE(editor->panel(), nullptr);  // the panel stays
    // Changes while closed reach the controls at the next open.
    plug->setParameter(kMix, 0.8f);
    plug->setParameter(kMute, 1.0f);
    openEditor();
    EXPECT_NE(window(), first);
    EXPECT_TRUE(editor->switchOn(7));
    EXPECT_TRUE(editor->switchOn(8));
    EXPECT_FLOAT_EQ(editor->knobValue(kMix), 80.0f);
    EXPECT_FALSE(afx_headless_find(window())->framebuffer.empty());
}

TEST_F(EditorFixture, ChangesBeforeTheFirstOpenShowAtIt) {
    plug->setParameter(kDamping, 0.3f);
    plug->setParameter(kEffect, 0.0f);
    EXPECT_FLOAT_EQ(editor->knobValue(kDamping), -1.0f);  // no controls yet
    openEditor();
    EXPECT_FLOAT_EQ(editor->knobValue(kDamping), 30.0f);
    EXPECT_FALSE(editor->switchOn(kEffect));
}

TEST_F(EditorFixture, TheTimerRedrawsOnlyDirtyControlsInTheirBoxes) {
    openEditor();
    afx_headless_window* w = afx_headless_find(window());
    tick();
    w->invalidations.clear();
    tick(3);
    EXPECT_TRUE(w->invalidations.empty()) << "nothing changed, nothing to paint";

    plug->setParameter(kMute, 1.0f);   // switch at (84, 396)
    plug->setParameter(kWidth, 0.9f);  // knob box (78, 276), 2 beyond for the ring
    EXPECT_TRUE(w->invalidations.empty()) << "nothing is drawn on a change itself";
    tick();
    ASSERT_EQ(w->invalidations.size(), 2u);
    // Knobs come before the switches, whatever order the changes came in.
    EXPECT_EQ(w->invalidations[0].x, 110 + 76);
    EXPECT_EQ(w->invalidations[0].y, 274);
    EXPECT_EQ(w->invalidations[0].width, 48);
    EXPECT_EQ(w->invalidations[0].height, 48);
    EXPECT_EQ(w->invalidations[1].x, 110 + 84);
    EXPECT_EQ(w->invalidations[1].y, 396);
    EXPECT_EQ(w->invalidations[1].width, 33);
    EXPECT_EQ(w->invalidations[1].height, 17);

    // The overload lamp is told after every block; only a change is drawn.
    w->invalidations.clear();
    plug->setParameter(kOverload, 1.0f);
    tick();
    ASSERT_EQ(w->invalidations.size(), 1u);
    EXPECT_EQ(w->invalidations[0].x, 110 + 36);
    EXPECT_EQ(w->invalidations[0].y, 291);
    EXPECT_EQ(w->invalidations[0].width, 14);
    EXPECT_TRUE(editor->overloadLit());
    w->invalidations.clear();
    plug->setParameter(kOverload, 1.0f);
    tick();
    EXPECT_TRUE(w->invalidations.empty());
}

TEST_F(EditorFixture, DirtyBoxesAreZoomedWithThePanel) {
    const float wanted[4] = {0.0f, 368.0f, 0.0f, 1076.0f};
    editor->restoreSize(wanted);
    openEditor();
    afx_headless_window* w = afx_headless_find(window());
    w->invalidations.clear();
    plug->setParameter(kMix, 0.2f);  // knob box (78, 336) -> dirty (76, 334, 48, 48)
    tick();
    ASSERT_EQ(w->invalidations.size(), 1u);
    EXPECT_EQ(w->invalidations[0].x, 40 + 152);
    EXPECT_EQ(w->invalidations[0].y, 668);
    EXPECT_EQ(w->invalidations[0].width, 96);
    EXPECT_EQ(w->invalidations[0].height, 96);
}

TEST_F(EditorFixture, PaintingOnlyWhatChangedShowsWhatAFullRepaintShows) {
    const float odd[4] = {0.0f, 600.0f, 0.0f, 900.0f};  // zoom 900 / 538, not a whole number
    editor->restoreSize(odd);
    openEditor();
    for (int32_t step = 0; step < 6; ++step) {
        plug->setParameter(step % 7, 0.15f * static_cast<float>(step + 1));
        plug->setParameter(kWetOnly, step % 2 ? 1.0f : 0.0f);
        plug->setParameter(kOverload, step % 3 ? 1.0f : 0.0f);
        tick();
    }
    click(kNextButton.x, kNextButton.y);
    tick();
    const std::vector<uint32_t> partial = afx_headless_find(window())->framebuffer;
    editor->setHostBypassed(1.0f);  // not bypassed: only asks for the whole window again
    tick();
    EXPECT_TRUE(afx_headless_find(window())->framebuffer == partial);
}

// How the bypassed window looks is pinned by the golden image
// editor-bypassed (bypassed before opening); here the bypass comes while the
// window is open: it is repainted whole and grey, and ending the bypass
// brings back exactly the plain window.
TEST_F(EditorFixture, BypassRepaintsTheWholeWindowUntilItEnds) {
    openEditor();
    const std::vector<uint32_t> plain = afx_headless_find(window())->framebuffer;
    plug->dispatcher(effSetBypass, 0, 1, nullptr, 0.0f);
    afx_headless_window* w = afx_headless_find(window());
    w->invalidations.clear();
    tick();
    ASSERT_FALSE(w->invalidations.empty());
    EXPECT_EQ(w->invalidations[0].width, 364);
    EXPECT_EQ(w->invalidations[0].height, 538);
    int32_t coloured = 0;
    for (const uint32_t p : w->framebuffer)
        coloured += (p >> 16 & 0xFFu) != (p & 0xFFu) || (p >> 8 & 0xFFu) != (p & 0xFFu);
    EXPECT_EQ(coloured, 0) << "every pixel grey while bypassed";
    EXPECT_FALSE(w->framebuffer == plain);
    plug->dispatcher(effSetBypass, 0, 0, nullptr, 0.0f);
    tick();
    EXPECT_TRUE(w->framebuffer == plain);
}

TEST_F(EditorFixture, TheEditorSizeTravelsInChunks) {
    const uint32_t now = 1000;
    openEditor();
    const float wanted[4] = {0.0f, 500.0f, 0.0f, 700.0f};
    editor->restoreSize(wanted);
    void* data = nullptr;
    ASSERT_EQ(plug->dispatcher(effGetChunk, 0, 0, &data, 0.0f), 800);
    std::vector<unsigned char> bank(static_cast<unsigned char*>(data),
                                    static_cast<unsigned char*>(data) + 800);
    float width = 0.0f, height = 0.0f;
    std::memcpy(&width, bank.data() + 80 * 3 + 48, 4);
    std::memcpy(&height, bank.data() + 80 * 3 + 52, 4);
    EXPECT_FLOAT_EQ(width, 500.0f);
    EXPECT_FLOAT_EQ(height, 700.0f);

    // A session restored right after construction brings the size back ...
    static uint32_t clock = 0;
    clock = now;
    CPlug::setMillisecondClock([] { return clock; });
    {
        FakeHost otherHost;
        CPlug restored(FakeHost::callback, 10, 10);
        auto* other = static_cast<CEditorGUI*>(restored.getEditor());
        clock = now + 1999;
        EXPECT_EQ(restored.dispatcher(effSetChunk, 0, 800, bank.data(), 0.0f), 1);
        EXPECT_EQ(other->windowWidth(), 500);
        EXPECT_EQ(other->windowHeight(), 700);
        const auto sizes = otherHost.callsOf(audioMasterSizeWindow);
        ASSERT_EQ(sizes.size(), 1u);
        EXPECT_EQ(sizes[0].index, 500);
        EXPECT_EQ(sizes[0].value, 700);
    }
    // ... one that comes later leaves the user's window alone.
    {
        FakeHost otherHost;
        clock = now;
        CPlug late(FakeHost::callback, 10, 10);
        auto* other = static_cast<CEditorGUI*>(late.getEditor());
        clock = now + 2000;
        EXPECT_EQ(late.dispatcher(effSetChunk, 0, 800, bank.data(), 0.0f), 1);
        EXPECT_EQ(other->windowWidth(), 364);
        EXPECT_EQ(other->windowHeight(), 538);
        EXPECT_TRUE(otherHost.callsOf(audioMasterSizeWindow).empty());
    }
    CPlug::setMillisecondClock(nullptr);
    FakeHost::current = &host;
}

}  // namespace
