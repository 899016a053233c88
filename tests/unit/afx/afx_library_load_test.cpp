// The context and the read-out's bitmap font exist from attach to detach.
#include <gtest/gtest.h>

#include "afx/afx_bitmap_font.h"
#include "afx/afx_context.h"
#include "frame/LibraryEntry.h"

namespace {

TEST(LibraryLoad, AttachMakesTheContextAndBitmapFontAndDetachFreesBoth) {
    ASSERT_EQ(afx_context_get(false), nullptr);
    ASSERT_EQ(afx_bitmap_font_get(false), nullptr);
    EXPECT_TRUE(dll_attach_detach(nullptr, kLibraryAttach, nullptr));
    afx_context* context = afx_context_get(false);
    afx_bitmap_font* font = afx_bitmap_font_get(false);
    ASSERT_NE(context, nullptr);
    ASSERT_NE(font, nullptr);
    EXPECT_STREQ(context->ui_class, "27D706069AC8-UI");
    EXPECT_EQ(font->context, context);
    EXPECT_GT(afx_bitmap_font_height(font), 0);
    EXPECT_TRUE(dll_attach_detach(nullptr, kLibraryDetach, nullptr));
    EXPECT_EQ(afx_context_get(false), nullptr);
    EXPECT_EQ(afx_bitmap_font_get(false), nullptr);  // the sanitizer build reports a leak
}

}  // namespace
