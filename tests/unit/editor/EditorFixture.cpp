#include "EditorFixture.h"

#include <cstdio>

#include "afx/afx_bitmap_font.h"
#include "afx/afx_context.h"
#include "afx/platform/afx_platform.h"

using namespace ZEPHRA2F9C41D07;

void EditorFixture::SetUp() {
    afx_headless_reset();  // 96 dpi
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
    if (ctx) {
        afx_destroy_all(ctx);
        afx_context_release(ctx);
        afx_context_free(ctx);
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

void EditorFixture::tick(int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        ASSERT_TRUE(afx_headless_timer(window()));
        afx_headless_paint(window());
    }
}

std::vector<std::string> EditorFixture::editTrail() const {
    std::vector<std::string> trail;
    char line[64];
    for (const HostCall& call : host.calls) {
        if (call.opcode == audioMasterAutomate)
            std::snprintf(line, sizeof(line), "set %d %.4g", call.index, double(call.opt));
        else if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterEndEdit)
            std::snprintf(line, sizeof(line), "%s %d",
                          call.opcode == audioMasterEndEdit ? "end" : "begin", call.index);
        else continue;
        trail.emplace_back(line);
    }
    return trail;
}
