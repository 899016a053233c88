// The About box's page played with the pointer and the keys: which gestures
// end it, how, and what the held buttons show meanwhile.
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "dialogs/MBXManager.h"

namespace {

// What shows while held: Ok with its caption, the close button lit.
enum Look { kAny, kOkShown, kCloserLit };
enum Outcome { kOpen, kByOk, kByCloser, kByLink };

struct Gesture {
    const char* what;
    std::vector<Step> hold;  // the page stays open
    Look look;
    std::vector<Step> finish;
    Outcome outcome;
};

constexpr int32_t kEnter = 13, kEscape = 27, kRight = 1;
constexpr PagePoint kOkEdge{360, 316}, kOutside{700, 620};

using MBXMessagePage = DialogTest;

TEST_F(MBXMessagePage, GesturesEndThePageOnlyWhereAUserExpects) {
    const Gesture gestures[] = {
        {"Ok clicked", {press(kOk)}, kOkShown, {release(kOk)}, kByOk},
        {"Ok off", {press(kOk), moveTo(kBeside)}, kOkShown, {release(kBeside)}, kOpen},
        {"Ok off and back",
         {press(kOk), moveTo(kBeside), moveTo(kOkEdge)},
         kOkShown,
         {release(kOkEdge)},
         kByOk},
        {"Ok, right", {press(kOk, kRight)}, kOkShown, {release(kOk, kRight)}, kOpen},
        {"Enter", {keyDown(kEnter)}, kOkShown, {keyUp(kEnter)}, kByOk},
        {"Escape",
         {keyDown('A'), keyUp('A'), keyUp(kEnter), keyDown(kEscape)},
         kOkShown,
         {keyUp(kEscape)},
         kByOk},
        {"close button", {press(kCloser)}, kCloserLit, {release(kCloser)}, kByCloser},
        {"address", {press(kLink)}, kAny, {release(kLink)}, kByLink},
        {"address to Ok", {press(kLink)}, kAny, {release(kOk)}, kByLink},
        {"address to closer", {press(kLink)}, kAny, {release(kCloser)}, kByLink},
        {"address to outside", {press(kLink)}, kAny, {release(kOutside)}, kByLink},
        {"address, right", {press(kLink, kRight)}, kAny, {release(kLink, kRight)}, kOpen},
        {"empty to address", {press(kEmpty)}, kAny, {release(kLink)}, kOpen},
        {"Ok to address", {press(kOk), moveTo(kLink)}, kAny, {release(kLink)}, kOpen},
    };
    for (const Gesture& g : gestures) {
        SCOPED_TRACE(g.what);
        restartToolkit(1920, 1080);
        openAbout();
        const uint32_t closerAtRest = shownAt(kCloser);
        play(g.hold);
        EXPECT_TRUE(host->isShowing());
        EXPECT_TRUE(afx_headless_opened_urls().empty());
        EXPECT_EQ(afx_headless_capture_window(), g.hold[0].act == Act::Press ? native : nullptr);
        if (g.look == kOkShown) {  // Ok's caption: light, where no fill is green
            afx_headless_paint(native);
            int32_t light = 0;
            for (int32_t y = 375; y < 415; ++y)
                for (int32_t x = 340; x < 460; ++x)
                    light += (afx_headless_pixel(native, x, y) >> 8 & 255) >= 200;
            EXPECT_GT(light, 10);
        }
        if (g.look == kCloserLit) {
            EXPECT_NE(shownAt(kCloser), closerAtRest);
        }
        play(g.finish);
        EXPECT_EQ(closed(), g.outcome != kOpen);
        EXPECT_EQ(afx_headless_capture_window(), nullptr);
        EXPECT_EQ(afx_headless_opened_urls(),
                  g.outcome == kByLink
                      ? std::vector<std::string>{"https://corvane.example/korvex52"}
                      : std::vector<std::string>{});
        const int32_t results[] = {0, MBXManager::kResultOk, MBXManager::kResultClosed,
                                   MBXManager::kResultOpenLink};
        if (g.outcome != kOpen) {
            EXPECT_EQ(host->dialogs()->dialogCount(), 0);
            EXPECT_EQ(host->dialogs()->lastResult(), results[g.outcome]);
        }
    }
}

}  // namespace
