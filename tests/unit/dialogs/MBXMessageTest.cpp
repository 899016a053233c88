// The About box's page played with the pointer and the keys: the Ok button
// follows a held press on and off it, only the left button presses, Enter
// and Escape end the page on release, the close button ends it, a left press
// on the web address opens it wherever it is released, and the window
// closes with the last page.
#include <cstdlib>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "dialogs/MBXManager.h"

namespace {

enum Look { kUnchecked, kOkDefault, kOkHighlighted, kCloserPressed };
enum Outcome { kStaysOpen, kEndsOk, kEndsClosed, kOpensLink };

struct Gesture {
    const char* what;
    std::vector<Step> hold;    // played first: the page stays open
    Look look;                 // what shows then
    std::vector<Step> finish;  // played next
    Outcome outcome;
};

constexpr int32_t kEnter = 13, kEscape = 27, kRight = 1;
constexpr PagePoint kOkEdge{360, 316}, kOutside{700, 620};

using MBXMessagePage = DialogTest;

TEST_F(MBXMessagePage, GesturesEndThePageOnlyWhereAUserExpects) {
    const Gesture gestures[] = {
        {"Ok clicked", {press(kOk)}, kOkHighlighted, {release(kOk)}, kEndsOk},
        {"Ok dragged off",
         {press(kOk), moveTo(kBesideOk)},
         kOkDefault,
         {release(kBesideOk)},
         kStaysOpen},
        {"Ok off and back",
         {press(kOk), moveTo(kBesideOk), moveTo(kOkEdge)},
         kOkHighlighted,
         {release(kOkEdge)},
         kEndsOk},
        {"Ok right-clicked", {press(kOk, kRight)}, kOkDefault, {release(kOk, kRight)}, kStaysOpen},
        {"Enter", {keyDown(kEnter)}, kOkHighlighted, {keyUp(kEnter)}, kEndsOk},
        {"keys, then Escape",
         {keyDown('A'), keyUp('A'), keyUp(kEnter), keyDown(kEscape)},
         kOkDefault,
         {keyUp(kEscape)},
         kEndsOk},
        {"close button", {press(kCloser)}, kCloserPressed, {release(kCloser)}, kEndsClosed},
        {"address", {press(kLink)}, kUnchecked, {release(kLink)}, kOpensLink},
        {"address to Ok", {press(kLink)}, kUnchecked, {release(kOk)}, kOpensLink},
        {"address to closer", {press(kLink)}, kUnchecked, {release(kCloser)}, kOpensLink},
        {"address to outside", {press(kLink)}, kUnchecked, {release(kOutside)}, kOpensLink},
        {"address right-clicked",
         {press(kLink, kRight)},
         kUnchecked,
         {release(kLink, kRight)},
         kStaysOpen},
        {"empty to address", {press(kEmpty)}, kUnchecked, {release(kLink)}, kStaysOpen},
        {"Ok to address", {press(kOk), moveTo(kLink)}, kUnchecked, {release(kLink)}, kStaysOpen},
    };
    for (const Gesture& g : gestures) {
        SCOPED_TRACE(g.what);
        restartToolkit(1920, 1080);
        openAbout();
        const uint32_t closerAtRest = shownAt(kCloser);
        play(g.hold);
        EXPECT_TRUE(host->isShowing());
        EXPECT_TRUE(afx_headless_opened_urls().empty());
        bool pressed = false;
        for (const Step& s : g.hold) pressed |= s.act == Act::Press;
        EXPECT_EQ(afx_headless_capture_window(), pressed ? native : nullptr);
        // The Ok button's fill: purple as the default button, light purple while
        // highlighted, at 254/256 strength (each channel up to two less).
        const uint32_t shown = shownAt(kOkFill), purple = g.look == kOkHighlighted ? 183 : 128;
        if (g.look == kOkDefault || g.look == kOkHighlighted) {
            EXPECT_LE(std::abs(int32_t(shown >> 16) - int32_t(purple)) + int32_t(shown >> 8 & 255) +
                          std::abs(int32_t(shown & 255) - int32_t(purple)),
                      4)
                << std::hex << shown;
        }
        if (g.look == kCloserPressed) {
            EXPECT_NE(shownAt(kCloser), closerAtRest);
        }
        play(g.finish);
        EXPECT_EQ(closed(), g.outcome != kStaysOpen);
        EXPECT_EQ(afx_headless_capture_window(), nullptr);
        EXPECT_EQ(afx_headless_opened_urls(),
                  g.outcome == kOpensLink
                      ? std::vector<std::string>{"https://corvane.example/korvex52"}
                      : std::vector<std::string>{});
        const int32_t results[] = {0, MBXManager::kResultOk, MBXManager::kResultClosed,
                                   MBXManager::kResultOpenLink};
        if (g.outcome != kStaysOpen) {
            EXPECT_EQ(host->dialogs()->dialogCount(), 0);
            EXPECT_EQ(host->dialogs()->lastResult(), results[g.outcome]);
        }
    }
}

}  // namespace
