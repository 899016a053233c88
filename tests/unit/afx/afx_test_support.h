// Shared set-up of the toolkit tests over the in-memory backend.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "afx/afx_context.h"
#include "afx/afx_dib.h"
#include "afx/afx_pixbuf.h"
#include "afx/afx_window.h"
#include "afx/platform/afx_platform.h"
#include "afx/platform/headless/afx_headless.h"

void* korvex_afx_test_resources_module();  // embedded from afx-test.rc

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        afx_headless_reset();
        afx_set_module(korvex_afx_test_resources_module());
        ctx = afx_context_get(true);
        ASSERT_NE(ctx, nullptr);
        afx_set_class_base(ctx, "27D706069AC8");
        // The host's window: a top-level window of some other class.
        afxp_class_register(nullptr, "host", AFXP_CLASS_SPLASH);
        parent = afxp_window_create(nullptr, "host", AFXP_CLASS_SPLASH, 0, 0, 800, 600, nullptr);
    }
    void TearDown() override {
        afx_destroy_all(ctx);
        afx_context_release(ctx);
        afx_context_free(ctx);
        afx_set_module(nullptr);
    }
    int32_t newChild(int32_t width = 364, int32_t height = 538, float scale = 1.0f) {
        return afx_window_new(ctx, width, height, scale, parent, &userTag);
    }
    void* handle(int32_t index) { return afx_window_handle(ctx, index); }
    afx_headless_window* window(int32_t index) { return afx_headless_find(handle(index)); }

    afx_context* ctx = nullptr;
    void* parent = nullptr;
    int userTag = 0;
};

// An owned pixbuf filled with one colour.
inline afx_pixbuf* filled_pixbuf(uint32_t width, uint32_t height, uint32_t r, uint32_t g,
                                 uint32_t b, uint32_t a = 255) {
    afx_pixbuf* p = afx_pixbuf_new(nullptr, width, height);
    afx_pixbuf_fill(nullptr, p, r, g, b, a);
    return p;
}
// Every pixel word of a pixbuf (red in bits 0-7, alpha in 24-31), rows top to bottom.
inline std::vector<uint32_t> pixel_words(const afx_pixbuf* p) {
    std::vector<uint32_t> out;
    for (uint32_t y = 0; y < p->height; ++y)
        for (uint32_t x = 0; x < p->width; ++x)
            out.push_back(afx_pixbuf_pixel(p, int32_t(x), int32_t(y)));
    return out;
}

// The gestures and keys both real window backends play over a 200 x 150
// child at (kAfxPointerHostX, kAfxPointerHostY), and the callbacks they give.
enum class afx_pointer_action { Move, LeftDown, LeftUp, RightDown, RightUp, WheelUp, WheelDown };

struct afx_pointer_step {
    int32_t x, y;  // in the child window
    afx_pointer_action action;
};

constexpr int kAfxPointerHostX = 100, kAfxPointerHostY = 100;

// A move without a button held and after the release are not delivered;
// the two quick clicks at (100, 80) make a double click.
using afx_pa = afx_pointer_action;
inline constexpr afx_pointer_step kAfxPointerScript[] = {
    {20, 30, afx_pa::Move},       {20, 30, afx_pa::LeftDown},  {40, 50, afx_pa::Move},
    {40, 50, afx_pa::LeftUp},     {45, 55, afx_pa::Move},      {100, 80, afx_pa::LeftDown},
    {100, 80, afx_pa::LeftUp},    {100, 80, afx_pa::LeftDown}, {100, 80, afx_pa::LeftUp},
    {150, 20, afx_pa::RightDown}, {150, 20, afx_pa::RightUp},  {60, 70, afx_pa::WheelUp},
    {60, 70, afx_pa::WheelDown}};

// As "what(x,y,code) " each; codes 0 left, 1 right, 2 wheel up and every
// wheel release, 3 wheel down. Keys as "key(code,pressed,0) ".
inline constexpr char kAfxPointerCallbacks[] =
    "down(20,30,0) move(40,50,0) up(40,50,0) "
    "down(100,80,0) up(100,80,0) double(100,80,0) up(100,80,0) down(150,20,1) up(150,20,1) "
    "down(60,70,2) up(60,70,2) down(60,70,3) up(60,70,2) ";
inline constexpr char kAfxPointerKeys[] =
    "key(27,1,0) key(27,0,0) key(65,1,0) key(65,0,0) key(13,1,0) key(13,0,0) key(37,1,0) "
    "key(37,0,0) ";

// Callbacks that write what they see in the form above, registered on a window.
inline std::string& afx_pointer_seen() {
    static std::string seen;
    return seen;
}
inline void afx_pointer_note(const char* what, int32_t x, int32_t y, int32_t code) {
    afx_pointer_seen() += std::string(what) + "(" + std::to_string(x) + "," + std::to_string(y) +
                          "," + std::to_string(code) + ") ";
}
inline void afx_pointer_record(afx_context* ctx, int32_t index) {
    afx_window_on_button_down(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t, void*) {
        afx_pointer_note("down", x, y, b);
    });
    afx_window_on_button_up(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t, void*) {
        afx_pointer_note("up", x, y, b);
    });
    afx_window_on_double_click(ctx, index, [](int32_t x, int32_t y, int32_t b, int32_t, void*) {
        afx_pointer_note("double", x, y, b);
    });
    afx_window_on_move(ctx, index, [](int32_t x, int32_t y, int32_t, void*) {
        afx_pointer_note("move", x, y, 0);
    });
    auto key = [](int32_t, int32_t key, int32_t pressed, int32_t, void*) {
        afx_pointer_note("key", key, pressed, 0);
    };
    afx_window_on_key_down(ctx, index, key);
    afx_window_on_key_up(ctx, index, key);
}

// The scene every window backend paints (picture 110 resampled at 1.5 over
// the dotted surround); a real window must show what afx_scene_render saves.
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
