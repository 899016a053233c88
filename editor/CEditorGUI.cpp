// The editor's life: construction, the host's editor calls, the window and
// its surfaces, painting at any zoom and the 40 ms refresh timer.
#include "editor/CEditorGUI.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "afx/afx_context.h"
#include "afx/afx_dib.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_window.h"
#include "dialogs/MBXHost.h"
#include "editor/PanelLayout.h"
#include "frame/AudioEffectX.h"

namespace ZEPHRA2F9C41D07 {

namespace {

constexpr int32_t kIconId = 200;
constexpr uint32_t kTimerMs = 40;
constexpr uint32_t kSurround = 112;  // grey of the dotted surround

int32_t roundedPixels(float value) { return static_cast<int32_t>(value + 0.5f); }

// The window is owned by the host through effEditOpen/effEditClose; a close
// request from the system never ends it on its own.
bool keepWindow(int32_t, void*) { return false; }
void ignoreDrop(const char*, int32_t, void*, afx_context*) {}

}  // namespace

CEditorGUI::CEditorGUI(AudioEffectX* effect) : EditorLink(effect) {
    context = afx_context_get(false);
    dpiScale = context ? afx_dpi_scale(context) : 1.0f;
    dragWidth = dpiScale * static_cast<float>(kDefaultWindowWidth);
    dragHeight = dpiScale * static_cast<float>(kDefaultWindowHeight);
    width = roundedPixels(dragWidth);
    height = roundedPixels(dragHeight);
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<VstInt16>(height);
    rect.right = static_cast<VstInt16>(width);
    std::snprintf(title, sizeof(title), "%s", "KORVEX52 Stereo Reverb");
    writeMessage(nullptr);  // the version text
    surfaceLock = afx_lock_new();
    dialogHost = MBXHost::acquire();
}

CEditorGUI::~CEditorGUI() {
    if (isWindowOpen && context) {
        isWindowOpen = 0;
        afx_window_close(context, windowId);
    }
    freeControls();
    afx_dib_free(context, windowSurface);
    windowSurface = nullptr;
    afx_pixbuf_free(context, panelSurface);
    panelSurface = nullptr;
    closeDialog();
    if (dialogHost) dialogHost->release();
    dialogHost = nullptr;
    afx_lock_free(surfaceLock);
    surfaceLock = nullptr;
}

AudioEffectX* CEditorGUI::plugin() const { return static_cast<AudioEffectX*>(effect); }

bool CEditorGUI::getRect(ERect** where) {
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<VstInt16>(height);
    rect.right = static_cast<VstInt16>(width);
    if (where) *where = &rect;
    return false;
}

bool CEditorGUI::open(void* parent) {
    if (isWindowOpen) return false;
    context = afx_context_get(false);
    if (!context) return false;
    parentWindow = parent;
    if (zoom < 1.0f) zoom = zoomFor(width, height);  // the first opening
    centrePanel();

    windowId = afx_window_new(context, width, height, 1.0f, parentWindow, this);
    if (windowId < 0) return false;
    afx_window_set_icon(context, windowId, kIconId);
    afx_window_set_title(context, windowId, title);
    afx_window_accept_files(context, windowId);

    if (!createControls()) {
        // Nothing of the editor can show: give the host back an empty area.
        afx_window_close(context, windowId);
        windowId = -1;
        return false;
    }
    configureControls();
    buildSurfaces();

    afx_set_window_timer_period(context, kTimerMs);
    registerCallbacks();
    afx_window_show(context, windowId);
    isWindowOpen = 1;
    return false;
}

void CEditorGUI::registerCallbacks() {
    afx_window_on_paint(context, windowId, paintThunk);
    afx_window_on_button_down(context, windowId, buttonDownThunk);
    afx_window_on_button_up(context, windowId, buttonUpThunk);
    afx_window_on_move(context, windowId, moveThunk);
    afx_window_on_double_click(context, windowId, doubleClickThunk);
    afx_window_on_close_query(context, windowId, keepWindow);
    afx_window_on_key_down(context, windowId, keyThunk);
    afx_window_on_key_up(context, windowId, keyThunk);
    afx_window_on_drop_file(context, windowId, ignoreDrop);
    afx_window_on_timer(context, windowId, timerThunk);  // starts the 40 ms timer
}

void CEditorGUI::close() {
    if (!isWindowOpen) return;
    endAbandonedGesture();
    isWindowOpen = 0;
    if (resizing) {
        resizing = 0;
        afx_cursor_resize(context, false);
    }
    afx_window_close(context, windowId);
    // The window's bitmap belongs to the window that is gone; the next open
    // builds a new one for its own window.
    afx_lock_enter(surfaceLock);
    afx_dib_free(context, windowSurface);
    windowSurface = nullptr;
    afx_lock_leave(surfaceLock);
    closeDialog();
}

void CEditorGUI::closeDialog() {
    if (dialogHost && dialogHost->isShowing()) dialogHost->close();
}

void CEditorGUI::setTitle(const char* text) {
    if (!text) return;
    std::snprintf(title, sizeof(title), "%.255s", text);
}

void CEditorGUI::setHostBypassed(float gate) {
    // The host may bypass from its audio thread: three atomic stores, no more.
    hostBypassed.store(gateBypasses(gate) ? 1 : 0);
    repaintAll.store(1);
    needsRedraw.store(1);
}

// Under surfaceLock: the dotted surround with the resize grip, window-sized.
bool CEditorGUI::buildWindowSurface() {
    allStale = 1;
    afx_dib_free(context, windowSurface);
    windowSurface = afx_dib_new_pattern(
        context, static_cast<uint32_t>(width), static_cast<uint32_t>(height), kSurround, kSurround,
        kSurround, static_cast<int32_t>(20.0f * dpiScale), static_cast<int32_t>(dpiScale),
        static_cast<int32_t>(8.0f * dpiScale), static_cast<int32_t>(dpiScale), windowId);
    return windowSurface != nullptr;
}

void CEditorGUI::buildSurfaces() {
    afx_lock_enter(surfaceLock);
    buildWindowSurface();
    afx_lock_leave(surfaceLock);
    if (!panelSurface) {
        panelSurface = afx_pixbuf_new(context, static_cast<uint32_t>(kPanelLayout.panel.w),
                                      static_cast<uint32_t>(kPanelLayout.panel.h));
    }
    drawAllControls();
}

void CEditorGUI::onPaint(int32_t x, int32_t y, int32_t w, int32_t h) {
    afx_lock_enter(surfaceLock);
    if (windowSurface) {
        rescaleStale(x, y, w, h);
        if (hostBypassed.load()) {
            afx_present_striped(context, windowId, windowSurface, x, y, x, y, w, h, dpiScale);
        } else {
            afx_present(context, windowId, windowSurface, x, y, x, y, w, h);
        }
    }
    afx_lock_leave(surfaceLock);
}

// Resamples the stale parts of the panel that fall into the update
// rectangle (x, y, w, h). The surface is kept between paints, so what did
// not change needs no resampling: a knob turned at zoom 2 costs its own box,
// not the box around it and the read-out.
void CEditorGUI::rescaleStale(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!panelSurface) return;
    if (allStale) {
        afx_dib_scale_from(context, panelSurface, windowSurface, x, y, w, h, panelX, panelY, zoom);
        // Only a paint of the whole window leaves nothing stale behind.
        if (x <= 0 && y <= 0 && x + w >= width && y + h >= height) {
            allStale = 0;
            staleCount = 0;
        }
        return;
    }
    int32_t kept = 0;
    for (int32_t i = 0; i < staleCount; ++i) {
        const StaleRect r = staleRects[i];
        const int32_t left = std::max(r.x, x), top = std::max(r.y, y);
        const int32_t right = std::min(r.x + r.w, x + w), bottom = std::min(r.y + r.h, y + h);
        if (right > left && bottom > top) {
            afx_dib_scale_from(context, panelSurface, windowSurface, left, top, right - left,
                               bottom - top, panelX, panelY, zoom);
        }
        const bool inside = r.x >= x && r.y >= y && r.x + r.w <= x + w && r.y + r.h <= y + h;
        if (!inside) staleRects[kept++] = r;  // the rest comes with a later paint
    }
    staleCount = kept;
}

