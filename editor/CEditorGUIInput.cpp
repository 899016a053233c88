// Pointer handling: presses, wheel steps, drags, releases and double clicks
// on the panel's controls become begin/set/end edits and program steps on
// the plug-in; a press in the bottom-right corner drags the window's size.
// Every handler first takes the parameter changes the plug-in reported
// since the last look, so a gesture starts from the host's latest values
// even when they came after the last tick of the timer.
#include "editor/CEditorGUI.h"

#include <algorithm>
#include <cmath>

#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "afx/widgets/afx_filmstrip.h"
#include "afx/widgets/afx_knob.h"
#include "afx/widgets/afx_switch.h"
#include "afx/widgets/afx_toggle_button.h"
#include "dialogs/MBXHost.h"
#include "frame/AudioEffectX.h"

namespace ZEPHRA2F9C41D07 {

namespace {

enum : int32_t { kLeft = 0, kRight = 1, kWheelUp = 2, kWheelDown = 3 };
constexpr int32_t kGripPixels = 20;  // window pixels from the bottom-right corner
constexpr int32_t kDetentKnobs[4] = {kInTrim, kWidth, kMix, kOutTrim};
// Ended on every release: the knobs without a detent and the switches.
constexpr int32_t kPlainEdits[6] = {kRT60, kDamping, kPreDelay, kWetOnly, kMute, kEffect};
constexpr int32_t kDoubleClickOrder[kNumKnobParameters] = {kInTrim, kPreDelay, kRT60,   kDamping,
                                                           kMix,    kWidth,    kOutTrim};

}  // namespace

// The editor's own edit: the plug-in reports it back through
// parameterChanged at once, on this thread; the controls take it now and
// the read-out gets the parameter's text.
void CEditorGUI::automate(int32_t index, float value) {
    plugin()->setParameterAutomated(index, value);
    takePendingChanges();
    writeValueText(index, value);
}

void CEditorGUI::onButtonDown(int32_t x, int32_t y, int32_t button) {
    closeDialog();
    if (!controlsReady) return;
    takePendingChanges();
    if (button == kLeft) onLeftPress(x, y);
    else if (button == kWheelUp) onWheelStep(x, y, 1);
    else if (button == kWheelDown) onWheelStep(x, y, -1);
}

void CEditorGUI::onLeftPress(int32_t x, int32_t y) {
    const int32_t px = panelMapping().toPageX(x), py = panelMapping().toPageY(y);
    afx_capture(context, windowId);
    pressKnobs(px, py);
    pressSwitches(px, py);
    for (int32_t picture : {kInfo, kNamePlate, kPrevious, kNext}) {
        if (!afx_filmstrip_hit(pictures[picture], px, py)) continue;
        afx_filmstrip_set_pressed(pictures[picture], true);
        afx_filmstrip_set_value(pictures[picture], 100.0f);
        redrawPicture(picture);
    }
    if (x > width - kGripPixels && y > height - kGripPixels) startResizeDrag();
    afx_mouse_reset(context, x, y);
}

// A knob that takes the press begins its edit; in Circular mode the press
// may have turned it, and that value is sent at once.
void CEditorGUI::pressKnobs(int32_t px, int32_t py) {
    const float fx = static_cast<float>(px), fy = static_cast<float>(py);
    for (int32_t i = 0; i < kKnobCount; ++i) {
        afx_knob* knob = knobs[i];
        if (!afx_knob_press(knob, fx, fy)) continue;
        plugin()->beginEdit(i);
        afx_knob_set_dragging(knob, true);
        if (afx_knob_get_mode(knob) == kAfxKnobCircular) {
            automate(i, afx_knob_get_value(knob) / 100.0f);
            redrawControl(i);
        }
        // What the knob shows: a host value beyond the knob's travel reads as its end.
        writeValueText(i, afx_knob_get_value(knob) / 100.0f);
        showMessage();
    }
}

// The two switches and the Effect button toggle on the press itself.
void CEditorGUI::pressSwitches(int32_t px, int32_t py) {
    for (int32_t i = kWetOnly; i <= kEffect; ++i) {
        bool on = false;
        if (i == kEffect) {
            if (!afx_toggle_button_hit(effectButton, px, py)) continue;
            afx_toggle_button_set_pressed(effectButton, true);
            afx_toggle_button_toggle(effectButton);
            on = afx_toggle_button_is_on(effectButton);
        } else {
            afx_switch* sw = i == kWetOnly ? wetOnlySwitch : muteSwitch;
            if (!afx_switch_hit(sw, px, py)) continue;
            afx_switch_set_pressed(sw, true);
            afx_switch_toggle(sw);
            on = afx_switch_is_on(sw);
        }
        plugin()->beginEdit(i);
        automate(i, on ? 1.0f : 0.0f);
        showMessage();
        redrawControl(i);
    }
}

void CEditorGUI::onWheelStep(int32_t x, int32_t y, int32_t notches) {
    const int32_t px = panelMapping().toPageX(x), py = panelMapping().toPageY(y);
    for (int32_t i = 0; i < kKnobCount; ++i) {
        afx_knob* knob = knobs[i];
        if (!afx_knob_hit(knob, static_cast<float>(px), static_cast<float>(py))) continue;
        plugin()->beginEdit(i);
        afx_knob_set_dragging(knob, true);
        afx_knob_step(knob, notches);
        automate(i, afx_knob_get_value(knob) / 100.0f);
        showMessage();
        redrawControl(i);
        plugin()->endEdit(i);
    }
}

void CEditorGUI::onMove(int32_t x, int32_t y) {
    if (!controlsReady) return;
    takePendingChanges();
    // Travel since the last event in window pixels, up positive for dy.
    const float dx = afx_mouse_dx(context, x);
    const float dyUp = afx_mouse_dy(context, y);
    for (int32_t i = 0; i < kKnobCount; ++i) {
        afx_knob* knob = knobs[i];
        if (!afx_knob_is_dragging(knob)) continue;
        afx_knob_drag(knob, panelMapping().toPageTravel(dx), panelMapping().toPageTravel(dyUp));
        automate(i, afx_knob_get_value(knob) / 100.0f);
        showMessage();
        redrawControl(i);
    }
    const int32_t px = panelMapping().toPageX(x), py = panelMapping().toPageY(y);
    for (int32_t picture : {kPrevious, kNext, kInfo, kNamePlate}) {
        afx_filmstrip* p = pictures[picture];
        if (!afx_filmstrip_is_pressed(p)) continue;
        afx_filmstrip_set_value(p, afx_filmstrip_hit(p, px, py) ? 100.0f : 0.0f);
        redrawPicture(picture);
    }
    if (resizing) followResizeDrag(dx, dyUp);
}

void CEditorGUI::onButtonUp(int32_t x, int32_t y) {
    if (!controlsReady) return;
    takePendingChanges();
    const int32_t px = panelMapping().toPageX(x), py = panelMapping().toPageY(y);
    for (int32_t picture : {kPrevious, kNext, kInfo, kNamePlate}) {
        afx_filmstrip* p = pictures[picture];
        if (!afx_filmstrip_is_pressed(p) || !afx_filmstrip_hit(p, px, py)) continue;
        afx_filmstrip_set_value(p, 0.0f);
        if (picture == kPrevious || picture == kNext) {
            stepProgram(picture == kPrevious ? -1 : 1);
        } else {
            if (picture == kInfo && dialogHost) dialogHost->openAbout();
            writeMessage(nullptr);
            showMessage();
        }
        redrawPicture(picture);
    }
    endResizeDrag();
    endEdits();
    afx_release_capture(context);
}

// Ends the edits a press began: a knob left inside its detent is sent its
// middle first; then every knob without a detent and every switch is ended,
// pressed or not, and nothing stays pressed.
void CEditorGUI::endEdits() {
    for (int32_t i : kDetentKnobs) {
        afx_knob* knob = knobs[i];
        if (!afx_knob_is_dragging(knob)) continue;
        if (afx_knob_at_default(knob)) {
            automate(i, 0.5f);
            redrawControl(i);
        }
        plugin()->endEdit(i);
        afx_knob_clear_dragging(knob);
    }
    afx_knob_clear_dragging(knobs[kRT60]);
    afx_knob_clear_dragging(knobs[kDamping]);
    afx_knob_clear_dragging(knobs[kPreDelay]);
    afx_switch_set_pressed(wetOnlySwitch, false);
    afx_switch_set_pressed(muteSwitch, false);
    afx_toggle_button_set_pressed(effectButton, false);
    for (afx_filmstrip* p : pictures) afx_filmstrip_set_pressed(p, false);
    for (int32_t i : kPlainEdits) plugin()->endEdit(i);
}

// The host closes the editor in the middle of a gesture: the release will
// never come, and a host left without an endEdit stays in touch automation
// for that parameter. So the edits a release would end are ended here, in
// the same way, a detent's final value first.
void CEditorGUI::endAbandonedGesture() {
    if (!controlsReady) return;
    bool inProgress = afx_switch_is_pressed(wetOnlySwitch) || afx_switch_is_pressed(muteSwitch) ||
                      afx_toggle_button_is_pressed(effectButton);
    for (afx_knob* knob : knobs) inProgress = inProgress || afx_knob_is_dragging(knob);
    if (!inProgress) return;
    endEdits();
    afx_release_capture(context);
}

void CEditorGUI::onDoubleClick(int32_t x, int32_t y) {
    closeDialog();
    if (!controlsReady) return;
    takePendingChanges();
    const int32_t px = panelMapping().toPageX(x), py = panelMapping().toPageY(y);
    const float fx = static_cast<float>(px), fy = static_cast<float>(py);
    for (int32_t i : kDoubleClickOrder) {
        afx_knob* knob = knobs[i];
        // The hit alone: a circular knob must not jump to where the second click landed.
        if (!afx_knob_hit(knob, fx, fy)) continue;
        const float cx = static_cast<float>(knob->x + knob->radius);
        const float cy = static_cast<float>(knob->y + knob->radius);
        // Only inside the dead zone, where a press never jumps, does a double click reset.
        if (std::sqrt((fx - cx) * (fx - cx) + (fy - cy) * (fy - cy)) > knob->dead_radius) return;
        const float reset = knob->default_value;  // 50 for the detent knobs, else 0
        afx_knob_set_value(knob, reset);
        plugin()->beginEdit(i);
        automate(i, reset / 100.0f);
        plugin()->endEdit(i);
        showMessage();
        redrawControl(i);
        return;
    }
    bool onControl = afx_toggle_button_hit(effectButton, px, py) ||
                     afx_switch_hit(wetOnlySwitch, px, py) || afx_switch_hit(muteSwitch, px, py);
    for (afx_filmstrip* p : pictures) onControl = afx_filmstrip_hit(p, px, py) || onControl;
    if (onControl) {
        onLeftPress(x, y);
        return;
    }
    resizeToDefault();  // the bare panel
}

// The editor has no keys of its own; a key still brings the controls up to
// date with the host, as every other input does.
void CEditorGUI::onKey() {
    if (controlsReady) takePendingChanges();
}

}  // namespace ZEPHRA2F9C41D07
