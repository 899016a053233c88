// A real CPlug and its CEditorGUI, a recording host and a 500 x 700 host window in memory;
// pointer helpers take panel points through the editor's zoom and panel position.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "afx/afx_window.h"
#include "afx/platform/headless/afx_headless.h"
#include "editor/CEditorGUI.h"
#include "plugin/CPlug.h"
#include "tests/unit/support/FakeHost.h"

void* korvex_editor_test_resources_module();

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void openEditor();  // effEditOpen through the dispatcher, then the first paint
    void closeEditor() { plug->dispatcher(effEditClose, 0, 0, nullptr, 0.0f); }
    void* window() const { return afx_window_handle(ctx, editor->windowIndex()); }
    afx_headless_window* shown() const { return afx_headless_find(window()); }
    void tick(int32_t count = 1);  // the window's timer, each tick followed by a paint
    int32_t wx(float px) const { return wy(px) + editor->panelLeft(); }
    int32_t wy(float py) const { return int32_t(std::lround(py * editor->panelZoom())); }
    void press(float px, float py) {
        afx_headless_set_buttons_held(true);
        afx_headless_button_down(window(), wx(px), wy(py), 0);
    }
    void moveTo(float px, float py) { afx_headless_move(window(), wx(px), wy(py)); }
    void release(float px, float py) {
        afx_headless_set_buttons_held(false);
        afx_headless_button_up(window(), wx(px), wy(py), 0);
    }
    void click(float px, float py) { press(px, py), release(px, py); }
    void doubleClick(float px, float py) {
        afx_headless_set_buttons_held(true);
        afx_headless_double_click(window(), wx(px), wy(py));
        release(px, py);
    }
    // Edit gestures and automation in order, as "begin 2", "set 2 0.5", "end 2".
    std::vector<std::string> editTrail() const;
    void clearCalls() { host.calls.clear(); }

    FakeHost host;
    afx_context* ctx = nullptr;
    void* parent = nullptr;
    ZEPHRA2F9C41D07::CPlug* plug = nullptr;
    ZEPHRA2F9C41D07::CEditorGUI* editor = nullptr;
};

struct PanelPoint {
    float x, y;
};
// Knob centres by parameter (0..6), the picture buttons, a bare point of the panel.
constexpr PanelPoint kKnobCentre[7] = {{100, 215}, {43, 252}, {100, 358}, {43, 178},
                                       {100, 298}, {43, 404}, {100, 132}};
constexpr PanelPoint kInfoButton{52, 11}, kPreviousButton{92, 11}, kNextButton{126, 11},
    kBarePanel{8, 120};
