// The editor's window size: what the host stores and restores, the grip's
// drag with its limits, the double click back to the default size, and the
// zoom and place of the panel in a window of any size.
#include "editor/CEditorGUI.h"

#include <algorithm>
#include <limits>

#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "editor/PanelLayout.h"
#include "frame/AudioEffectX.h"

namespace ZEPHRA2F9C41D07 {

namespace {

int32_t rounded(float value) { return static_cast<int32_t>(value + 0.5f); }

// A stored size comes from the host's chunk, whatever it holds: a size that
// is not a number, or is negative, counts as none (the minimums apply). The
// only upper bound is the host's: the rectangle it is given holds 16-bit
// values.
constexpr float kMaxRestoredPixels = static_cast<float>(std::numeric_limits<VstInt16>::max());
int32_t restoredPixels(float logical, float scale) {
    const float device = logical * scale;
    if (!(device > 0.0f)) return 0;  // NaN included
    return rounded(device < kMaxRestoredPixels ? device : kMaxRestoredPixels);
}

}  // namespace

void CEditorGUI::querySize(float size[4]) {
    size[0] = 0.0f;
    size[1] = static_cast<float>(width) / dpiScale;
    size[2] = 0.0f;
    size[3] = static_cast<float>(height) / dpiScale;
}

bool CEditorGUI::restoreSize(const float size[4]) {
    const int32_t oldWidth = width, oldHeight = height;
    ERect wanted{};
    wanted.right = static_cast<VstInt16>(restoredPixels(size[1] - size[0], dpiScale));
    wanted.bottom = static_cast<VstInt16>(restoredPixels(size[3] - size[2], dpiScale));
    applySize(wanted);
    resizeHost(oldWidth, oldHeight, width, height);
    return true;
}

// The panel grows with the window as far as the tighter of its two ratios to
// the smallest window allows, and never below its own size.
float CEditorGUI::zoomFor(int32_t w, int32_t h) const {
    const float across = static_cast<float>(w) / (dpiScale * kMinWindowWidth);
    const float down = static_cast<float>(h) / (dpiScale * kMinWindowHeight);
    return dpiScale * std::min(std::max(1.0f, across), std::max(1.0f, down));
}

// The zoomed panel hangs from the top of the window, centred across it.
void CEditorGUI::centrePanel() {
    panelY = 0;
    panelX = (width - static_cast<int32_t>(zoom * static_cast<float>(kPanelLayout.panel.w))) >> 1;
}

bool CEditorGUI::applySize(const ERect& wanted) {
    int32_t w = wanted.right - wanted.left;
    int32_t h = wanted.bottom - wanted.top;
    if (w == width && h == height) return true;
    w = std::max(w, rounded(dpiScale * kMinWindowWidth));
    h = std::max(h, rounded(dpiScale * kMinWindowHeight));
    zoom = zoomFor(w, h);
    width = w;
    height = h;
    centrePanel();
    // The size travels in the program records, not as automation.
    plugin()->setParameter(kEditorWidth, static_cast<float>(w) / dpiScale);
    plugin()->setParameter(kEditorHeight, static_cast<float>(h) / dpiScale);
    if (context && windowSurface && isWindowOpen) {
        afx_lock_enter(surfaceLock);
        afx_window_resize(context, windowId, w, h);
        buildWindowSurface();
        afx_lock_leave(surfaceLock);
        afx_invalidate(context, windowId, 0, 0, w, h);
    }
    return true;
}

void CEditorGUI::resizeHost(int32_t oldWidth, int32_t oldHeight, int32_t newWidth,
                            int32_t newHeight) {
    int32_t outerWidth = 0, outerHeight = 0;
    if (parentWindow && afx_native_window_size(parentWindow, &outerWidth, &outerHeight)) {
        afx_native_window_resize(parentWindow, outerWidth + newWidth - oldWidth,
                                 outerHeight + newHeight - oldHeight);
    }
    plugin()->sizeWindow(newWidth, newHeight);
}

void CEditorGUI::startResizeDrag() {
    resizing = 1;
    resizeMoveCount = 0;
    dragWidth = static_cast<float>(width);
    dragHeight = static_cast<float>(height);
    afx_cursor_resize(context, true);
    afx_capture(context, windowId);
}

// Pointer travel in window pixels, up positive for dyUp.
void CEditorGUI::followResizeDrag(float dx, float dyUp) {
    dragWidth += dx;
    dragHeight -= dyUp;  // the window grows downwards
    ++resizeMoveCount;
    // Rebuilding the window on every second move is enough to follow the pointer.
    if (resizeMoveCount & 2u) {
        resizeToDrag();
        resizeMoveCount = 0;
    }
}

// Applies the dragged size within the drag limits.
void CEditorGUI::resizeToDrag() {
    const int32_t oldWidth = width, oldHeight = height;
    ERect wanted{};
    wanted.right = static_cast<VstInt16>(
        std::min(std::max(rounded(dragWidth), rounded(kMinWindowWidth * dpiScale)),
                 rounded(kMaxDragWidth * dpiScale)));
    wanted.bottom = static_cast<VstInt16>(
        std::min(std::max(rounded(dragHeight), rounded(kMinWindowHeight * dpiScale)),
                 rounded(kMaxDragHeight * dpiScale)));
    applySize(wanted);
    resizeHost(oldWidth, oldHeight, width, height);
}

void CEditorGUI::endResizeDrag() {
    if (!resizing) return;
    resizing = 0;
    resizeToDrag();
    afx_cursor_resize(context, false);
}

void CEditorGUI::resizeToDefault() {
    const int32_t oldWidth = width, oldHeight = height;
    dragWidth = kDefaultWindowWidth * dpiScale;
    dragHeight = kDefaultWindowHeight * dpiScale;
    ERect wanted{};
    wanted.right = static_cast<VstInt16>(rounded(dragWidth));
    wanted.bottom = static_cast<VstInt16>(rounded(dragHeight));
    applySize(wanted);
    resizeHost(oldWidth, oldHeight, width, height);
}

}  // namespace ZEPHRA2F9C41D07
