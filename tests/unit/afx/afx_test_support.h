// Shared set-up of the toolkit tests over the in-memory backend: a fresh
// backend, a context with the library's class names and the test resources,
// and a log that every window callback writes into.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "afx/afx_dib.h"
#include "afx/platform/headless/afx_headless.h"

// A window bitmap's pixel as 0x00RRGGBB (stored blue, green, red).
inline uint32_t dib_pixel(const afx_dib* d, int x, int y) {
    const uint8_t* p = d->pixels + static_cast<size_t>(y) * d->stride + x * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
inline void set_dib_pixel(afx_dib* d, int x, int y, uint32_t rgb) {
    uint8_t* p = d->pixels + static_cast<size_t>(y) * d->stride + x * 3;
    p[0] = rgb & 255;
    p[1] = (rgb >> 8) & 255;
    p[2] = uint8_t(rgb >> 16);
}

// The test resources, embedded from afx-test.rc.
void* korvex_afx_test_resources_module();

struct CallbackRecord {
    std::string what;
    int32_t a, b, c;  // coordinates / key fields, as each callback passes them
    int32_t index;
    void* user;
};

class ToolkitTest : public ::testing::Test {
public:
    static std::vector<CallbackRecord>& log();
    // The log as "what(a,b,c) " per record, for comparing whole sequences.
    static std::string logText();

protected:
    void SetUp() override;
    void TearDown() override;

    // A child window of the given size inside a parent made for it.
    int32_t newChild(int32_t width = 364, int32_t height = 538, float scale = 1.0f);
    void* handle(int32_t index) { return afx_window_handle(ctx, index); }
    // Registers every callback of a window so each one writes into log().
    void recordAll(int32_t index);

    afx_context* ctx = nullptr;
    void* parent = nullptr;
    int userTag = 0;
};
