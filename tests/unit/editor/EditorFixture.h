// The editor as a host meets it: a real CPlug whose editor is CEditorGUI,
// a recording host callback, and a host window on the in-memory toolkit
// backend. Pointer helpers take panel coordinates and place them in the
// window through the editor's current zoom and panel position.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/afx_context.h"
#include "afx/platform/headless/afx_headless.h"
#include "editor/CEditorGUI.h"
#include "plugin/CPlug.h"
#include "tests/unit/support/FakeHost.h"

// The library's resources, embedded for the test program.
void* korvex_editor_test_resources_module();

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override { setUpAt(96); }
    void TearDown() override;

    // A fresh backend at dpi, the toolkit context, the bitmap font, a host
    // window of 500 x 700 and a plug-in with its editor.
    void setUpAt(int32_t dpi);
    // effEditOpen through the dispatcher, then the first paint.
    void openEditor();
    void closeEditor();
    void* window() const;
    // Runs the window's timer count times and paints what became invalid.
    void tick(int32_t count = 1);

    // Window position of a panel point.
    int32_t windowX(float panelX) const;
    int32_t windowY(float panelY) const;
    void press(float px, float py);
    void moveTo(float px, float py);
    void release(float px, float py);
    void click(float px, float py);
    void doubleClick(float px, float py);
    void wheel(float px, float py, int32_t notches);

    // Host calls of one opcode since the last clearCalls.
    std::vector<HostCall> callsOf(VstInt32 opcode) const { return host.callsOf(opcode); }
    // Edit gestures and automation in order, as "begin 2", "set 2 0.5", "end 2".
    std::vector<std::string> editTrail() const;
    void clearCalls() { host.calls.clear(); }

    FakeHost host;
    afx_context* ctx = nullptr;
    void* parent = nullptr;
    ZEPHRA2F9C41D07::CPlug* plug = nullptr;
    ZEPHRA2F9C41D07::CEditorGUI* editor = nullptr;
};

// Knob centres on the panel, indexed by parameter (0..6).
struct PanelPoint {
    float x, y;
};
constexpr PanelPoint kKnobCentre[7] = {{100, 215}, {43, 252}, {100, 358}, {43, 178},
                                       {100, 298}, {43, 404}, {100, 132}};
// Picture buttons by their frames: info, previous, next, name plate.
constexpr PanelPoint kInfoButton = {52, 11};
constexpr PanelPoint kPreviousButton = {92, 11};
constexpr PanelPoint kNextButton = {126, 11};
constexpr PanelPoint kNamePlate = {72, 527};
// A point of the panel that no control covers.
constexpr PanelPoint kBarePanel = {8, 120};
