#include "afx_test_support.h"

#include "afx/platform/afx_platform.h"

std::string& ToolkitTest::log() {
    static std::string entries;
    return entries;
}
void* ToolkitTest::lastUser = nullptr;
bool ToolkitTest::closeAllowed = true;

namespace {

void note(const char* what, int32_t a, int32_t b, int32_t c, void* user) {
    ToolkitTest::log() += std::string(what) + "(" + std::to_string(a) + "," + std::to_string(b) +
                          "," + std::to_string(c) + ") ";
    ToolkitTest::lastUser = user;
}

}  // namespace

void ToolkitTest::SetUp() {
    afx_headless_reset();
    log().clear();
    lastUser = nullptr;
    closeAllowed = true;
    afx_set_module(korvex_afx_test_resources_module());
    ctx = afx_context_get(true);
    ASSERT_NE(ctx, nullptr);
    afx_set_class_base(ctx, "27D706069AC8");
    // The host's window: a top-level window of some other class.
    afxp_class_register(nullptr, "host", AFXP_CLASS_SPLASH);
    parent = afxp_window_create(nullptr, "host", AFXP_CLASS_SPLASH, 0, 0, 800, 600, nullptr);
}

void ToolkitTest::TearDown() {
    if (ctx) {
        afx_destroy_all(ctx);
        afx_context_release(ctx);
        afx_context_free(ctx);
    }
    afx_set_module(nullptr);
}

void ToolkitTest::recordAll(int32_t index) {
    // The paint record is (x, y, width x 1000 + height).
    afx_window_on_paint(ctx, index,
                        [](int32_t x, int32_t y, int32_t w, int32_t h, int32_t, void* u) {
                            note("paint", x, y, w * 1000 + h, u);
                        });
    afx_window_on_button_down(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t, void* u) {
        note("down", x, y, b, u);
    });
    afx_window_on_button_up(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t, void* u) {
        note("up", x, y, b, u);
    });
    afx_window_on_double_click(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t, void* u) {
        note("double", x, y, b, u);
    });
    afx_window_on_move(ctx, index,
                       [](int32_t x, int32_t y, int32_t, void* u) { note("move", x, y, 0, u); });
    afx_window_on_key_down(ctx, index, [](int32_t z, int32_t k, int32_t p, int32_t, void* u) {
        note("keydown", z, k, p, u);
    });
    afx_window_on_key_up(ctx, index, [](int32_t z, int32_t k, int32_t p, int32_t, void* u) {
        note("keyup", z, k, p, u);
    });
    afx_window_on_close_query(ctx, index, [](int32_t, void* u) {
        note("query", 0, 0, 0, u);
        return closeAllowed;
    });
    afx_window_on_drop_file(ctx, index, [](const char* path, int32_t, void* u, afx_context*) {
        note(path, 0, 0, 0, u);
    });
}
