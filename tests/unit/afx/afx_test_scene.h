// The scene both window backends paint: the test picture (resource 110)
// resampled at 1.5 into a window bitmap with the dotted surround and grip,
// placed 12 pixels from the left, then presented. The in-memory backend's
// framebuffer of it is what a real window under Wine must show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "afx/afx_context.h"
#include "afx/afx_dib.h"
#include "afx/afx_pixbuf.h"

constexpr int32_t kSceneWidth = 96;
constexpr int32_t kSceneHeight = 72;
constexpr int32_t kScenePictureX = 12;
constexpr float kSceneScale = 1.5f;

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

// A render as 0x00RRGGBB words, rows top to bottom, saved with its size.
bool afx_test_scene_save(const std::string& path, int32_t width, int32_t height,
                         const std::vector<uint32_t>& pixels);
bool afx_test_scene_load(const std::string& path, int32_t* width, int32_t* height,
                         std::vector<uint32_t>* pixels);
