#include "afx_test_scene.h"

#include <cstdio>

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
    afx_dib_scale_from(scene->context, scene->picture, scene->surface, x, y, width, height,
                       kScenePictureX, 0, kSceneScale);
    afx_present(scene->context, index, scene->surface, x, y, x, y, width, height);
}

bool afx_test_scene_save(const std::string& path, int32_t width, int32_t height,
                         const std::vector<uint32_t>& pixels) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const int32_t size[2] = {width, height};
    bool ok = std::fwrite(size, sizeof(size), 1, f) == 1;
    ok = ok && std::fwrite(pixels.data(), sizeof(uint32_t), pixels.size(), f) == pixels.size();
    return std::fclose(f) == 0 && ok;
}

bool afx_test_scene_load(const std::string& path, int32_t* width, int32_t* height,
                         std::vector<uint32_t>* pixels) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    int32_t size[2] = {0, 0};
    bool ok = std::fread(size, sizeof(size), 1, f) == 1 && size[0] > 0 && size[1] > 0 &&
              size[0] < 10000 && size[1] < 10000;
    if (ok) {
        pixels->resize(static_cast<size_t>(size[0]) * size[1]);
        ok = std::fread(pixels->data(), sizeof(uint32_t), pixels->size(), f) == pixels->size();
        *width = size[0];
        *height = size[1];
    }
    std::fclose(f);
    return ok;
}
