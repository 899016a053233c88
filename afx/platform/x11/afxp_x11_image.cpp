// The X11 backend's presentation: a painter is a graphics context on the
// window; a bitmap is the toolkit's 24-bit surface plus an XImage in the
// server's pixel format, in shared memory (MIT-SHM) when the server is on
// this machine. A blit converts the rectangle and puts it on the window.
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <cstring>

#include "afx/platform/x11/afxp_x11.h"

namespace {

struct x11_painter {
    Window window;
    GC gc;
};

struct x11_bitmap {
    int32_t width = 0, height = 0;
    uint32_t stride = 0;
    uint8_t* pixels = nullptr;  // the toolkit's rows: blue, green, red
    XImage* image = nullptr;    // the server's format
    XShmSegmentInfo shm{};
    bool shared = false;
};

// An image in shared memory; null when the server cannot attach it (a
// remote display, or no segment to be had).
XImage* shared_image(x11_bitmap* b) {
    x11_state& s = x11();
    XImage* image =
        XShmCreateImage(s.display, s.visual, static_cast<unsigned>(s.depth), ZPixmap, nullptr,
                        &b->shm, static_cast<unsigned>(b->width), static_cast<unsigned>(b->height));
    if (!image) return nullptr;
    const size_t bytes =
        static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(image->height);
    b->shm.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    void* memory =
        b->shm.shmid >= 0 ? shmat(b->shm.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
    bool attached = false;
    if (memory != reinterpret_cast<void*>(-1)) {
        b->shm.shmaddr = image->data = static_cast<char*>(memory);
        b->shm.readOnly = False;
        x11_error_trap trap(s.display);
        attached = XShmAttach(s.display, &b->shm) && !trap.failed();
    }
    // Marked for removal now: the segment goes when both sides detach.
    if (b->shm.shmid >= 0) shmctl(b->shm.shmid, IPC_RMID, nullptr);
    if (attached) return image;
    if (memory != reinterpret_cast<void*>(-1)) shmdt(memory);
    image->data = nullptr;
    XDestroyImage(image);
    s.shared_memory = false;  // not worth trying again on this connection
    return nullptr;
}

XImage* plain_image(x11_bitmap* b) {
    x11_state& s = x11();
    XImage* image =
        XCreateImage(s.display, s.visual, static_cast<unsigned>(s.depth), ZPixmap, 0, nullptr,
                     static_cast<unsigned>(b->width), static_cast<unsigned>(b->height), 32, 0);
    if (!image) return nullptr;
    image->data =
        static_cast<char*>(std::calloc(static_cast<size_t>(image->bytes_per_line), b->height));
    if (!image->data) {
        XDestroyImage(image);
        return nullptr;
    }
    return image;
}

// The usual true-colour layout: 32 bits a pixel, red, green and blue in
// bits 16-23, 8-15 and 0-7 of a word in this machine's byte order.
bool word_layout(const XImage* i) {
    const uint16_t probe = 1;
    const bool little = *reinterpret_cast<const uint8_t*>(&probe) == 1;
    return i->bits_per_pixel == 32 && i->red_mask == 0xFF0000 && i->green_mask == 0xFF00 &&
           i->blue_mask == 0xFF && (i->byte_order == LSBFirst) == little;
}

void convert(x11_bitmap* b, int32_t sx, int32_t sy, int32_t width, int32_t height) {
    XImage* i = b->image;
    const bool words = word_layout(i);
    for (int32_t row = sy; row < sy + height; ++row) {
        const uint8_t* p =
            b->pixels + static_cast<size_t>(row) * b->stride + static_cast<size_t>(sx) * 3;
        if (words) {
            auto* out = reinterpret_cast<uint32_t*>(i->data +
                                                    static_cast<size_t>(row) * i->bytes_per_line) +
                        sx;
            for (int32_t n = 0; n < width; ++n, p += 3)
                *out++ = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        } else {
            // Any other visual: slower, through the server's own masks.
            for (int32_t col = sx; col < sx + width; ++col, p += 3) {
                auto channel = [](uint8_t v, unsigned long mask) {
                    unsigned long m = mask, shift = 0;
                    while (m && !(m & 1)) {
                        m >>= 1;
                        ++shift;
                    }
                    return (static_cast<unsigned long>(v) * m / 255) << shift;
                };
                XPutPixel(i, col, row,
                          channel(p[2], i->red_mask) | channel(p[1], i->green_mask) |
                              channel(p[0], i->blue_mask));
            }
        }
    }
}

}  // namespace

void* afxp_painter_new(void* window) {
    x11_window* w = x11_live(window);
    if (!w) return nullptr;
    GC gc = XCreateGC(x11().display, w->id, 0, nullptr);
    if (!gc) return nullptr;
    XSetGraphicsExposures(x11().display, gc, False);
    return new x11_painter{w->id, gc};
}

void afxp_painter_free(void*, void* painter) {
    auto* p = static_cast<x11_painter*>(painter);
    if (x11().display) XFreeGC(x11().display, p->gc);
    delete p;
}

void* afxp_bitmap_create(void*, int32_t width, int32_t height, uint32_t stride, void** pixels) {
    if (width <= 0 || height <= 0 || stride < static_cast<uint32_t>(width) * 3u) return nullptr;
    auto* b = new x11_bitmap;
    b->width = width;
    b->height = height;
    b->stride = stride;
    b->pixels = static_cast<uint8_t*>(std::calloc(stride, static_cast<size_t>(height)));
    // Without an X server the bitmap still takes drawing; it just has
    // nowhere to be shown.
    const bool server = x11_display() != nullptr;
    if (b->pixels && server && x11().shared_memory) {
        b->image = shared_image(b);
        b->shared = b->image != nullptr;
    }
    if (b->pixels && server && !b->image) b->image = plain_image(b);
    if (!b->pixels || (server && !b->image)) {
        std::free(b->pixels);
        delete b;
        return nullptr;
    }
    *pixels = b->pixels;
    return b;
}

void afxp_bitmap_delete(void* bitmap) {
    auto* b = static_cast<x11_bitmap*>(bitmap);
    Display* d = x11().display;
    if (b->shared) {
        if (d) XShmDetach(d, &b->shm);
        if (d) XSync(d, False);
        shmdt(b->shm.shmaddr);
        b->image->data = nullptr;
    }
    if (b->image) XDestroyImage(b->image);  // frees a plain image's pixels too
    std::free(b->pixels);
    delete b;
}

void afxp_blit(void* painter, void* bitmap, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
               int32_t width, int32_t height) {
    auto* p = static_cast<x11_painter*>(painter);
    auto* b = static_cast<x11_bitmap*>(bitmap);
    Display* d = x11().display;
    if (!p || !b || !d || !b->image || width < 1 || height < 1) return;
    convert(b, sx, sy, width, height);
    if (b->shared) {
        XShmPutImage(d, p->window, p->gc, b->image, sx, sy, dx, dy, static_cast<unsigned>(width),
                     static_cast<unsigned>(height), False);
        // The server reads the shared pixels later; the next conversion
        // must not overtake it.
        XSync(d, False);
    } else {
        XPutImage(d, p->window, p->gc, b->image, sx, sy, dx, dy, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    }
}
