// A fixture for the captioned widgets: the library's own font atlases as the
// resource module, and a reference text state to compare captions with.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "afx/afx_context.h"
#include "afx/afx_text.h"
#include "widget_test_support.h"

// The library's resources, embedded from korvex52.rc into each widget test program.
void* korvex_widget_resources_module();

class CaptionTest : public ::testing::Test {
protected:
    void SetUp() override { afx_set_module(korvex_widget_resources_module()); }
    void TearDown() override { afx_set_module(nullptr); }

    // Draws caption into canvas with a separate text state, the way a caption
    // of that size is meant to sit: left edge x, capitals centred on the box
    // (top, height): baseline top + height - ceil((height - cap height) / 2).
    static void referenceCaption(Canvas& canvas, const char* caption, float size, float x,
                                 float top, float height, uint32_t r, uint32_t g, uint32_t b) {
        afx_text t;
        afx_text_init(&t);
        afx_set_colour(&t, r, g, b, 255);
        afx_text_set_target(&t, canvas.pixbuf);
        afx_text_set_size(&t, size);
        const float cap = afx_text_cap_height(&t);
        afx_text_move_to(&t, x, top + height - std::ceil((height - cap) / 2.0f));
        afx_text_draw(&t, caption);
        afx_text_release(&t);
    }
    // Width of caption at size, measured with a separate text state.
    static float referenceWidth(const char* caption, float size) {
        afx_text t;
        afx_text_init(&t);
        afx_text_set_size(&t, size);
        const float w = afx_text_width(&t, caption);
        afx_text_release(&t);
        return w;
    }
};
