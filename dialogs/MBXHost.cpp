// The shared dialog host: the process-wide accessor, the dialog window's
// size, its callbacks and its repainting.
#include "dialogs/MBXHost.h"

#include <algorithm>
#include <new>

#include "afx/afx_context.h"
#include "afx/afx_dib.h"
#include "afx/afx_window.h"
#include "dialogs/MBXAboutMessage.h"
#include "dialogs/MBXManager.h"
#include "resources/korvex_identity.h"

namespace {

constexpr const char* kWindowTitle = KORVEX_DIALOG_TITLE;
constexpr int32_t kWindowIconId = 260;

// The page grows with the screen: 1.0 at 720 lines, 1.25 at 1080 lines (the
// largest desktop considered; larger ones are treated as 1920 x 1080).
constexpr int32_t kDesktopWidthCap = 1920;
constexpr int32_t kDesktopHeightCap = 1080;
constexpr float kBaseLines = 720.0f;
constexpr float kLinesPerStep = 360.0f;
constexpr float kGrowthPerStep = 0.25f;

}  // namespace

std::atomic<MBXHost*> MBXHost::shared{nullptr};

MBXHost* MBXHost::acquire() {
    if (MBXHost* host = shared.load()) {
        ++host->refCount;
        return host;
    }
    // Two editors may be made on different threads at once: only one of them
    // may create the host, the other must take a reference on it.
    afx_lock* lock = afx_process_lock(afx_context_get(false));
    afx_lock_enter(lock);
    MBXHost* host = shared.load();
    if (host) {
        ++host->refCount;
    } else {
        host = new (std::nothrow) MBXHost();
        shared.store(host);
    }
    afx_lock_leave(lock);
    return host;
}

MBXHost* MBXHost::current() { return shared.load(); }

void MBXHost::release() {
    if (--refCount > 0) return;
    MBXHost* self = this;
    shared.compare_exchange_strong(self, nullptr);
    delete this;
}

MBXHost::MBXHost()
    : toolkit(afx_context_get(false)),
      manager(new (std::nothrow) MBXManager(afx_context_get(false))) {}

MBXHost::~MBXHost() {
    close();
    if (windowSurface) afx_dib_free(toolkit, windowSurface);
    delete manager;
}

void MBXHost::computeSize() {
    int32_t w = 0, h = 0;
    afx_desktop_size(toolkit, &w, &h);
    if (w > kDesktopWidthCap) w = kDesktopWidthCap;
    if (h > kDesktopHeightCap) h = kDesktopHeightCap;
    const float scale = afx_dpi_scale(toolkit);
    float factor = 1.0f;
    if (h < w) {
        factor = (static_cast<float>(h) - kBaseLines) / kLinesPerStep * kGrowthPerStep + 1.0f;
    } else {
        // A square or portrait screen: the page at the screen's scale, made
        // smaller only as far as it takes to fit the work area, whose width
        // is what runs short at the larger scales.
        int32_t workWidth = 0, workHeight = 0;
        afx_work_area_size(toolkit, &workWidth, &workHeight);
        const float scaledWidth = static_cast<float>(MBXManager::kPageWidth) * scale;
        const float scaledHeight = static_cast<float>(MBXManager::kPageHeight) * scale;
        if (workWidth > 0 && workHeight > 0) {
            factor = std::min({factor, static_cast<float>(workWidth) / scaledWidth,
                               static_cast<float>(workHeight) / scaledHeight});
        }
    }
    zoom = factor * scale;
    windowWidth = static_cast<int32_t>(static_cast<float>(MBXManager::kPageWidth) * zoom + 0.5f);
    windowHeight = static_cast<int32_t>(static_cast<float>(MBXManager::kPageHeight) * zoom + 0.5f);
    offsetX = 0;
    offsetY = 0;
}

bool MBXHost::openWindow() {
    computeSize();
    windowId = afx_splash_new(toolkit, windowWidth, windowHeight, 1.0f, this);
    if (windowId < 0) return false;
    afx_window_set_title(toolkit, windowId, kWindowTitle);
    afx_window_track_moves(toolkit, windowId, true);
    afx_window_set_icon(toolkit, windowId, kWindowIconId);

    if (windowSurface) afx_dib_free(toolkit, windowSurface);
    windowSurface = afx_dib_new(toolkit, static_cast<uint32_t>(windowWidth),
                                static_cast<uint32_t>(windowHeight), windowId);
    if (!windowSurface || !manager->setWindow(windowId, zoom, zoom)) {
        afx_window_close(toolkit, windowId);
        windowId = -1;
        return false;
    }

    afx_window_on_paint(toolkit, windowId, &MBXHost::onPaint);
    afx_window_on_key_down(toolkit, windowId, &MBXHost::onKeyDown);
    afx_window_on_key_up(toolkit, windowId, &MBXHost::onKeyUp);
    afx_window_on_button_down(toolkit, windowId, &MBXHost::onButtonDown);
    afx_window_on_button_up(toolkit, windowId, &MBXHost::onButtonUp);
    afx_window_on_double_click(toolkit, windowId, &MBXHost::onDoubleClick);
    afx_window_on_move(toolkit, windowId, &MBXHost::onMove);
    afx_window_on_close_query(toolkit, windowId, &MBXHost::onCloseQuery);
    return true;
}

