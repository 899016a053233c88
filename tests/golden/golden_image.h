// Golden images: a composed render is compared pixel for pixel with a reviewed
// PNG in tests/golden/images/ (the pixel pipeline is integer and deterministic).
// A mismatch fails and leaves <name>.actual/.expected/.diff.png (differing
// pixels red) in <build>/golden/; KORVEX_GOLDEN_UPDATE=1 (`make golden-update`)
// rewrites the reviewed image instead; see README.md.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "afx/afx_bitmap_font.h"
#include "afx/afx_context.h"
#include "afx/platform/headless/afx_headless.h"

struct afx_pixbuf;
struct afx_dib;

// An RGB picture: 0x00RRGGBB per pixel, rows top to bottom (as the in-memory
// backend's window framebuffers).
struct GoldenPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};

// The visible pixels of a pixbuf, alpha dropped (a window shows no alpha),
// or of a window bitmap.
GoldenPicture golden_picture(const afx_pixbuf* pixbuf);
GoldenPicture golden_picture(const afx_dib* dib);

// Compares picture with images/<name>.png. name: lower case, digits and '-'.
::testing::AssertionResult golden_match(const char* name, const GoldenPicture& picture);
::testing::AssertionResult golden_match(const char* name, const afx_pixbuf* pixbuf);

// Compares two pictures as golden_match does, without the reviewed file: a
// mismatch writes the three pictures, a match removes an earlier failure's.
::testing::AssertionResult golden_compare(const char* name, const GoldenPicture& expected,
                                          const GoldenPicture& actual);

// True when KORVEX_GOLDEN_UPDATE=1: golden_match rewrites the reviewed images.
bool golden_updating();
// <build>/golden/<name>.<kind>.png: what a failed check leaves.
std::string golden_output_path(const char* name, const char* kind);

// PNG files of RGB pictures; false when the file cannot be written or read.
bool golden_write_png(const char* path, const GoldenPicture& picture);
bool golden_read_png(const char* path, GoldenPicture* picture);

// Set-up shared by the golden programs: their resources as the toolkit's module,
// the bitmap font released at the end.
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
