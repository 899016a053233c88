// Set-up shared by the golden programs: the program's embedded resources as
// the toolkit's module, the bitmap font released at the end, and the
// picture an in-memory window shows.
#pragma once

#include "afx/afx_bitmap_font.h"
#include "afx/afx_context.h"
#include "afx/platform/headless/afx_headless.h"
#include "golden_image.h"

class GoldenFixture : public ::testing::Test {
protected:
    // Call first in SetUp with the program's resources module.
    void useResources(void* module) { afx_set_module(module); }
    void TearDown() override {
        if (afx_bitmap_font* font = afx_bitmap_font_get(false)) {
            afx_bitmap_font_release(font);
            afx_bitmap_font_free(font);
        }
        afx_set_module(nullptr);
    }
};

// The framebuffer of an in-memory window; empty when there is no such window.
inline GoldenPicture golden_window_picture(void* window) {
    GoldenPicture picture;
    if (const afx_headless_window* w = afx_headless_find(window)) {
        picture.width = w->width;
        picture.height = w->height;
        picture.pixels = w->framebuffer;
    }
    return picture;
}
