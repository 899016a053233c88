// Paints the shared test scene into a window of the in-memory backend and
// saves what the window shows: the reference that real windows on the test
// display are compared with. Usage: afx_scene_render OUTPUT.png
#include <cstdio>

#include "afx/afx_window.h"
#include "afx_test_support.h"
#include "golden_image.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: afx_scene_render OUTPUT.png\n");
        return 2;
    }
    afx_headless_reset();
    afx_set_module(korvex_afx_test_resources_module());
    afx_context* ctx = afx_context_get(true);
    afx_set_class_base(ctx, "27D706069AC8");
    afxp_class_register(nullptr, "host", AFXP_CLASS_SPLASH);
    void* host = afxp_window_create(nullptr, "host", AFXP_CLASS_SPLASH, 0, 0, 400, 300, nullptr);
    afx_test_scene scene;
    const int32_t index = afx_window_new(ctx, kSceneWidth, kSceneHeight, 1.0f, host, &scene);
    if (index < 0 || !afx_test_scene_open(&scene, ctx, index)) {
        std::fprintf(stderr, "afx_scene_render: cannot set up the scene\n");
        return 1;
    }
    afx_window_on_paint(ctx, index, afx_test_scene_paint);
    afx_window_show(ctx, index);
    afx_headless_erase(afx_window_handle(ctx, index));
    afx_headless_paint(afx_window_handle(ctx, index));
    const bool saved =
        golden_write_png(argv[1], golden_window_picture(afx_window_handle(ctx, index)));
    afx_test_scene_close(&scene);
    afx_destroy_all(ctx);
    afx_context_release(ctx);
    afx_context_free(ctx);
    if (!saved) std::fprintf(stderr, "afx_scene_render: cannot write %s\n", argv[1]);
    return saved ? 0 : 1;
}
