// Window bitmaps and their presentation: plain, dimmed and striped copies to
// the window, and the dotted surround with its resize grip.
#include "afx/afx_dib.h"

#include <cstdlib>
#include <cstring>

#include "afx/afx_context.h"
#include "afx/platform/afx_platform.h"

namespace {

constexpr uint32_t kMaxSide = 0x8000;
// The grip's orange.
constexpr uint8_t kGripR = 197, kGripG = 142, kGripB = 0;

void* window_painter(afx_context* context, int32_t index) {
    if (!context || index < 0 || index >= kAfxWindowSlots || !context->windows[index].in_use)
        return nullptr;
    return context->windows[index].painter;
}

afx_window* presentable(afx_context* context, int32_t index, const afx_dib* dib) {
    if (!context || !dib || !dib->bitmap || index < 0 || index >= kAfxWindowSlots) return nullptr;
    afx_window* w = &context->windows[index];
    return (w->in_use && w->painter) ? w : nullptr;
}

// Cuts the source rectangle so it starts and ends inside the bitmap.
void cut_to_bitmap(const afx_dib* dib, int32_t* sx, int32_t* sy, int32_t* w, int32_t* h) {
    const int32_t bw = static_cast<int32_t>(dib->width), bh = static_cast<int32_t>(dib->height);
    *sx = *sx < 0 ? 0 : (*sx > bw ? bw : *sx);
    *sy = *sy < 0 ? 0 : (*sy > bh ? bh : *sy);
    if (*w > bw - *sx) *w = bw - *sx;
    if (*h > bh - *sy) *h = bh - *sy;
}

void transfer(afx_window* w, afx_dib* dib, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
              int32_t width, int32_t height) {
    cut_to_bitmap(dib, &sx, &sy, &width, &height);
    if (width < 1 || height < 1) return;
    afxp_blit(w->painter, dib->bitmap, sx, sy, dx, dy, width, height);
}

size_t dib_bytes(const afx_dib* dib) { return static_cast<size_t>(dib->stride) * dib->height; }

}  // namespace

afx_dib* afx_dib_new(afx_context* context, uint32_t width, uint32_t height, int32_t window_index) {
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return nullptr;
    afx_dib* dib = static_cast<afx_dib*>(std::calloc(1, sizeof(afx_dib)));
    if (!dib) return nullptr;
    dib->width = width;
    dib->height = height;
    dib->stride = (width * 3u + 3u) & ~3u;
    void* pixels = nullptr;
    dib->bitmap =
        afxp_bitmap_create(window_painter(context, window_index), static_cast<int32_t>(width),
                           static_cast<int32_t>(height), dib->stride, &pixels);
    if (!dib->bitmap || !pixels) {
        if (dib->bitmap) afxp_bitmap_delete(dib->bitmap);
        std::free(dib);
        return nullptr;
    }
    dib->pixels = static_cast<uint8_t*>(pixels);
    std::memset(dib->pixels, 0, dib_bytes(dib));
    return dib;
}

void afx_dib_free(afx_context*, afx_dib* dib) {
    if (!dib) return;
    if (dib->bitmap) afxp_bitmap_delete(dib->bitmap);
    std::free(dib);
}

void afx_present(afx_context* context, int32_t index, afx_dib* dib, int32_t sx, int32_t sy,
                 int32_t dx, int32_t dy, int32_t width, int32_t height) {
    if (afx_window* w = presentable(context, index, dib))
        transfer(w, dib, sx, sy, dx, dy, width, height);
}

void afx_present_dimmed(afx_context* context, int32_t index, afx_dib* dib, int32_t sx, int32_t sy,
                        int32_t dx, int32_t dy, int32_t width, int32_t height) {
    afx_window* w = presentable(context, index, dib);
    if (!w) return;
    const size_t n = dib_bytes(dib);
    uint8_t* saved = static_cast<uint8_t*>(std::malloc(n));
    if (!saved) return;
    std::memcpy(saved, dib->pixels, n);
    for (size_t i = 0; i < n; ++i) dib->pixels[i] = static_cast<uint8_t>(dib->pixels[i] >> 1);
    transfer(w, dib, sx, sy, dx, dy, width, height);
    std::memcpy(dib->pixels, saved, n);
    std::free(saved);
}

