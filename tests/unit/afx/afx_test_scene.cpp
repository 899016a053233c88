#include "afx_test_scene.h"

bool afx_test_scene_open(afx_test_scene* scene, afx_context* context, int32_t index) {
    scene->context = context;
    scene->picture = afx_pixbuf_new_from_inline(context, 110);
    // The editor's surround at scale 1: colour 112, grip 20, margin 1, period 8, dot 1.
    scene->surface =
        afx_dib_new_pattern(context, kSceneWidth, kSceneHeight, 112, 112, 112, 20, 1, 8, 1, index);
    return scene->picture && scene->surface;
}

void afx_test_scene_close(afx_test_scene* scene) {
    afx_dib_free(scene->context, scene->surface);
    afx_pixbuf_free(scene->context, scene->picture);
    scene->surface = nullptr;
    scene->picture = nullptr;
}

void afx_test_scene_paint(int32_t x, int32_t y, int32_t width, int32_t height, int32_t index,
                          void* user) {
    auto* scene = static_cast<afx_test_scene*>(user);
    afx_dib_scale_from(scene->context, scene->picture, scene->surface, x, y, width, height, 12, 0,
                       1.5f);
    afx_present(scene->context, index, scene->surface, x, y, x, y, width, height);
}
