// A pointer's walk over the About box, the same on every screen: real
// systems put the window's arrow back before every uncaptured move, yet the
// hand must show while over the web address, and the arrow once off it.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "afx/afx_window.h"
#include "dialog_session.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXHost.h"
#include "dialogs/MBXManager.h"

enum class LeftButton { Untouched, Down, Up };
enum ShownCursor { kOtherCursor = -1, kArrowCursor, kHandCursor };

// Opens the About box in a started session's real window, walks over it and
// ends the session. origin: the window's client origin on the screen; move:
// input to a screen pixel, then the host's events handled; shown: the cursor.
inline void walkOverTheAddress(DialogSession* session,
                               const std::function<void(void*, int*, int*)>& origin,
                               const std::function<void(int, int, LeftButton)>& move,
                               const std::function<ShownCursor()>& shown) {
    MBXHost* host = session->host;
    host->openAbout();
    ASSERT_TRUE(host->isShowing());
    int originX = 0, originY = 0;
    origin(afx_window_handle(session->ctx, host->window()), &originX, &originY);
    const float zoom = host->pageZoom();
    const auto sx = [&](float x) { return originX + static_cast<int>(x * zoom + 0.5f); };
    const auto sy = [&](float y) { return originY + static_cast<int>(y * zoom + 0.5f); };
    const MBXAboutMessage::HotSpot link =
        static_cast<const MBXAboutMessage*>(host->dialogs()->top())->link();
    ASSERT_GT(link.width, 0);
    const int emptyX = sx(600.0f), emptyY = sy(200.0f);  // nothing clickable there
    const int lineY = sy(static_cast<float>(link.y) + static_cast<float>(link.height) / 2.0f);
    const auto along = [&](int fifths) {
        return sx(static_cast<float>(link.x + link.width * fifths / 5));
    };
    // Held from empty page the pointer is captured: the system leaves the cursor alone.
    const LeftButton none = LeftButton::Untouched, down = LeftButton::Down, up = LeftButton::Up;
    const ShownCursor hand = kHandCursor, arrow = kArrowCursor;
    const int before = sx(static_cast<float>(link.x) - 12.0f);
    const struct {
        int x, y;
        LeftButton button;
        ShownCursor cursor;
    } walk[] = {{emptyX, emptyY, none, arrow},    {along(1), lineY, none, hand},
                {along(2), lineY, none, hand},    {along(3), lineY, none, hand},
                {along(4), lineY, none, hand},    {emptyX, emptyY, none, arrow},
                {before, lineY, none, arrow},     {emptyX, emptyY, down, arrow},
                {along(2), lineY, none, hand},    {along(3), lineY, none, hand},
                {emptyX, emptyY, none, arrow},    {emptyX, emptyY, up, arrow},
                {emptyX + 4, emptyY, none, arrow}};
    int step = 0;
    for (const auto& w : walk) {
        move(w.x, w.y, w.button);
        EXPECT_EQ(shown(), w.cursor) << "step " << step++;
    }
    EXPECT_TRUE(host->isShowing());
    dialog_session_end(session);
}