void afx_present_striped(afx_context* context, int32_t index, afx_dib* dib, int32_t sx, int32_t sy,
                         int32_t dx, int32_t dy, int32_t width, int32_t height, float scale) {
    afx_window* w = presentable(context, index, dib);
    if (!w || !(scale > 0.0f)) return;
    const size_t n = dib_bytes(dib);
    uint8_t* saved = static_cast<uint8_t*>(std::malloc(n));
    if (!saved) return;
    std::memcpy(saved, dib->pixels, n);
    // The band counter advances 1/scale logical rows (in 16.16) per device
    // row; bit 17 flips every two logical rows.
    const uint32_t advance = static_cast<uint32_t>(static_cast<int32_t>(256.0f / scale)) << 8;
    uint32_t counter = 0;
    for (uint32_t row = 0; row < dib->height; ++row, counter += advance) {
        const bool darker = (counter & (1u << 17)) == 0;
        uint8_t* p = dib->pixels + static_cast<size_t>(row) * dib->stride;
        for (uint32_t col = 0; col < dib->width; ++col, p += 3) {
            uint32_t grey = (uint32_t(p[2]) >> 2) + (uint32_t(p[1]) >> 1) + (uint32_t(p[0]) >> 3);
            if (darker) grey -= grey >> 3;
            p[0] = p[1] = p[2] = static_cast<uint8_t>(grey);
        }
    }
    transfer(w, dib, sx, sy, dx, dy, width, height);
    std::memcpy(dib->pixels, saved, n);
    std::free(saved);
}

afx_dib* afx_dib_new_pattern(afx_context* context, uint32_t width, uint32_t height, uint32_t r,
                             uint32_t g, uint32_t b, int32_t grip_size, int32_t grip_margin,
                             int32_t period, int32_t dot_size, int32_t window_index) {
    afx_dib* dib = afx_dib_new(context, width, height, window_index);
    if (!dib) return nullptr;
    // Dots at 2/7 of the colour: (c x 256 / 7) >> 7.
    const uint8_t base[3] = {static_cast<uint8_t>(((b & 0xFFu) * 256u / 7u) >> 7),
                             static_cast<uint8_t>(((g & 0xFFu) * 256u / 7u) >> 7),
                             static_cast<uint8_t>(((r & 0xFFu) * 256u / 7u) >> 7)};
    const int32_t w = static_cast<int32_t>(width), h = static_cast<int32_t>(height);
    // The grip square: grip_size pixels, grip_margin pixels in from the right and bottom.
    const int32_t right = w - grip_margin, bottom = h - grip_margin;
    const int32_t left = right - grip_size, top = bottom - grip_size;
    const int32_t cell = grip_size / 5, dot = cell / 2;
    int32_t row_counter = 0;
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* p = dib->pixels + static_cast<size_t>(y) * dib->stride;
        int32_t col_counter = 0;
        for (int32_t x = 0; x < w; ++x, p += 3) {
            const uint8_t* colour = nullptr;
            if (grip_size > 0 && x >= left && x < right && y >= top && y < bottom) {
                const int32_t from_right = right - 1 - x, from_bottom = bottom - 1 - y;
                // On or below the diagonal from the square's top-right to its bottom-left.
                if (cell > 0 && from_right + from_bottom <= grip_size - 1 &&
                    from_right % cell < dot && from_bottom % cell < dot) {
                    static const uint8_t grip[3] = {kGripB, kGripG, kGripR};
                    colour = grip;
                }
            } else if (col_counter < dot_size && row_counter < dot_size) {
                colour = base;
            }
            if (colour) {
                p[0] = colour[0];
                p[1] = colour[1];
                p[2] = colour[2];
            }
            if (++col_counter >= period) col_counter = 0;
        }
        if (++row_counter >= period) row_counter = 0;
    }
    return dib;
}
