// Golden-image comparison: PNG files through stb (libstb-dev), compiled here
// with internal linkage so that test programs with their own copy link too.
#include "golden_image.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "afx/afx_dib.h"
#include "afx/afx_pixbuf.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "stb_image.h"

namespace {

// Matching pixels a quarter as bright as expected, differing ones pure red.
GoldenPicture diff_picture(const GoldenPicture& expected, const GoldenPicture& actual) {
    GoldenPicture diff = expected;
    for (size_t i = 0; i < diff.pixels.size(); ++i) {
        const uint32_t e = expected.pixels[i];
        diff.pixels[i] = e == actual.pixels[i] ? (e >> 2) & 0x3F3F3Fu : 0xFF0000u;
    }
    return diff;
}

int channel_delta(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift = 0; shift < 24; shift += 8)
        most = std::max(most, std::abs(int((a >> shift) & 255u) - int((b >> shift) & 255u)));
    return most;
}

// Bytes at offsets r, g and b of each pixel, rows stride bytes apart.
GoldenPicture picture_of(const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t stride,
                         uint32_t step, int r, int g, int b) {
    GoldenPicture picture;
    if (!pixels) return picture;
    picture.width = int32_t(width);
    picture.height = int32_t(height);
    for (uint32_t y = 0; y < height; ++y)
        for (const uint8_t* p = pixels + size_t(y) * stride;
             p < pixels + size_t(y) * stride + width * step; p += step)
            picture.pixels.push_back(uint32_t(p[r]) << 16 | uint32_t(p[g]) << 8 | p[b]);
    return picture;
}

}  // namespace

static std::string reviewed_path(const char* name) {
    return std::string(KORVEX_GOLDEN_DIR) + "/" + name + ".png";
}

std::string golden_output_path(const char* name, const char* kind) {
    return std::string(KORVEX_GOLDEN_OUT_DIR) + "/" + name + "." + kind + ".png";
}

bool golden_updating() {
    const char* v = std::getenv("KORVEX_GOLDEN_UPDATE");
    return v && std::strcmp(v, "1") == 0;
}

GoldenPicture golden_picture(const afx_pixbuf* p) {
    return p ? picture_of(p->pixels, p->width, p->height, p->stride, 4, 0, 1, 2) : GoldenPicture{};
}

GoldenPicture golden_picture(const afx_dib* d) {
    return d ? picture_of(d->pixels, d->width, d->height, d->stride, 3, 2, 1, 0) : GoldenPicture{};
}

bool golden_write_png(const char* path, const GoldenPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return false;
    std::vector<uint8_t> rgb(picture.pixels.size() * 3);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        rgb[i * 3] = uint8_t(picture.pixels[i] >> 16);
        rgb[i * 3 + 1] = uint8_t(picture.pixels[i] >> 8);
        rgb[i * 3 + 2] = uint8_t(picture.pixels[i]);
    }
    return stbi_write_png(path, picture.width, picture.height, 3, rgb.data(), picture.width * 3) !=
           0;
}

bool golden_read_png(const char* path, GoldenPicture* picture) {
    int w = 0, h = 0, channels = 0;
    uint8_t* rgb = stbi_load(path, &w, &h, &channels, 3);
    if (!rgb) return false;
    *picture = picture_of(rgb, uint32_t(w), uint32_t(h), uint32_t(w) * 3u, 3, 0, 1, 2);
    stbi_image_free(rgb);
    return true;
}

::testing::AssertionResult golden_match(const char* name, const afx_pixbuf* pixbuf) {
    return golden_match(name, golden_picture(pixbuf));
}

::testing::AssertionResult golden_match(const char* name, const GoldenPicture& actual) {
    const std::string reviewed = reviewed_path(name);
    if (golden_updating()) {
        if (!golden_write_png(reviewed.c_str(), actual))
            return ::testing::AssertionFailure() << "cannot write " << reviewed;
        std::printf("golden image updated: %s (look at it before committing)\n", reviewed.c_str());
        return golden_compare(name, actual, actual);
    }
    GoldenPicture expected;
    if (!golden_read_png(reviewed.c_str(), &expected)) {
        const std::string actual_png = golden_output_path(name, "actual");
        golden_write_png(actual_png.c_str(), actual);
        return ::testing::AssertionFailure()
               << "no reviewed image " << reviewed << ": look at " << actual_png
               << " and, when it is right, run `make golden-update`";
    }
    return golden_compare(name, expected, actual);
}

::testing::AssertionResult golden_compare(const char* name, const GoldenPicture& expected,
                                          const GoldenPicture& actual) {
    const std::string actual_png = golden_output_path(name, "actual");
    const std::string expected_png = golden_output_path(name, "expected");
    const std::string diff_png = golden_output_path(name, "diff");
    // Nothing stale from an earlier failure; a passing check writes nothing (large PNGs are slow).
    for (const std::string* path : {&actual_png, &expected_png, &diff_png})
        std::remove(path->c_str());
    if (expected.width != actual.width || expected.height != actual.height) {
        golden_write_png(actual_png.c_str(), actual);
        golden_write_png(expected_png.c_str(), expected);
        return ::testing::AssertionFailure()
               << name << ": rendered " << actual.width << " x " << actual.height << ", reviewed "
               << expected.width << " x " << expected.height << "; see " << actual_png << " and "
               << expected_png;
    }
    size_t differing = 0, first = 0;
    int largest = 0;
    int32_t left = actual.width, top = actual.height, right = -1, bottom = -1;
    for (size_t i = 0; i < actual.pixels.size(); ++i) {
        if (actual.pixels[i] == expected.pixels[i]) continue;
        if (differing++ == 0) first = i;
        largest = std::max(largest, channel_delta(actual.pixels[i], expected.pixels[i]));
        const int32_t x = int32_t(i % size_t(actual.width)), y = int32_t(i / size_t(actual.width));
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    golden_write_png(actual_png.c_str(), actual);
    golden_write_png(expected_png.c_str(), expected);
    golden_write_png(diff_png.c_str(), diff_picture(expected, actual));
    char where[160];
    std::snprintf(where, sizeof(where),
                  "first at (%d, %d): 0x%06X, reviewed 0x%06X; all within x %d..%d, y %d..%d",
                  int(first % size_t(actual.width)), int(first / size_t(actual.width)),
                  unsigned(actual.pixels[first]), unsigned(expected.pixels[first]), int(left),
                  int(right), int(top), int(bottom));
    return ::testing::AssertionFailure()
           << name << ": " << differing << " pixels differ (up to " << largest << " per channel), "
           << where << "\n  actual:   " << actual_png << "\n  expected: " << expected_png
           << "\n  diff:     " << diff_png;
}
