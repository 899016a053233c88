// Load and unload: keeps the module handle that resources and window classes
// are found through. The toolkit's shared context and bitmap font are created
// here at attach and released at detach.
#include "frame/LibraryEntry.h"

#include "afx/afx_bitmap_font.h"
#include "afx/afx_context.h"

namespace {
void* g_module = nullptr;
// Window classes are "<base>-UI" and "<base>-SPLASH".
constexpr const char* kWindowClassBase = "27D706069AC8";
}  // namespace

void* libraryModule() { return g_module; }

bool dll_attach_detach(void* module, unsigned reason, void* /*reserved*/) {
    switch (reason) {
        case kLibraryAttach:
            g_module = module;
            afx_set_module(module);
            if (!afx_context_get(false)) {
                if (afx_context* context = afx_context_get(true)) {
                    afx_set_class_base(context, kWindowClassBase);
                    afx_bitmap_font_get(true);
                }
            }
            break;
        case kLibraryDetach:
            if (afx_context* context = afx_context_get(false)) {
                afx_destroy_all(context);
                if (afx_bitmap_font* font = afx_bitmap_font_get(false)) {
                    afx_bitmap_font_release(font);
                    afx_bitmap_font_free(font);
                }
                afx_context_release(context);
                afx_context_free(context);
            }
            g_module = nullptr;
            afx_set_module(nullptr);
            break;
        default: break;
    }
    return true;
}
