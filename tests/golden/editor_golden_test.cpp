// The plug-in's windows as the host shows them, against reviewed images: the
// editor at display scales 1 and 2, the panel zoomed twice, greyed while
// bypassed, and the About box. The plug-in is real; its windows belong to the
// in-memory backend, whose framebuffers (and sizes) are compared.
#include <cstdint>

#include "afx/afx_window.h"
#include "afx/platform/afx_platform.h"
#include "dialogs/MBXHost.h"
#include "editor/CEditorGUI.h"
#include "golden_image.h"
#include "plugin/CPlug.h"
#include "tests/unit/dialogs/dialog_session.h"

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
    }
    void TearDown() override {
        delete plug;
        afx_destroy_all(ctx);
        afx_context_release(ctx);
        afx_context_free(ctx);
        GoldenFixture::TearDown();
        afx_headless_reset();
    }

    // A plug-in made on a screen of that many dots per inch (the editor reads
    // the display scale when it is made).
    CEditorGUI* make(int32_t dpi = 96) {
        afx_headless_set_dpi(dpi, dpi);
        plug = new CPlug(quietHost, 10, 10);
        return static_cast<CEditorGUI*>(plug->getEditor());
    }
    // Opens the editor and paints what the host window would show.
    GoldenPicture openAndCapture(CEditorGUI* editor) {
        plug->dispatcher(effEditOpen, 0, 0, parent, 0.0f);
        void* window = afx_window_handle(ctx, editor->windowIndex());
        afx_headless_paint(window);
        return golden_window_picture(window);
    }

    afx_context* ctx = nullptr;
    void* parent = nullptr;
    CPlug* plug = nullptr;
};

TEST_F(EditorGolden, DefaultWindowAtDisplayScaleOne) {
    EXPECT_TRUE(golden_match("editor-364x538", openAndCapture(make())));
}

TEST_F(EditorGolden, DefaultWindowAtDisplayScaleTwo) {
    EXPECT_TRUE(golden_match("editor-728x1076", openAndCapture(make(192))));
}

TEST_F(EditorGolden, PanelZoomedTwiceIn368By1076) {
    CEditorGUI* editor = make();
    // A program with some character, so that knobs and switches show both states.
    const float values[][2] = {{kRT60, 0.7166667f},  {kDamping, 0.514f}, {kMix, 0.315f},
                               {kPreDelay, 0.3684f}, {kWidth, 0.8f},     {kWetOnly, 1.0f}};
    for (const auto& v : values) plug->setParameter(VstInt32(v[0]), v[1]);
    const float size[4] = {0.0f, 368.0f, 0.0f, 1076.0f};
    editor->restoreSize(size);
    EXPECT_TRUE(golden_match("editor-368x1076", openAndCapture(editor)));
}

TEST_F(EditorGolden, BypassedWindowIsGreyedWithBands) {
    CEditorGUI* editor = make();
    plug->dispatcher(effSetBypass, 0, 1, nullptr, 0.0f);
    EXPECT_TRUE(golden_match("editor-bypassed", openAndCapture(editor)));
}

// The About box as its window shows it on a 1920 x 1080 desktop at 96 dpi:
// the 640 x 480 page drawn by the dialogs and scaled to 800 x 600.
using AboutPage = GoldenFixture;

TEST_F(AboutPage, WindowMatchesTheReviewedPicture) {
    afx_headless_reset();
    useResources(golden_editor_resources_module());
    DialogSession session;
    ASSERT_TRUE(dialog_session_start(&session));
    session.host->openAbout();
    void* window = afx_window_handle(session.ctx, session.host->window());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(afx_headless_paint(window));
    EXPECT_TRUE(golden_match("about-page", golden_window_picture(window)));
    dialog_session_end(&session);
}

}  // namespace
