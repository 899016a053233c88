// Shared set-up of the toolkit tests over the in-memory backend: a fresh
// backend, a context with the library's class names and the test resources,
// a host window, and a log that every window callback writes into.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "afx/afx_context.h"
#include "afx/afx_window.h"
#include "afx/platform/headless/afx_headless.h"

// The test resources, embedded from afx-test.rc.
void* korvex_afx_test_resources_module();

class ToolkitTest : public ::testing::Test {
public:
    // Every callback as "what(a,b,c) ", and the user pointer of the last one.
    static std::string& log();
    static void* lastUser;
    static bool closeAllowed;  // the close query's answer

protected:
    void SetUp() override;
    void TearDown() override;
    // A child window of the given size inside the host window.
    int32_t newChild(int32_t width = 364, int32_t height = 538, float scale = 1.0f) {
        return afx_window_new(ctx, width, height, scale, parent, &userTag);
    }
    void* handle(int32_t index) { return afx_window_handle(ctx, index); }
    afx_headless_window* window(int32_t index) { return afx_headless_find(handle(index)); }
    // Registers every callback of a window so each one writes into log().
    void recordAll(int32_t index);

    afx_context* ctx = nullptr;
    void* parent = nullptr;
    int userTag = 0;
};
