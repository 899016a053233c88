// The editor's whole window as the host shows it, against reviewed images:
// the default 364 x 538 at display scale 1 and 728 x 1076 at display scale 2,
// a 368 x 1076 window where the panel is zoomed twice, and the greyed
// presentation while bypassed. The
// plug-in is real; its editor opens in a host window of the in-memory
// backend and the window's framebuffer is compared.
#include <cstdint>

#include "afx/afx_window.h"
#include "afx/platform/afx_platform.h"
#include "editor/CEditorGUI.h"
#include "golden_fixture.h"
#include "plugin/CPlug.h"

void* golden_editor_resources_module();

using namespace ZEPHRA2F9C41D07;

namespace {

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class EditorGolden : public GoldenFixture {
protected:
    void SetUp() override {
        afx_headless_reset();
        useResources(golden_editor_resources_module());
        ctx = afx_context_get(true);
        ASSERT_NE(ctx, nullptr);
        afx_set_class_base(ctx, "27D706069AC8");
        ASSERT_NE(afx_bitmap_font_get(true), nullptr);
        afxp_class_register(nullptr, "host", AFXP_CLASS_SPLASH);
        parent = afxp_window_create(nullptr, "host", AFXP_CLASS_SPLASH, 0, 0, 800, 1200, nullptr);
        plug = new CPlug(quietHost, 10, 10);
        editor = static_cast<CEditorGUI*>(plug->getEditor());
    }
    void TearDown() override {
        delete plug;
        afx_destroy_all(ctx);
        afx_context_release(ctx);
        afx_context_free(ctx);
        GoldenFixture::TearDown();
        afx_headless_reset();
    }

    // Opens the editor and paints what the host window would show.
    GoldenPicture openAndCapture() {
        plug->dispatcher(effEditOpen, 0, 0, parent, 0.0f);
        void* window = afx_window_handle(ctx, editor->windowIndex());
        afx_headless_paint(window);
        return golden_window_picture(window);
    }

    afx_context* ctx = nullptr;
    void* parent = nullptr;
    CPlug* plug = nullptr;
    CEditorGUI* editor = nullptr;
};

TEST_F(EditorGolden, DefaultWindowAtDisplayScaleOne) {
    const GoldenPicture picture = openAndCapture();
    EXPECT_EQ(picture.width, 364);
    EXPECT_EQ(picture.height, 538);
    EXPECT_TRUE(golden_match("editor-364x538", picture));
}

TEST_F(EditorGolden, DefaultWindowAtDisplayScaleTwo) {
    // The editor reads the display scale when it is made: a 192-dpi screen.
    delete plug;
    afx_headless_set_dpi(192, 192);
    ctx->dpi_scale = 0.0f;
    plug = new CPlug(quietHost, 10, 10);
    editor = static_cast<CEditorGUI*>(plug->getEditor());
    const GoldenPicture picture = openAndCapture();
    EXPECT_EQ(picture.width, 728);
    EXPECT_EQ(picture.height, 1076);
    EXPECT_TRUE(golden_match("editor-728x1076", picture));
}

TEST_F(EditorGolden, PanelZoomedTwiceIn368By1076) {
    // A program with some character, so that knobs and switches show both states.
    plug->setParameter(kRT60, 0.7166667f);
    plug->setParameter(kDamping, 0.514f);
    plug->setParameter(kMix, 0.315f);
    plug->setParameter(kPreDelay, 0.3684f);
    plug->setParameter(kWidth, 0.8f);
    plug->setParameter(kWetOnly, 1.0f);
    const float size[4] = {0.0f, 368.0f, 0.0f, 1076.0f};
    editor->restoreSize(size);
    const GoldenPicture picture = openAndCapture();
    EXPECT_EQ(picture.width, 368);
    EXPECT_EQ(picture.height, 1076);
    EXPECT_TRUE(golden_match("editor-368x1076", picture));
}

TEST_F(EditorGolden, BypassedWindowIsGreyedWithBands) {
    plug->dispatcher(effSetBypass, 0, 1, nullptr, 0.0f);
    const GoldenPicture picture = openAndCapture();
    EXPECT_TRUE(golden_match("editor-bypassed", picture));
}

}  // namespace