void CEditorGUI::markStale(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (allStale) return;
    if (staleCount == kMaxStale) {
        allStale = 1;
        return;
    }
    staleRects[staleCount++] = {x, y, w, h};
}

void CEditorGUI::onTimer() {
    if (messageTicks != 0) {
        --messageTicks;
        runMessageTimetable();
    }
    if (repaintAll.exchange(0)) {
        allStale = 1;
        afx_invalidate(context, windowId, 0, 0, width, height);
    }
    if (needsRedraw.exchange(0)) {
        takePendingChanges();
        for (int32_t role = 0; role < kRoleCount; ++role) {
            if (controlDirty(role)) redrawControl(role);
        }
        // The picture buttons are drawn by their handlers; one the timetable
        // put back to rest is drawn here.
        for (int32_t picture = 0; picture < kPictureCount; ++picture) {
            if (pictureDirty[picture]) redrawPicture(picture);
        }
    }
}

// Maps a rectangle of the panel to the window and marks it for painting.
void CEditorGUI::invalidatePanelRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    const PageRect r = panelMapping().toWindow(x, y, w, h);
    markStale(r.x, r.y, r.w, r.h);
    afx_invalidate(context, windowId, r.x, r.y, r.w, r.h);
}

// ---- Window callbacks -------------------------------------------------------

void CEditorGUI::paintThunk(int32_t x, int32_t y, int32_t w, int32_t h, int32_t, void* user) {
    if (user) static_cast<CEditorGUI*>(user)->onPaint(x, y, w, h);
}

void CEditorGUI::buttonDownThunk(int32_t x, int32_t y, int32_t button, int32_t, void* user) {
    if (user) static_cast<CEditorGUI*>(user)->onButtonDown(x, y, button);
}

void CEditorGUI::buttonUpThunk(int32_t x, int32_t y, int32_t, int32_t, void* user) {
    if (user) static_cast<CEditorGUI*>(user)->onButtonUp(x, y);
}

void CEditorGUI::moveThunk(int32_t x, int32_t y, int32_t, void* user) {
    if (user) static_cast<CEditorGUI*>(user)->onMove(x, y);
}

void CEditorGUI::doubleClickThunk(int32_t x, int32_t y, int32_t, int32_t, void* user) {
    if (user) static_cast<CEditorGUI*>(user)->onDoubleClick(x, y);
}

void CEditorGUI::keyThunk(int32_t, int32_t, int32_t, int32_t, void* user) {
    if (user) static_cast<CEditorGUI*>(user)->onKey();
}

void CEditorGUI::timerThunk(void* user) {
    if (user) static_cast<CEditorGUI*>(user)->onTimer();
}

}  // namespace ZEPHRA2F9C41D07
