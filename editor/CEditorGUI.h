// CEditorGUI: the plug-in's editor. One vertical panel of 144 x 538 logical
// pixels with seven knobs, two slide switches, the Effect button, the
// overload lamp, four picture buttons and a one-line read-out, drawn by the
// toolkit into a panel pixbuf that is scaled into a child window of the
// host's window. It talks to the plug-in only through the frame's effect
// interface; the plug-in talks to it through EditorLink.
//
// Threads: everything runs on the window's thread except parameterChanged
// and setHostBypassed, which the host's automation and audio threads may
// call. Those two only store atomics (the parameters through
// ParameterHandoff); the window thread moves what they stored into the
// controls before it handles any input, at opening, and on the 40 ms timer,
// which also draws.
#pragma once

#include <atomic>
#include <cstdint>

#include "dialogs/PageMapping.h"
#include "editor/EditorLink.h"
#include "editor/ParameterHandoff.h"
#include "params/ParameterTable.h"

class AudioEffectX;
class MBXHost;
struct afx_context;
struct afx_dib;
struct afx_filmstrip;
struct afx_image;
struct afx_knob;
struct afx_lcd;
struct afx_led;
struct afx_lock;
struct afx_pixbuf;
struct afx_switch;
struct afx_toggle_button;

namespace ZEPHRA2F9C41D07 {

class CEditorGUI : public EditorLink {
public:
    // Reads the display scale once; takes a reference on the dialog host.
    explicit CEditorGUI(AudioEffectX* effect);
    ~CEditorGUI() override;

    // Stores the address of rect (0, 0, height, width in device pixels)
    // through rect; answers false (the dispatcher answers the host itself).
    bool getRect(ERect** rect) override;
    // Opens the window inside the host's parent; false always. A second
    // open without close does nothing.
    bool open(void* parentWindow) override;
    // Destroys the window; controls, pictures and the panel stay.
    void close() override;
    // Applies the host's knob mode (0 circular, 1 relative, 2 linear) to all
    // seven knobs and names it on the read-out when nothing fresh shows. True.
    bool setKnobMode(VstInt32 mode) override;

    // EditorLink: what the plug-in tells its editor.
    void parameterChanged(VstInt32 index, float value) override;
    void programChanged(VstInt32 index) override;
    void setHostBypassed(float gate) override;
    void setTitle(const char* text) override;
    void querySize(float rect[4]) override;
    bool restoreSize(const float rect[4]) override;

    // Read-only views for tests and tools.
    int32_t windowIndex() const { return windowId; }
    bool windowOpen() const { return isWindowOpen != 0; }
    int32_t windowWidth() const { return width; }
    int32_t windowHeight() const { return height; }
    int32_t panelLeft() const { return panelX; }
    float panelZoom() const { return zoom; }
    float displayScale() const { return dpiScale; }
    int32_t knobModeValue() const { return knobMode; }
    int32_t messageTicksLeft() const { return messageTicks; }
    bool programNameShowing() const { return showingProgramName != 0; }
    const char* messageText() const { return message; }
    // What the read-out shows now (empty before the first open).
    const char* displayedText() const { return displayText; }
    const char* titleText() const { return title; }
    // Knob value (0..100) of parameter 0..6; -1 before the first open.
    float knobValue(int32_t parameter) const;
    // Drag mode of the knob of parameter 0..6; the editor's knob mode before the first open.
    uint32_t knobDragMode(int32_t parameter) const;
    // State of the Wet-Only (7), Mute (8) or Effect (9) control; false before the first open.
    bool switchOn(int32_t parameter) const;
    bool overloadLit() const;
    // The 144 x 538 panel the controls draw into; null before the first open.
    const afx_pixbuf* panel() const { return panelSurface; }

private:
    // Control roles, in the order the timer redraws them.
    enum Role : int32_t {
        kRoleKnob0 = 0,  // knobs for parameters 0..6 take roles 0..6
        kRoleWetOnly = kWetOnly,
        kRoleMute = kMute,
        kRoleEffect = kEffect,
        kRoleLamp = kOverload,
        kRoleDisplay = 11,
        kRoleCount = 12,
    };
    enum Picture : int32_t { kInfo = 0, kPrevious, kNext, kNamePlate, kPictureCount };
    static constexpr int32_t kKnobCount = kNumKnobParameters;

    AudioEffectX* plugin() const;

    // Lifecycle (CEditorGUI.cpp).
    bool buildWindowSurface();
    void buildSurfaces();
    void registerCallbacks();
    void closeDialog();
    void onPaint(int32_t x, int32_t y, int32_t w, int32_t h);
    void onTimer();
    void invalidatePanelRect(int32_t x, int32_t y, int32_t w, int32_t h);
    void markStale(int32_t x, int32_t y, int32_t w, int32_t h);
    void rescaleStale(int32_t x, int32_t y, int32_t w, int32_t h);

    // Controls and their layout (CEditorGUILayout.cpp).
    bool createControls();
    void configureControls();
    void drawAllControls();
    void freeControls();
    void redrawControl(int32_t role);
    void redrawPicture(int32_t picture);
    void markDirty(int32_t role);
    bool controlDirty(int32_t role) const;

