// The scene every window backend paints: the test picture (resource 110)
// resampled at 1.5 into a window bitmap with the dotted surround and grip,
// placed 12 pixels from the left, then presented. afx_scene_render saves
// what the in-memory backend's window shows as a PNG; a real window on the
// test display must show exactly that.
#pragma once

#include <cstdint>

#include "afx/afx_context.h"
#include "afx/afx_dib.h"
#include "afx/afx_pixbuf.h"

constexpr int32_t kSceneWidth = 96;
constexpr int32_t kSceneHeight = 72;

struct afx_test_scene {
    afx_context* context = nullptr;
    afx_pixbuf* picture = nullptr;
    afx_dib* surface = nullptr;
};

inline void afx_test_scene_close(afx_test_scene* scene) {
    afx_dib_free(scene->context, scene->surface);
    afx_pixbuf_free(scene->context, scene->picture);
}
// Loads the picture and builds the surface for window index; false on failure.
inline bool afx_test_scene_open(afx_test_scene* scene, afx_context* context, int32_t index) {
    scene->context = context;
    scene->picture = afx_pixbuf_new_from_inline(context, 110);
    // The editor's surround at scale 1: colour 112, grip 20, margin 1, period 8, dot 1.
    scene->surface =
        afx_dib_new_pattern(context, kSceneWidth, kSceneHeight, 112, 112, 112, 20, 1, 8, 1, index);
    return scene->picture && scene->surface;
}
// The paint callback; user is the scene.
inline void afx_test_scene_paint(int32_t x, int32_t y, int32_t width, int32_t height, int32_t index,
                                 void* user) {
    auto* scene = static_cast<afx_test_scene*>(user);
    afx_dib_scale_from(scene->context, scene->picture, scene->surface, x, y, width, height, 12, 0,
                       1.5f);
    afx_present(scene->context, index, scene->surface, x, y, x, y, width, height);
}
