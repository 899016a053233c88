// The common message page: heading, Ok and close buttons, version tag and
// company line, and the input rules every message page shares.
#include "dialogs/MBXMessage.h"

#include "afx/afx_pixbuf.h"
#include "dialogs/MBXManager.h"
#include "resources/korvex_identity.h"

namespace {

constexpr const char* kProductName = KORVEX_DIALOG_TITLE;
constexpr const char* kProductLine = KORVEX_PRODUCT_NAME;
constexpr const char* kCompanyName = KORVEX_VENDOR_NAME;
constexpr const char* kVersionText = "Version " KORVEX_VERSION_TEXT;
constexpr int32_t kCloseImageId = 251;

constexpr float kHeadingSize = 18.0f;
constexpr float kLineSize = 12.0f;
constexpr float kHeadingBaseline = 64.0f;
constexpr float kCompanyBaseline = 456.0f;

constexpr uint32_t kOkWidth = 96, kOkHeight = 32, kOkTop = 300;
constexpr uint32_t kCloseSize = 24, kCloseLeft = 2, kCloseTop = 2;
constexpr uint32_t kTagWidth = 96, kTagHeight = 20;
constexpr int32_t kTagFromRight = 100, kTagFromBottom = 24;
constexpr uint32_t kCornerRadius = 4;

// Grey boxes, a purple default button that lights up while highlighted.
const afx_rgb kBoxFill{48, 48, 48};
const afx_rgb kDefaultFill{128, 0, 128};
const afx_rgb kHighlightFill{183, 0, 183};
const afx_rgb kBoxText{240, 240, 240};

}  // namespace

// The Ok and close buttons keep the page's three marks in the toolkit's
// button fields: "pressed" (a left press began on it) is the button's
// activated flag, "highlighted" its pressed look, and "default" its hover
// look, which for the Ok button is the purple fill.
MBXMessage::MBXMessage(MBXManager& owner) : MBXObject(owner) {
    afx_context* toolkit = manager.toolkit();
    afx_text_init(&text);
    afx_text_set_target(&text, pageSurface);
    afx_push_button_init(&ok, toolkit);
    afx_push_button_init(&closer, toolkit);
    afx_text_box_init(&versionTag, toolkit);
    closeImage = afx_pixbuf_new_from_inline(toolkit, kCloseImageId);
    setupButtons();
}

MBXMessage::~MBXMessage() {
    afx_text_box_release(&versionTag);
    afx_push_button_release(&closer);
    afx_push_button_release(&ok);
    afx_pixbuf_free(manager.toolkit(), closeImage);
    afx_text_release(&text);
}

void MBXMessage::setupButtons() {
    afx_push_button_set_width(&ok, kOkWidth);
    afx_push_button_set_height(&ok, kOkHeight);
    afx_widget_set_x(&ok.widget, (static_cast<uint32_t>(pageWidth) - kOkWidth) / 2);
    afx_widget_set_y(&ok.widget, kOkTop);
    afx_widget_set_radius(&ok.widget, kCornerRadius);
    afx_push_button_set_caption(&ok, "Ok");
    afx_push_button_set_alignment(&ok, 1);
    afx_push_button_set_fill(&ok, kBoxFill.r, kBoxFill.g, kBoxFill.b);
    afx_push_button_set_hover_fill(&ok, kDefaultFill.r, kDefaultFill.g, kDefaultFill.b);
    afx_push_button_set_pressed_fill(&ok, kHighlightFill.r, kHighlightFill.g, kHighlightFill.b);
    afx_push_button_set_text_colour(&ok, kBoxText.r, kBoxText.g, kBoxText.b);
    afx_push_button_set_pressed_text_colour(&ok, kBoxText.r, kBoxText.g, kBoxText.b);
    afx_push_button_set_background(&ok, backgroundSurface);
    afx_push_button_set_background_colour(&ok, kBoxFill.r, kBoxFill.g, kBoxFill.b);
    afx_push_button_set_hover(&ok, true);  // the default button from the start

    afx_push_button_set_width(&closer, kCloseSize);
    afx_push_button_set_height(&closer, kCloseSize);
    afx_widget_set_x(&closer.widget, kCloseLeft);
    afx_widget_set_y(&closer.widget, kCloseTop);
    afx_push_button_set_image(&closer, closeImage);
    afx_push_button_set_background(&closer, backgroundSurface);
    // Without its picture the button would be an empty box: keep it hidden.
    afx_push_button_set_hidden(&closer, closeImage == nullptr);

    afx_text_box_set_width(&versionTag, kTagWidth);
    afx_text_box_set_height(&versionTag, kTagHeight);
    afx_widget_set_x(&versionTag.widget, static_cast<uint32_t>(pageWidth - kTagFromRight));
    afx_widget_set_y(&versionTag.widget, static_cast<uint32_t>(pageHeight - kTagFromBottom));
    afx_widget_set_radius(&versionTag.widget, kCornerRadius);
    afx_text_box_set_fill(&versionTag, kBoxFill.r, kBoxFill.g, kBoxFill.b);
    afx_text_box_set_text_colour(&versionTag, kBoxText.r, kBoxText.g, kBoxText.b);
    afx_text_box_set_alignment(&versionTag, 1);
    afx_text_box_set_caption(&versionTag, kVersionText);
    afx_text_box_set_background(&versionTag, backgroundSurface);
}

void MBXMessage::setTextSize(float pixels) {
    afx_text_set_size(&text, pixels);
    afx_text_set_line_height(&text, pixels);
}

float MBXMessage::centredX(float width) const {
    return (static_cast<float>(pageWidth) - width) / 2.0f;
}