    // The parameter link and the read-out (CEditorGUIText.cpp).
    void takePendingChanges();
    void writeValueText(int32_t index, float value);
    void writeMessage(const char* text);
    void putOnDisplay();
    void showMessage();
    void greetWithVersion();
    void stepProgram(int32_t step);
    void runMessageTimetable();

    // Sizes: the host's, the grip's and the default (CEditorGUISize.cpp).
    bool applySize(const ERect& wanted);
    void resizeHost(int32_t oldWidth, int32_t oldHeight, int32_t newWidth, int32_t newHeight);
    void startResizeDrag();
    void followResizeDrag(float dx, float dyUp);
    void endResizeDrag();
    void resizeToDrag();
    void resizeToDefault();
    float zoomFor(int32_t w, int32_t h) const;
    void centrePanel();

    // Pointer and key handling (CEditorGUIInput.cpp). Each handler first
    // takes the changes the plug-in reported since the last look.
    PageMapping panelMapping() const { return {zoom, panelX, panelY}; }
    void onButtonDown(int32_t x, int32_t y, int32_t button);
    void onLeftPress(int32_t x, int32_t y);
    void pressKnobs(int32_t px, int32_t py);
    void pressSwitches(int32_t px, int32_t py);
    void onWheelStep(int32_t x, int32_t y, int32_t notches);
    void onMove(int32_t x, int32_t y);
    void onButtonUp(int32_t x, int32_t y);
    void onDoubleClick(int32_t x, int32_t y);
    void onKey();
    void automate(int32_t index, float value);
    void endEdits();
    void endAbandonedGesture();

    // Window callbacks: recover the editor from the user pointer.
    static void paintThunk(int32_t x, int32_t y, int32_t w, int32_t h, int32_t index, void* user);
    static void buttonDownThunk(int32_t x, int32_t y, int32_t button, int32_t index, void* user);
    static void buttonUpThunk(int32_t x, int32_t y, int32_t button, int32_t index, void* user);
    static void moveThunk(int32_t x, int32_t y, int32_t index, void* user);
    static void doubleClickThunk(int32_t x, int32_t y, int32_t button, int32_t index, void* user);
    static void keyThunk(int32_t zero, int32_t key, int32_t pressed, int32_t index, void* user);
    static void timerThunk(void* user);

    ERect rect{};
    int32_t windowId = -1;
    void* parentWindow = nullptr;
    std::atomic<int32_t> needsRedraw{0};
    uint8_t isWindowOpen = 0;
    int32_t messageTicks = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t panelX = 0;
    int32_t panelY = 0;
    uint32_t resizeMoveCount = 0;
    int32_t knobMode = 1;  // Relative
    uint8_t showingProgramName = 0;
    uint8_t resizing = 0;
    std::atomic<uint8_t> hostBypassed{0};
    std::atomic<uint8_t> repaintAll{0};
    int32_t currentProgram = 0;
    float zoom = 0.0f;
    float dpiScale = 1.0f;
    float dragWidth = 0.0f;
    float dragHeight = 0.0f;
    ParameterHandoff paramMirror;  // the last value of each parameter and what changed
    afx_dib* windowSurface = nullptr;
    afx_pixbuf* panelSurface = nullptr;

    // Controls, created at the first open and kept until destruction.
    afx_image* background = nullptr;
    afx_knob* knobs[kKnobCount] = {};
    afx_switch* wetOnlySwitch = nullptr;
    afx_switch* muteSwitch = nullptr;
    afx_toggle_button* effectButton = nullptr;
    afx_led* overloadLamp = nullptr;
    afx_filmstrip* pictures[kPictureCount] = {};
    afx_lcd* messageDisplay = nullptr;
    // Pictures (pixel-data resources 128, 134, 131, 132, 198), loaded at the first open.
    afx_pixbuf* panelImage = nullptr;
    afx_pixbuf* pictureImages[kPictureCount] = {};

    char title[256] = {};
    char message[128] = {};
    afx_lock* surfaceLock = nullptr;

    // Beyond the fields every editor of this kind keeps: the read-out's own
    // dirty flag and text, the dialog host.
    uint8_t controlsReady = 0;  // every control allocated and initialised
    uint8_t displayDirty = 0;
    uint8_t pictureDirty[kPictureCount] = {};
    char displayText[128] = {};
    // Window rectangles whose panel pixels changed since they were last
    // resampled into windowSurface. A paint resamples only these (the rest of
    // the surface still shows the panel as it is) and presents its whole
    // update rectangle. Past kMaxStale rectangles, or after the surface was
    // rebuilt, everything counts as stale.
    struct StaleRect {
        int32_t x, y, w, h;
    };
    static constexpr int32_t kMaxStale = 16;
    StaleRect staleRects[kMaxStale] = {};
    int32_t staleCount = 0;
    uint8_t allStale = 1;
    afx_context* context = nullptr;
    MBXHost* dialogHost = nullptr;
};

}  // namespace ZEPHRA2F9C41D07
