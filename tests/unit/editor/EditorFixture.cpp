#include "EditorFixture.h"

#include <cmath>
#include <cstdio>

#include "afx/afx_bitmap_font.h"
#include "afx/afx_window.h"
#include "afx/platform/afx_platform.h"

using namespace ZEPHRA2F9C41D07;

void EditorFixture::setUpAt(int32_t dpi) {
    afx_headless_reset();
    afx_headless_set_dpi(dpi, dpi);
    afx_set_module(korvex_editor_test_resources_module());
    ctx = afx_context_get(true);
    ASSERT_NE(ctx, nullptr);
    afx_set_class_base(ctx, "27D706069AC8");
    ASSERT_NE(afx_bitmap_font_get(true), nullptr);
    afxp_class_register(nullptr, "host", AFXP_CLASS_SPLASH);
    parent = afxp_window_create(nullptr, "host", AFXP_CLASS_SPLASH, 0, 0, 500, 700, nullptr);
    ASSERT_NE(parent, nullptr);
    plug = new CPlug(FakeHost::callback, 10, 10);
    editor = static_cast<CEditorGUI*>(plug->getEditor());
    ASSERT_NE(editor, nullptr);
    clearCalls();
}

void EditorFixture::TearDown() {
    delete plug;
    plug = nullptr;
    editor = nullptr;
    if (ctx) {
        afx_destroy_all(ctx);
        afx_context_release(ctx);
        afx_context_free(ctx);
        ctx = nullptr;
    }
    if (afx_bitmap_font* font = afx_bitmap_font_get(false)) {
        afx_bitmap_font_release(font);
        afx_bitmap_font_free(font);
    }
    afx_set_module(nullptr);
    afx_headless_reset();
}

void EditorFixture::openEditor() {
    plug->dispatcher(effEditOpen, 0, 0, parent, 0.0f);
    ASSERT_TRUE(editor->windowOpen());
    afx_headless_paint(window());
}

void EditorFixture::closeEditor() { plug->dispatcher(effEditClose, 0, 0, nullptr, 0.0f); }

void* EditorFixture::window() const { return afx_window_handle(ctx, editor->windowIndex()); }

void EditorFixture::tick(int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        ASSERT_TRUE(afx_headless_timer(window()));
        afx_headless_paint(window());
    }
}

int32_t EditorFixture::windowX(float px) const {
    return static_cast<int32_t>(std::lround(px * editor->panelZoom())) + editor->panelLeft();
}
int32_t EditorFixture::windowY(float py) const {
    return static_cast<int32_t>(std::lround(py * editor->panelZoom()));
}

void EditorFixture::press(float px, float py) {
    afx_headless_set_buttons_held(true);
    afx_headless_button_down(window(), windowX(px), windowY(py), 0);
}
void EditorFixture::moveTo(float px, float py) {
    afx_headless_move(window(), windowX(px), windowY(py));
}
void EditorFixture::release(float px, float py) {
    afx_headless_set_buttons_held(false);
    afx_headless_button_up(window(), windowX(px), windowY(py), 0);
}
void EditorFixture::click(float px, float py) {
    press(px, py);
    release(px, py);
}
void EditorFixture::doubleClick(float px, float py) {
    afx_headless_set_buttons_held(true);
    afx_headless_double_click(window(), windowX(px), windowY(py));
    release(px, py);
}
void EditorFixture::wheel(float px, float py, int32_t notches) {
    afx_headless_wheel(window(), windowX(px), windowY(py), 120 * notches);
}

std::vector<std::string> EditorFixture::editTrail() const {
    std::vector<std::string> trail;
    char line[64];
    for (const HostCall& call : host.calls) {
        if (call.opcode == audioMasterBeginEdit) {
            std::snprintf(line, sizeof(line), "begin %d", call.index);
        } else if (call.opcode == audioMasterEndEdit) {
            std::snprintf(line, sizeof(line), "end %d", call.index);
        } else if (call.opcode == audioMasterAutomate) {
            std::snprintf(line, sizeof(line), "set %d %.4g", call.index,
                          static_cast<double>(call.opt));
        } else {
            continue;
        }
        trail.emplace_back(line);
    }
    return trail;
}
