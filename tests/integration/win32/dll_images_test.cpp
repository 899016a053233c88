// The editor's pictures as the shipped DLL carries them: every image id
// loads through the toolkit's pixel-data loader from korvex52.dll's own
// resources with the size the editor expects, and both window icons exist.
#include <windows.h>

#include <cstdio>
#include <initializer_list>

#include "afx/afx_context.h"
#include "afx/afx_pixbuf.h"

namespace {
struct Expected {
    int id;
    unsigned width, height;
};
const Expected kImages[] = {
    {128, 144, 538}, {131, 32, 32}, {132, 32, 32}, {134, 32, 32},   {198, 140, 32}, {251, 24, 48},
    {135, 32, 32},   {137, 32, 32}, {136, 32, 80}, {199, 500, 275}, {252, 24, 48},  {253, 24, 48},
};
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: dll_images_test korvex52.dll\n");
        return 2;
    }
    HMODULE dll = LoadLibraryA(argv[1]);
    if (!dll) {
        std::printf("cannot load %s\n", argv[1]);
        return 1;
    }
    afx_set_module(dll);
    afx_context* context = afx_context_get(true);
    int failures = 0;
    for (const Expected& e : kImages) {
        afx_pixbuf* image = afx_pixbuf_new_from_inline(context, e.id);
        if (!image) {
            std::printf("image %d: does not load\n", e.id);
            ++failures;
            continue;
        }
        if (image->width != e.width || image->height != e.height) {
            std::printf("image %d: %ux%u, expected %ux%u\n", e.id, image->width, image->height,
                        e.width, e.height);
            ++failures;
        }
        afx_pixbuf_free(context, image);
    }
    for (int icon : {200, 260}) {
        for (int size : {16, 32, 48}) {
            HANDLE h = LoadImageA(dll, MAKEINTRESOURCEA(icon), IMAGE_ICON, size, size, 0);
            if (!h) {
                std::printf("icon %d at %d px: does not load\n", icon, size);
                ++failures;
            } else {
                DestroyIcon(static_cast<HICON>(h));
            }
        }
    }
    std::printf("%d image and icon checks failed\n", failures);
    return failures == 0 ? 0 : 1;
}
