// MBXMessage: the common message page. The product heading at the top, an
// Ok button in the middle (the default button: Enter and Escape end the
// page too), a close button in the top-left corner, the version tag in the
// bottom-right corner and the company line at the foot. Pages with text of
// their own (the About box) derive from it and add their lines between the
// heading and the foot.
#pragma once

#include <cstdint>

#include "afx/afx_text.h"
#include "afx/widgets/afx_push_button.h"
#include "afx/widgets/afx_text_box.h"
#include "dialogs/MBXObject.h"

class MBXMessage : public MBXObject {
public:
    explicit MBXMessage(MBXManager& manager);
    ~MBXMessage() override;

    // A left press on the Ok button highlights it; on the close button
    // likewise. Any other button answers false.
    bool onPointerDown(int32_t x, int32_t y, int32_t button, int32_t flags) override;
    // Releasing on the highlighted Ok button ends the page with kResultOk,
    // on the close button with kResultClosed: the page deletes itself.
    bool onPointerUp(int32_t x, int32_t y, int32_t button) override;
    bool onDoubleClick(int32_t x, int32_t y, int32_t button) override;
    // A held button is highlighted exactly while the pointer is over it.
    bool onPointerMove(int32_t x, int32_t y, float dx, float dy) override;
    // Enter shows the Ok button highlighted while held and ends on release;
    // Escape ends on release.
    bool keyDownEnter() override;
    bool keyUpEnter() override;
    bool keyUpEscape() override;

    // The first tick draws the whole page; later ones the changed buttons.
    bool tick(int32_t ms) override;
    void draw() override;
    void takeDirtyBox(int32_t* x, int32_t* y, int32_t* width, int32_t* height) override;

    // The product name and line, centred at the top of the page.
    virtual void drawHeading();

    const afx_push_button& okButton() const { return ok; }
    const afx_push_button& closeButton() const { return closer; }

protected:
    // The page background and the heading: the start of every draw.
    void beginPage();
    // Version tag, company line and both buttons; marks the whole page
    // changed and the page drawn: the end of every draw.
    void finishPage();
    // Size in pixels with the font's own line height (a line feed moves one size down).
    void setTextSize(float pixels);
    // Left edge that centres a line of width pixels on the page.
    float centredX(float width) const;
    // Ends the page with result; when the manager says so the page deletes
    // itself, and nothing of it may be touched afterwards. Answers true.
    bool endWith(int32_t result);
    // Grows the dirty box by a rectangle of page pixels.
    void markDirty(int32_t x, int32_t y, int32_t width, int32_t height);

    afx_text text;  // draws the page's own lines
    afx_push_button ok;
    afx_push_button closer;
    afx_text_box versionTag;
    afx_pixbuf* closeImage;           // two 24 x 24 frames: at rest, highlighted
    int32_t dirty[4] = {0, 0, 0, 0};  // x, y, width, height; zero size: nothing

private:
    void setupButtons();
    bool trackButton(afx_push_button* button, int32_t x, int32_t y);
    void redrawIfDirty(afx_push_button* button);
};
