// MBXHost: the library's one dialog host. Every editor holds a reference;
// the host owns the frameless dialog window (the About box) that any editor
// can open and that a press in any editor closes. The window shows the
// dialogs' 640 x 480 page scaled to the screen, forwards its pointer and key
// events to the dialog on top, and closes itself when no dialog is left.
#pragma once

#include <atomic>
#include <cstdint>

#include "dialogs/PageMapping.h"

class MBXManager;
struct afx_context;
struct afx_dib;

class MBXHost {
public:
    // Takes one reference on the host, creating it (reference count 1) under
    // the process-wide lock when none exists. Null when it cannot be made.
    static MBXHost* acquire();
    // The current host without taking a reference or locking; null when none.
    static MBXHost* current();

    // Gives back one reference; the last one closes the window and frees the host.
    void release();

    // Opens the dialog window with the About box; nothing while one shows.
    void openAbout();
    // Closes the dialog window if it shows.
    void close();
    bool isShowing() const { return showing != 0; }

    // The dialog window's toolkit index (-1 when none), its size in device
    // pixels, and the page-to-window zoom (screen scale included).
    int32_t window() const { return windowId; }
    int32_t width() const { return windowWidth; }
    int32_t height() const { return windowHeight; }
    float pageZoom() const { return zoom; }
    // The dialogs shown in the window; null when it could not be made.
    MBXManager* dialogs() const { return manager; }

private:
    MBXHost();
    ~MBXHost();
    MBXHost(const MBXHost&) = delete;
    MBXHost& operator=(const MBXHost&) = delete;

    // Window size from the desktop, its work area and the screen's scale.
    void computeSize();
    // Creates the window, its bitmap and the page, and registers the callbacks.
    bool openWindow();
    // Lets the top dialog draw and invalidates what changed.
    void refresh();
    // After an event: a handler's true refreshes; no enabled dialog closes.
    void afterEvent(bool changed, bool mayClose);
    // Where the page lies in the window and at what zoom.
    PageMapping page() const { return {zoom, offsetX, offsetY}; }

    // Window callbacks; user is the host.
    static void onPaint(int32_t x, int32_t y, int32_t w, int32_t h, int32_t index, void* user);
    static void onButtonDown(int32_t x, int32_t y, int32_t button, int32_t index, void* user);
    static void onButtonUp(int32_t x, int32_t y, int32_t button, int32_t index, void* user);
    static void onDoubleClick(int32_t x, int32_t y, int32_t button, int32_t index, void* user);
    static void onMove(int32_t x, int32_t y, int32_t index, void* user);
    static void onKeyDown(int32_t zero, int32_t key, int32_t pressed, int32_t index, void* user);
    static void onKeyUp(int32_t zero, int32_t key, int32_t pressed, int32_t index, void* user);
    static bool onCloseQuery(int32_t index, void* user);

    static std::atomic<MBXHost*> shared;

    // Editors may be made on several threads at once: counted atomically.
    std::atomic<int32_t> refCount{1};
    afx_dib* windowSurface = nullptr;
    afx_context* toolkit;
    int32_t windowId = -1;
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    int32_t offsetX = 0;
    int32_t offsetY = 0;
    uint8_t showing = 0;
    float zoom = 1.0f;
    MBXManager* manager;
};
