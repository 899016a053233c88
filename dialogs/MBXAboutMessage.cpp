// The About box: invitation paragraph, web address link and its cursor.
#include "dialogs/MBXAboutMessage.h"

#include "afx/afx_context.h"
#include "dialogs/MBXManager.h"

namespace {

constexpr const char* kInvitation =
    "For more information about this or any of our\nother products, please visit our website at:";

// Line feeds between the heading and the paragraph: first at 16 px, then at 12 px.
constexpr int32_t kGapFeeds = 5;
constexpr float kGapLargeSize = 16.0f;
constexpr float kGapSmallSize = 12.0f;
constexpr float kParagraphSize = 12.0f;
constexpr float kParagraphLineHeight = 16.0f;
constexpr int32_t kFeedsBeforeAddress = 2;

// Amber, the colour of a link on the dark page.
constexpr uint32_t kLinkRed = 255, kLinkGreen = 183, kLinkBlue = 0;

}  // namespace

MBXAboutMessage::MBXAboutMessage(MBXManager& owner) : MBXMessage(owner) { dialogId = kDialogId; }

MBXAboutMessage::~MBXAboutMessage() { afx_cursor_restore(manager.toolkit()); }

bool MBXAboutMessage::overLink(int32_t x, int32_t y) const {
    const HotSpot& h = hotSpot;
    return !h.disabled && x >= h.x && x <= h.x + h.width && y >= h.y && y <= h.y + h.height;
}

void MBXAboutMessage::draw() {
    if (!isEnabled() || !pageSurface || !backgroundSurface) return;
    beginPage();
    drawInvitation();
    finishPage();
}

void MBXAboutMessage::drawInvitation() {
    // Continue below the heading by whole line feeds, so the spacing follows the font.
    setTextSize(kGapLargeSize);
    for (int32_t i = 0; i < kGapFeeds; ++i) afx_text_newline(&text);
    setTextSize(kGapSmallSize);
    for (int32_t i = 0; i < kGapFeeds; ++i) afx_text_newline(&text);

    // The paragraph as a block half the page wide at most, centred, wrapped within it.
    afx_set_colour(&text, 255, 255, 255, 255);
    afx_text_set_size(&text, kParagraphSize);
    afx_text_set_line_height(&text, kParagraphLineHeight);
    int32_t blockWidth = 0, blockHeight = 0;
    afx_text_measure_box(&text, &blockWidth, &blockHeight, static_cast<float>(pageWidth) / 2.0f,
                         static_cast<float>(pageHeight), "%s", kInvitation);
    const float top = afx_text_pen_y(&text) - afx_text_cap_height(&text);
    afx_text_set_box(&text, static_cast<float>((pageWidth - blockWidth) / 2), top,
                     static_cast<float>(blockWidth), static_cast<float>(pageHeight));
    afx_text_printf(&text, "%s", kInvitation);

    for (int32_t i = 0; i < kFeedsBeforeAddress; ++i) afx_text_newline(&text);
    const float baseline = afx_text_pen_y(&text);
    // The address is centred on the whole page, not on the paragraph's block.
    afx_text_set_target(&text, pageSurface);
    afx_set_colour(&text, kLinkRed, kLinkGreen, kLinkBlue, 255);
    const float width = afx_text_width(&text, kWebAddress);
    const float left = centredX(width);
    afx_text_move_to(&text, left, baseline);
    afx_text_draw(&text, kWebAddress);
    hotSpot.x = static_cast<int32_t>(left);
    hotSpot.y = static_cast<int32_t>(baseline - afx_text_cap_height(&text));
    hotSpot.width = static_cast<int32_t>(width);
    hotSpot.height = static_cast<int32_t>(afx_text_line_height(&text));
}

bool MBXAboutMessage::onPointerDown(int32_t x, int32_t y, int32_t button, int32_t flags) {
    if (button != 0) return false;
    if (overLink(x, y)) {
        hotSpot.pressed = 1;
        hotSpot.armed = 1;
    }
    return MBXMessage::onPointerDown(x, y, button, flags);
}

bool MBXAboutMessage::onPointerUp(int32_t x, int32_t y, int32_t button) {
    hotSpot.pressed = 0;
    if (hotSpot.armed) {
        hotSpot.armed = 0;
        // The manager opens the address for this result; the box then ends.
        return endWith(MBXManager::kResultOpenLink);
    }
    return MBXMessage::onPointerUp(x, y, button);
}

bool MBXAboutMessage::onPointerMove(int32_t x, int32_t y, float dx, float dy) {
    // At every move, not only when the pointer crosses the address's edge:
    // the system puts the window's own arrow back before each move it does
    // not capture, so the hand must be set again each time, and the cursor
    // it saves is always that arrow.
    afx_cursor_hand(manager.toolkit(), overLink(x, y));
    return MBXMessage::onPointerMove(x, y, dx, dy);
}
