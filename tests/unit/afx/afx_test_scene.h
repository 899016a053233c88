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

// Loads the picture and builds the surface for window index; false on failure.
bool afx_test_scene_open(afx_test_scene* scene, afx_context* context, int32_t index);
void afx_test_scene_close(afx_test_scene* scene);
// The paint callback; user is the scene.
void afx_test_scene_paint(int32_t x, int32_t y, int32_t width, int32_t height, int32_t index,
                          void* user);
