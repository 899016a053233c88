// The parameter link and the read-out: what the plug-in reports, how it
// reaches the controls, the value texts, program names, the knob mode, and
// the timetable on which the read-out falls back to the version text and
// then to blank.
#include "editor/CEditorGUI.h"

#include <cstdio>

#include "afx/widgets/afx_filmstrip.h"
#include "afx/widgets/afx_knob.h"
#include "afx/widgets/afx_lcd.h"
#include "afx/widgets/afx_led.h"
#include "afx/widgets/afx_switch.h"
#include "afx/widgets/afx_toggle_button.h"
#include "frame/AudioEffectX.h"
#include "resources/korvex_identity.h"

namespace ZEPHRA2F9C41D07 {

namespace {

constexpr size_t kMessageLimit = 64 + 1;  // 64 characters and the terminator
constexpr int32_t kMessageTicks = 625;    // 25 s of 40 ms ticks
constexpr int32_t kVersionTick = 563;     // 62 ticks (about 2.5 s) after a message
constexpr int32_t kBlankTick = 63;        // about 22.5 s after a message

// The read-out's texts of the knobs, filled with the value in the
// parameter's unit. A knob at its detent names the detent exactly, as the
// text of the parameter's default.
constexpr const char* kKnobTexts[kNumKnobParameters] = {
    "RT60 Time %.1f sec", "Damping %.1f",   "Mix %.1f %%",   "Pre Delay %.1f ms",
    "Width %.1f %%",      "Output %.1f dB", "Input %.1f dB",
};
// The switches' texts, off then on: Wet-Only, Mute, Effect.
constexpr const char* kSwitchTexts[kNumParameters - kNumKnobParameters][2] = {
    {"Wet-Only Off", "Wet-Only On "}, {"Mute Off", "Mute On "}, {" Effect  Out", " Effect  In "}};

}  // namespace

// Any thread: the host's automation and program loads, the editor's own
// edits, and the audio thread's overload report after every block. Only
// stores (ParameterHandoff); the value texts are written on the window
// thread by the handlers that show them: host automation never changes the
// read-out, so no text has to cross threads.
void CEditorGUI::parameterChanged(VstInt32 index, float value) {
    if (paramMirror.store(index, value)) needsRedraw.store(1, std::memory_order_release);
}

// Window thread: the controls take what parameterChanged stored.
void CEditorGUI::takePendingChanges() {
    const uint32_t pending = paramMirror.take();
    if (!pending || !controlsReady) return;
    for (int32_t i = 0; i < kKnobCount; ++i) {
        if (!(pending & (1u << i))) continue;
        afx_knob_set_value(knobs[i], paramMirror.value(i) * 100.0f);
        markDirty(i);
    }
    if (pending & (1u << kWetOnly)) {
        afx_switch_set_on(wetOnlySwitch, editorShowsOn(paramMirror.value(kWetOnly)));
        markDirty(kRoleWetOnly);
    }
    if (pending & (1u << kMute)) {
        afx_switch_set_on(muteSwitch, editorShowsOn(paramMirror.value(kMute)));
        markDirty(kRoleMute);
    }
    if (pending & (1u << kEffect)) {
        afx_toggle_button_set_on(effectButton, editorShowsOn(paramMirror.value(kEffect)));
        markDirty(kRoleEffect);
    }
    if (pending & (1u << kOverload)) {
        afx_led_set_on(overloadLamp, paramMirror.lampLit());
        markDirty(kRoleLamp);
    }
}

// The read-out's text of parameter index at normalised value v.
void CEditorGUI::writeValueText(int32_t index, float v) {
    if (index < kKnobCount) {
        const bool detent = controlsReady && afx_knob_at_default(knobs[index]);
        const float shown = parameterInUnits(index, detent ? parameterDefault(index) : v);
        std::snprintf(message, kMessageLimit, kKnobTexts[index], static_cast<double>(shown));
    } else if (index < kNumParameters) {
        std::snprintf(message, kMessageLimit, "%s",
                      kSwitchTexts[index - kKnobCount][editorShowsOn(v) ? 1 : 0]);
    }
}

// Copies text into message; null writes the version text.
void CEditorGUI::writeMessage(const char* text) {
    if (text) std::snprintf(message, kMessageLimit, "%s", text);
    else std::snprintf(message, kMessageLimit, "KORVEX52  V%s", KORVEX_VERSION_TEXT);
}

void CEditorGUI::putOnDisplay() {
    if (!controlsReady) return;
    afx_lcd_set_text(messageDisplay, message);
    std::snprintf(displayText, sizeof(displayText), "%s", message);
    markDirty(kRoleDisplay);
}

void CEditorGUI::showMessage() {
    putOnDisplay();
    messageTicks = kMessageTicks;
    showingProgramName = 0;
    needsRedraw.store(1, std::memory_order_release);
}

// At opening: the version text on the display, fresh for the whole
// timetable. Unlike showMessage it leaves a program name's state alone: a
// program named just before the editor closed, or chosen by the host while
// it was closed, is still stepped from by the next press.
void CEditorGUI::greetWithVersion() {
    writeMessage(nullptr);
    putOnDisplay();
    messageTicks = kMessageTicks;
}

void CEditorGUI::programChanged(VstInt32 index) {
    currentProgram = index;
    if (!panelSurface) return;
    char name[64] = {};
    plugin()->getProgramName(name);
    writeMessage(name);
    // A name replaces a name at once; anything else only once it is no longer fresh.
    if (showingProgramName || messageTicks < kVersionTick) showMessage();
    showingProgramName = 1;
}

// Previous (-1) or next (+1): the first press names the current program,
// presses while a name shows step through all ten.
void CEditorGUI::stepProgram(int32_t step) {
    pictureDirty[step < 0 ? kPrevious : kNext] = 1;
    if (showingProgramName) {
        if (step < 0) currentProgram = currentProgram == 0 ? kNumPrograms - 1 : currentProgram - 1;
        else currentProgram = currentProgram + 1 == kNumPrograms ? 0 : currentProgram + 1;
        plugin()->setProgram(currentProgram);
        plugin()->updateDisplay();
    }
    char name[64] = {};
    plugin()->getProgramName(name);
    writeMessage(name);
    showMessage();
    messageTicks = kMessageTicks;
    showingProgramName = 1;
}

void CEditorGUI::runMessageTimetable() {
    if (messageTicks != kVersionTick && messageTicks != kBlankTick) return;
    const bool blank = messageTicks == kBlankTick;
    writeMessage(blank ? "                " : nullptr);
    putOnDisplay();
    redrawControl(kRoleDisplay);
    showingProgramName = 0;
    if (blank && controlsReady) {
        afx_filmstrip_set_value(pictures[kInfo], 0.0f);
        pictureDirty[kInfo] = 1;
        needsRedraw.store(1, std::memory_order_release);
    }
}

bool CEditorGUI::setKnobMode(VstInt32 mode) {
    knobMode = mode;
    if (controlsReady) {
        for (afx_knob* knob : knobs) afx_knob_set_mode(knob, static_cast<uint32_t>(mode));
    }
    switch (mode) {
        case 0: writeMessage("Ctrl Mode - Circular"); break;
        case 1: writeMessage("Ctrl Mode - Relative"); break;
        case 2: writeMessage("Ctrl Mode - Linear"); break;
        default: writeMessage("Ctrl Mode - Default"); break;
    }
    // A message shown in the last 62 ticks stays; the mode text waits in message.
    if (messageTicks < kVersionTick && controlsReady) showMessage();
    return true;
}

}  // namespace ZEPHRA2F9C41D07