void MBXMessage::drawHeading() {
    afx_set_colour(&text, 255, 255, 255, 255);
    setTextSize(kHeadingSize);
    const float headingLine = afx_text_line_height(&text);
    afx_text_move_to(&text, centredX(afx_text_width(&text, kProductName)), kHeadingBaseline);
    afx_text_printf(&text, "%s", kProductName);
    setTextSize(kLineSize);
    afx_text_move_to(&text, centredX(afx_text_width(&text, kProductLine)),
                     kHeadingBaseline + headingLine);
    afx_text_printf(&text, "%s", kProductLine);
}

void MBXMessage::beginPage() {
    afx_pixbuf_copy(manager.toolkit(), backgroundSurface, pageSurface, 0, 0, 0, 0, pageWidth,
                    pageHeight);
    afx_text_set_target(&text, pageSurface);
    drawHeading();
}

void MBXMessage::finishPage() {
    afx_text_box_draw(&versionTag, pageSurface);
    afx_set_colour(&text, 255, 255, 255, 255);
    setTextSize(kLineSize);
    afx_text_move_to(&text, centredX(afx_text_width(&text, kCompanyName)), kCompanyBaseline);
    afx_text_printf(&text, "%s", kCompanyName);
    afx_push_button_redraw(&ok, pageSurface);
    afx_push_button_set_hidden(&closer, closeImage == nullptr);
    afx_push_button_redraw(&closer, pageSurface);
    dirty[0] = 0;
    dirty[1] = 0;
    dirty[2] = pageWidth;
    dirty[3] = pageHeight;
    fullyDrawn = 1;
}

void MBXMessage::draw() {
    if (!isEnabled() || !pageSurface || !backgroundSurface) return;
    beginPage();
    finishPage();
}

void MBXMessage::markDirty(int32_t x, int32_t y, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return;
    if (dirty[2] <= 0 || dirty[3] <= 0) {
        dirty[0] = x;
        dirty[1] = y;
        dirty[2] = width;
        dirty[3] = height;
        return;
    }
    const int32_t left = x < dirty[0] ? x : dirty[0];
    const int32_t top = y < dirty[1] ? y : dirty[1];
    const int32_t right = x + width > dirty[0] + dirty[2] ? x + width : dirty[0] + dirty[2];
    const int32_t bottom = y + height > dirty[1] + dirty[3] ? y + height : dirty[1] + dirty[3];
    dirty[0] = left;
    dirty[1] = top;
    dirty[2] = right - left;
    dirty[3] = bottom - top;
}

void MBXMessage::redrawIfDirty(afx_push_button* button) {
    if (!button->dirty) return;
    afx_push_button_redraw(button, pageSurface);  // the restore clears the flag
    int32_t x, y, w, h;
    afx_push_button_dirty_rect(button, &x, &y, &w, &h);
    markDirty(x, y, w, h);
}

bool MBXMessage::tick(int32_t) {
    if (!isEnabled()) return false;
    if (!fullyDrawn) {
        draw();
        return true;
    }
    const bool changed = ok.dirty || closer.dirty;
    redrawIfDirty(&ok);
    redrawIfDirty(&closer);
    return changed;
}

void MBXMessage::takeDirtyBox(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
    *x = dirty[0];
    *y = dirty[1];
    *width = dirty[2];
    *height = dirty[3];
    for (int32_t& v : dirty) v = 0;
}

bool MBXMessage::endWith(int32_t result) {
    if (manager.finish(this, result) == MBXManager::kDeleteDialog) delete this;
    return true;
}

bool MBXMessage::onPointerDown(int32_t x, int32_t y, int32_t button, int32_t) {
    if (button != 0) return false;
    if (afx_push_button_hit(&ok, x, y)) {
        afx_push_button_set_activated(&ok, true);
        afx_push_button_set_pressed(&ok, true);
        afx_push_button_set_hover(&ok, true);
        afx_push_button_set_dirty(&ok, true);
    } else if (afx_push_button_hit(&closer, x, y)) {
        afx_push_button_set_activated(&closer, true);
        afx_push_button_set_pressed(&closer, true);
        afx_push_button_set_dirty(&closer, true);
    }
    return true;
}

bool MBXMessage::onDoubleClick(int32_t x, int32_t y, int32_t button) {
    return onPointerDown(x, y, button, 0);
}

bool MBXMessage::trackButton(afx_push_button* button, int32_t x, int32_t y) {
    const bool over = afx_push_button_hit(button, x, y);
    if (over != (button->pressed != 0)) {
        afx_push_button_set_pressed(button, over);
        afx_push_button_set_dirty(button, true);
    }
    return true;
}

bool MBXMessage::onPointerMove(int32_t x, int32_t y, float, float) {
    if (afx_push_button_is_activated(&ok)) return trackButton(&ok, x, y);
    if (afx_push_button_is_activated(&closer)) return trackButton(&closer, x, y);
    return false;
}

bool MBXMessage::onPointerUp(int32_t, int32_t, int32_t) {
    afx_push_button_clear_activated(&ok);
    afx_push_button_clear_activated(&closer);
    if (ok.pressed) return endWith(MBXManager::kResultOk);
    if (closer.pressed) return endWith(MBXManager::kResultClosed);
    return true;
}

bool MBXMessage::keyDownEnter() {
    afx_push_button_set_pressed(&ok, true);
    afx_push_button_set_dirty(&ok, true);
    return true;
}

bool MBXMessage::keyUpEnter() {
    if (!ok.pressed) return false;
    return endWith(MBXManager::kResultOk);
}

bool MBXMessage::keyUpEscape() { return endWith(MBXManager::kResultOk); }
