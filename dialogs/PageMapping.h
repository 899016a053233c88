// PageMapping: a page of logical pixels shown zoomed in a window, with the
// page's top-left corner at (offsetX, offsetY) in window pixels. The editor
// shows its panel this way and the dialog host its 640 x 480 page; both map
// pointer positions onto the page and changed page areas back onto the
// window with these rules, so a press lands on the control that was drawn
// under it at every zoom.
#pragma once

#include <cstdint>

struct PageRect {
    int32_t x, y, w, h;
};

struct PageMapping {
    float zoom;  // window pixels per page pixel, the screen's scale included
    int32_t offsetX;
    int32_t offsetY;

    // A window position on the page, rounded to the nearest page pixel.
    int32_t toPageX(int32_t x) const {
        return static_cast<int32_t>(static_cast<float>(x - offsetX) / zoom + 0.5f);
    }
    int32_t toPageY(int32_t y) const {
        return static_cast<int32_t>(static_cast<float>(y - offsetY) / zoom + 0.5f);
    }
    // Pointer travel in window pixels as a distance on the page.
    float toPageTravel(float windowPixels) const { return windowPixels / zoom; }
    // A page rectangle in window pixels: corner and size each zoomed and
    // rounded on their own, then the corner offset.
    PageRect toWindow(int32_t x, int32_t y, int32_t w, int32_t h) const {
        return {scaled(x) + offsetX, scaled(y) + offsetY, scaled(w), scaled(h)};
    }

private:
    int32_t scaled(int32_t v) const {
        return static_cast<int32_t>(static_cast<float>(v) * zoom + 0.5f);
    }
};
