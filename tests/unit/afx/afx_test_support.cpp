#include "afx_test_support.h"

#include "afx/platform/afx_platform.h"

std::vector<CallbackRecord>& ToolkitTest::log() {
    static std::vector<CallbackRecord> entries;
    return entries;
}

std::string ToolkitTest::logText() {
    std::string text;
    for (const CallbackRecord& r : log())
        text += r.what + "(" + std::to_string(r.a) + "," + std::to_string(r.b) + "," +
                std::to_string(r.c) + ") ";
    return text;
}

namespace {

void record(const char* what, int32_t a, int32_t b, int32_t c, int32_t index, void* user) {
    ToolkitTest::log().push_back({what, a, b, c, index, user});
}

// The paint record packs the rectangle's size as width x 65536 + height.
void on_paint(int32_t x, int32_t y, int32_t w, int32_t h, int32_t index, void* user) {
    record("paint", x, y, w * 65536 + h, index, user);
}

}  // namespace

void ToolkitTest::SetUp() {
    afx_headless_reset();
    log().clear();
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

int32_t ToolkitTest::newChild(int32_t width, int32_t height, float scale) {
    return afx_window_new(ctx, width, height, scale, parent, &userTag);
}

void ToolkitTest::recordAll(int32_t index) {
    afx_window_on_paint(ctx, index, on_paint);
    afx_window_on_button_down(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t i, void* u) {
        record("down", x, y, b, i, u);
    });
    afx_window_on_button_up(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t i, void* u) {
        record("up", x, y, b, i, u);
    });
    afx_window_on_double_click(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t i, void* u) {
        record("double", x, y, b, i, u);
    });
    afx_window_on_move(ctx, index, [](int32_t x, int32_t y, int32_t i, void* u) {
        record("move", x, y, 0, i, u);
    });
    afx_window_on_key_down(ctx, index, [](int32_t z, int32_t k, int32_t p, int32_t i, void* u) {
        record("keydown", z, k, p, i, u);
    });
    afx_window_on_key_up(ctx, index, [](int32_t z, int32_t k, int32_t p, int32_t i, void* u) {
        record("keyup", z, k, p, i, u);
    });
}