void MBXHost::openAbout() {
    if (showing || !toolkit || !manager) return;
    if (!openWindow()) return;
    afx_window_show(toolkit, windowId);
    manager->setActive(true);
    manager->closeAll();
    // Without memory for the box the window stays empty and closes at the
    // next event, as no enabled dialog is left.
    MBXAboutMessage* about = new (std::nothrow) MBXAboutMessage(*manager);
    if (about && manager->top() != about) delete about;  // the stack could not take it
    manager->drawTop();
    showing = 1;
}

void MBXHost::close() {
    if (!showing) return;
    manager->setActive(false);
    manager->closeAll();
    manager->forgetWindow();
    afx_cursor_restore(toolkit);
    afx_clear_focus(toolkit);
    afx_window_close(toolkit, windowId);
    windowId = -1;
    showing = 0;
}

void MBXHost::refresh() {
    manager->clearRefreshPending();
    if (!manager->isActive() || !windowSurface) return;
    manager->tick(0);
    int32_t x, y, w, h;
    manager->dirtyRectangle(&x, &y, &w, &h);
    if (w > 0 && h > 0) {
        const PageRect r = page().toWindow(x, y, w, h);
        afx_invalidate(toolkit, windowId, r.x, r.y, r.w, r.h);
    }
}

void MBXHost::afterEvent(bool changed, bool mayClose) {
    if (changed) refresh();
    if (mayClose && showing && manager->enabledCount() == 0) close();
}

void MBXHost::onPaint(int32_t x, int32_t y, int32_t w, int32_t h, int32_t, void* user) {
    MBXHost* host = static_cast<MBXHost*>(user);
    if (!host || !host->windowSurface || !host->manager->isActive()) return;
    afx_dib_scale_from(host->toolkit, host->manager->pageSurface(), host->windowSurface, x, y, w, h,
                       host->offsetX, host->offsetY, host->zoom);
    afx_present(host->toolkit, host->windowId, host->windowSurface, x, y, x, y, w, h);
}

void MBXHost::onButtonDown(int32_t x, int32_t y, int32_t button, int32_t index, void* user) {
    MBXHost* host = static_cast<MBXHost*>(user);
    if (!host) return;
    afx_capture(host->toolkit, index);
    afx_mouse_reset(host->toolkit, x, y);
    host->afterEvent(
        host->manager->pointerDown(host->page().toPageX(x), host->page().toPageY(y), button, 0),
        true);
}

void MBXHost::onButtonUp(int32_t x, int32_t y, int32_t button, int32_t, void* user) {
    MBXHost* host = static_cast<MBXHost*>(user);
    if (!host) return;
    afx_release_capture(host->toolkit);
    afx_mouse_reset(host->toolkit, x, y);
    host->afterEvent(
        host->manager->pointerUp(host->page().toPageX(x), host->page().toPageY(y), button), true);
}

void MBXHost::onDoubleClick(int32_t x, int32_t y, int32_t button, int32_t, void* user) {
    MBXHost* host = static_cast<MBXHost*>(user);
    if (!host) return;
    afx_mouse_reset(host->toolkit, x, y);
    host->afterEvent(
        host->manager->doubleClick(host->page().toPageX(x), host->page().toPageY(y), button), true);
}

void MBXHost::onMove(int32_t x, int32_t y, int32_t, void* user) {
    MBXHost* host = static_cast<MBXHost*>(user);
    if (!host) return;
    const float dx = host->page().toPageTravel(afx_mouse_dx(host->toolkit, x));
    const float dy = host->page().toPageTravel(afx_mouse_dy(host->toolkit, y));
    host->afterEvent(
        host->manager->pointerMove(host->page().toPageX(x), host->page().toPageY(y), dx, dy),
        false);
}

void MBXHost::onKeyDown(int32_t, int32_t key, int32_t, int32_t, void* user) {
    MBXHost* host = static_cast<MBXHost*>(user);
    if (!host) return;
    host->afterEvent(host->manager->keyDown(key), true);
}

void MBXHost::onKeyUp(int32_t, int32_t key, int32_t, int32_t, void* user) {
    MBXHost* host = static_cast<MBXHost*>(user);
    if (!host) return;
    host->afterEvent(host->manager->keyUp(key), true);
}

bool MBXHost::onCloseQuery(int32_t, void* user) {
    // The window is closed here; answering false keeps the toolkit from
    // destroying it a second time.
    if (MBXHost* host = static_cast<MBXHost*>(user)) host->close();
    return false;
}
