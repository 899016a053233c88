// MBXManager: the stack of live dialogs, the 640 x 480 page they draw into,
// and the forwarding of the dialog window's events to the dialog on top.
// One exists per dialog host; it lives and dies with the host.
#pragma once

#include <cstdint>

class MBXObject;
struct afx_context;
struct afx_pixbuf;

class MBXManager {
public:
    static constexpr int32_t kPageWidth = 640;
    static constexpr int32_t kPageHeight = 480;

    // Result codes a dialog finishes with.
    static constexpr int32_t kResultOk = -1;        // Ok, Enter, Escape
    static constexpr int32_t kResultClosed = 0;     // the close button
    static constexpr int32_t kResultOpenLink = -3;  // the About box's web address
    // What finish answers when the dialog should delete itself.
    static constexpr int32_t kDeleteDialog = -1;

    explicit MBXManager(afx_context* toolkit);
    // Deletes the dialogs still stacked and frees both surfaces.
    ~MBXManager();
    MBXManager(const MBXManager&) = delete;
    MBXManager& operator=(const MBXManager&) = delete;

    // From the dialog base: push puts a dialog on top (false when the stack
    // cannot grow); remove takes it out wherever it is, and the dialog then
    // on top is told it became top.
    bool push(MBXObject* dialog);
    void remove(MBXObject* dialog);

    // The window the page shows in (-1 none) and its zoom. Makes the page and
    // background surfaces when they do not exist yet and paints the background.
    // False when a surface cannot be made.
    bool setWindow(int32_t windowId, float scaleX, float scaleY);
    // The window is gone; the surfaces stay for the next one.
    void forgetWindow() { windowId = -1; }
    // Events and drawing reach the dialogs only while active. Either way
    // every stacked dialog is enabled or disabled to match; switching off
    // also deletes them all.
    void setActive(bool on);
    // Deletes every dialog from the top down, then clears the page.
    void closeAll();
    // Clears the page and draws the top dialog whole (while active).
    void drawTop();
    // Lets the top dialog draw what changed; true when it drew.
    bool tick(int32_t ms);
    // The page area to repaint, in page pixels, and forgets it: what the top
    // dialog reports, merged into what was gathered; the whole page when no
    // dialog is stacked. (0, 0, 0, 0) when nothing changed.
    void dirtyRectangle(int32_t* x, int32_t* y, int32_t* width, int32_t* height);
    // Dialogs whose isEnabled answers true.
    int32_t enabledCount() const;
    // A dialog ends with result: the code is kept in lastResult. The About
    // box's web address opens in the browser. Answers kDeleteDialog.
    int32_t finish(MBXObject* dialog, int32_t result);

    // Forwarders to the top dialog; false, doing nothing, unless active with a dialog.
    bool pointerDown(int32_t x, int32_t y, int32_t button, int32_t flags);
    bool pointerUp(int32_t x, int32_t y, int32_t button);
    bool doubleClick(int32_t x, int32_t y, int32_t button);
    bool pointerMove(int32_t x, int32_t y, float dx, float dy);
    // Virtual key codes; each named key has its own handler, the rest share one.
    bool keyDown(int32_t key);
    bool keyUp(int32_t key);
    bool text(const char* typed);

    afx_context* toolkit() const { return context; }
    int32_t window() const { return windowId; }
    int32_t pageWidth() const { return kPageWidth; }
    int32_t pageHeight() const { return kPageHeight; }
    afx_pixbuf* pageSurface() const { return page; }
    afx_pixbuf* backgroundSurface() const { return background; }
    bool isActive() const { return active != 0; }
    bool isRefreshPending() const { return refreshPending != 0; }
    void clearRefreshPending() { refreshPending = 0; }
    int32_t dialogCount() const { return count; }
    MBXObject* top() const { return count > 0 ? dialogs[count - 1] : nullptr; }
    int32_t lastResult() const { return lastResultCode; }

private:
    // Black with a grey dot every 16 pixels, all darkened to three quarters.
    void paintBackground();
    void clearPage();
    bool forwarding() const { return active && count > 0; }

    afx_context* context;
    afx_pixbuf* background = nullptr;
    afx_pixbuf* page = nullptr;
    MBXObject** dialogs = nullptr;  // the stack; the last entry is on top
    int32_t count = 0;
    int32_t capacity = 0;
    uint8_t active = 0;
    uint8_t refreshPending = 0;
    int32_t dirtyBox[4] = {0, 0, 0, 0};  // left, top, right, bottom; all zero: empty
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    int32_t windowId = -1;
    int32_t lastResultCode = 0;
};
