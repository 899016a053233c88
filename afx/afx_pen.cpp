// The pen and its four primitives. Each clips its visit range to the clip box
// once, then runs integer 16.16 loops: the only floating point is converting
// the arguments.
#include "afx/afx_pen.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "afx/afx_fixed.h"
#include "afx/afx_pixbuf.h"

namespace {

// An inclusive pixel range, already inside the clip box and the target.
struct VisitRange {
    int32_t x0, x1, y0, y1;
};

bool can_draw(const afx_pen* pen) {
    return pen && pen->target && pen->target->pixels && pen->a != 0;
}

// Every argument a number: a NaN or an infinity draws nothing.
bool finite(std::initializer_list<float> values) {
    for (float v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

// Lowest and highest column (or row) a primitive may write: strictly inside
// the clip box, and inside the target.
int32_t first_inside(int32_t clip_low) { return clip_low + 1 > 0 ? clip_low + 1 : 0; }
int32_t last_inside(int32_t clip_high, uint32_t size) {
    const int32_t last = static_cast<int32_t>(size) - 1;
    return clip_high - 1 < last ? clip_high - 1 : last;
}

// Floor and ceiling of a coordinate as the 16.16 loops see it (arithmetic shifts).
int32_t floor_px(float v) { return afx_fx16(v) >> 16; }
int32_t ceil_px(float v) { return -((-afx_fx16(v)) >> 16); }

// floor(left)..ceil(right) by floor(top)..ceil(bottom), clipped; false when empty.
bool visit_range(const afx_pen* pen, float left, float right, float top, float bottom,
                 VisitRange* out) {
    const int32_t x0 = floor_px(left), x1 = ceil_px(right);
    const int32_t y0 = floor_px(top), y1 = ceil_px(bottom);
    const int32_t lx = first_inside(pen->clip_left),
                  hx = last_inside(pen->clip_right, pen->target->width);
    const int32_t ly = first_inside(pen->clip_top),
                  hy = last_inside(pen->clip_bottom, pen->target->height);
    out->x0 = x0 > lx ? x0 : lx;
    out->x1 = x1 < hx ? x1 : hx;
    out->y0 = y0 > ly ? y0 : ly;
    out->y1 = y1 < hy ? y1 : hy;
    return out->x0 <= out->x1 && out->y0 <= out->y1;
}

uint8_t* row_of(const afx_pen* pen, int32_t y) {
    return pen->target->pixels + static_cast<size_t>(y) * pen->target->stride;
}

// Blends the pen colour into one pixel with the coverage of distance_fx16.
inline void plot(const afx_pen* pen, uint8_t* row, int32_t x, int64_t distance_fx16) {
    if (distance_fx16 >= 32768) return;  // beyond the ramp: no coverage
    if (distance_fx16 < -65536) distance_fx16 = -65536;
    const uint32_t alpha = afx_coverage_alpha(static_cast<int32_t>(distance_fx16), pen->a);
    if (alpha == 0) return;
    uint8_t* p = row + static_cast<size_t>(x) * 4u;
    p[0] = static_cast<uint8_t>(afx_blend_channel(p[0], pen->r, alpha));
    p[1] = static_cast<uint8_t>(afx_blend_channel(p[1], pen->g, alpha));
    p[2] = static_cast<uint8_t>(afx_blend_channel(p[2], pen->b, alpha));
}

// Where a shape's coverage is length - offset, the bit-by-bit root is needed
// only on the one-pixel ramp. Off the ramp the squared length decides alone,
// exactly: floor(sqrt(s)) >= t exactly when s >= t * t, and every distance
// of -32767 or less gives the same full alpha (the ramp is clamped there).
struct RootBands {
    uint64_t full_below = 0;          // s below this: full coverage
    uint64_t none_from = UINT64_MAX;  // s from this on: no coverage
};

RootBands root_bands(int64_t offset) {
    RootBands b;
    const int64_t none_root = offset + 32768;  // length at which the ramp ends
    if (none_root <= 0) {
        b.none_from = 0;
    } else if (none_root < (int64_t(1) << 32)) {
        b.none_from = static_cast<uint64_t>(none_root) * static_cast<uint64_t>(none_root);
    }
    const int64_t full_root = offset - 32766;  // lengths below this are fully inside
    if (full_root > 0 && full_root < (int64_t(1) << 32)) {
        b.full_below = static_cast<uint64_t>(full_root) * static_cast<uint64_t>(full_root);
    }
    return b;
}

// Squared lengths below this lie so far inside a ring's inner edge
// (inner - length >= 32768) that they get no coverage.
uint64_t hole_bound(int64_t inner16) {
    const int64_t root = inner16 - 32767;
    return root > 0 && root < (int64_t(1) << 32)
               ? static_cast<uint64_t>(root) * static_cast<uint64_t>(root)
               : 0;
}

// The distance of a pixel whose squared length is squared, for plot.
inline int64_t banded_distance(const RootBands& b, uint64_t squared, int64_t offset) {
    if (squared >= b.none_from) return 32768;
    if (squared < b.full_below) return -32767;
    return int64_t(afx_isqrt64(squared)) - offset;
}

}  // namespace

void afx_pen_init(afx_pen* pen) {
    afx_set_colour(pen, 0, 0, 0, 255);
    pen->clip_left = pen->clip_right = pen->clip_top = pen->clip_bottom = 0;
    pen->radius_fx8 = 0;
    pen->radius = 0.0f;
    pen->target = nullptr;
}

void afx_set_colour(afx_pen* pen, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    pen->r = r & 255u;
    pen->g = g & 255u;
    pen->b = b & 255u;
    pen->a = a & 255u;
}

void afx_pen_set_target(afx_pen* pen, afx_pixbuf* pixbuf) {
    pen->target = pixbuf;
    pen->clip_left = 0;
    pen->clip_top = 0;
    pen->clip_right = pixbuf ? static_cast<int32_t>(pixbuf->width) : 0;
    pen->clip_bottom = pixbuf ? static_cast<int32_t>(pixbuf->height) : 0;
}

void afx_pen_set_clip(afx_pen* pen, int32_t left, int32_t right, int32_t top, int32_t bottom) {
    pen->clip_left = left;
    pen->clip_right = right;
    pen->clip_top = top;
    pen->clip_bottom = bottom;
}

void afx_pen_set_radius(afx_pen* pen, float radius) {
    pen->radius = radius;
    pen->radius_fx8 = afx_fx8(radius);
}

void afx_fill_disc(afx_pen* pen, float cx, float cy, float r) {
    VisitRange v;
    if (!can_draw(pen) || !finite({cx, cy, r}) || r < 0.0f ||
        !visit_range(pen, cx - r, cx + r, cy - r, cy + r, &v))
        return;
    const int64_t cx16 = afx_fx16(cx), cy16 = afx_fx16(cy), r16 = afx_fx16(r);
    const RootBands bands = root_bands(r16);
    for (int32_t y = v.y0; y <= v.y1; ++y) {
        uint8_t* row = row_of(pen, y);
        const int64_t dy = (int64_t(y) << 16) - cy16;
        for (int32_t x = v.x0; x <= v.x1; ++x) {
            const int64_t dx = (int64_t(x) << 16) - cx16;
            plot(pen, row, x,
                 banded_distance(bands, static_cast<uint64_t>(dx * dx + dy * dy), r16));
        }
    }
}

void afx_fill_round_rect(afx_pen* pen, float x, float y, float width, float height) {
    VisitRange v;
    if (!can_draw(pen) || !finite({x, y, width, height, pen->radius}) || width < 0.0f ||
        height < 0.0f || !visit_range(pen, x, x + width, y, y + height, &v)) {
        return;
    }
    const int64_t hw = afx_fx16(width * 0.5f), hh = afx_fx16(height * 0.5f);
    const int64_t corner = afx_fx16(pen->radius);
    const int64_t left = afx_fx16(x), top = afx_fx16(y);
    const RootBands bands = root_bands(corner + 32768);
    for (int32_t yi = v.y0; yi <= v.y1; ++yi) {
        uint8_t* row = row_of(pen, yi);
        const int64_t py = (int64_t(yi) << 16) - hh - top;
        int64_t qy = (py < 0 ? -py : py) - (hh - corner);
        if (qy < 0) qy = 0;
        for (int32_t xi = v.x0; xi <= v.x1; ++xi) {
            const int64_t px = (int64_t(xi) << 16) - hw - left;
            int64_t qx = (px < 0 ? -px : px) - (hw - corner);
            if (qx < 0) qx = 0;
            plot(pen, row, xi,
                 banded_distance(bands, static_cast<uint64_t>(qx * qx + qy * qy), corner + 32768));
        }
    }
}

void afx_fill_arc(afx_pen* pen, float cx, float cy, float inner, float outer, float start_deg,
                  float end_deg) {
    VisitRange v;
    if (!can_draw(pen) || !finite({cx, cy, inner, outer, start_deg, end_deg}) || outer < inner ||
        end_deg < start_deg ||
        !visit_range(pen, cx - outer, cx + outer, cy - outer, cy + outer, &v)) {
        return;
    }
    const int32_t cx16 = afx_fx16(cx), cy16 = afx_fx16(cy);
    const int64_t inner16 = afx_fx16(inner), outer16 = afx_fx16(outer);
    const int64_t start = afx_fx16(start_deg), end = afx_fx16(end_deg);
    const int64_t mid = start + (end - start) / 2;
    // Pixels beyond the outer ramp or inside the inner one get nothing
    // whatever their angle: decided from the squared length alone.
    const RootBands outside = root_bands(outer16);
    const uint64_t hole_below = hole_bound(inner16);
    for (int32_t y = v.y0; y <= v.y1; ++y) {
        uint8_t* row = row_of(pen, y);
        const int32_t py = y << 16;
        const int64_t dy = int64_t(py) - cy16;
        for (int32_t x = v.x0; x <= v.x1; ++x) {
            const int32_t px = x << 16;
            const int64_t dx = int64_t(px) - cx16;
            const uint64_t squared = static_cast<uint64_t>(dx * dx + dy * dy);
            if (squared >= outside.none_from || squared < hole_below) continue;
            const int64_t degrees = int64_t(afx_angle_fx16(cx16, cy16, px, py)) * 360;
            const int64_t len = afx_isqrt64(squared);
            int64_t distance = len - outer16;
            if (inner16 - len > distance) distance = inner16 - len;
            const int64_t beyond = degrees > mid ? degrees - end : start - degrees;
            if (beyond > distance) distance = beyond;
            plot(pen, row, x, distance);
        }
    }
}

namespace {

// A stroke's segment in 16.16, ends ordered so that a.y <= b.y.
struct Segment {
    int64_t ax, ay, bx, by;
    int64_t dx, dy;
    uint64_t length2;  // |b - a|^2, 32.32
    int64_t half_width;
};

// Distance from (px, py) to the segment, minus the half-width, in 16.16. The
// projection parameter is 16.16 in 0..1; the length is the 16-round root of
// the 16.16 sum of squares, back in 16.16.
int64_t stroke_distance(const Segment& s, int64_t px, int64_t py) {
    int64_t t = 0;
    if (s.length2 != 0) {
        int64_t dot = (px - s.ax) * s.dx + (py - s.ay) * s.dy;
        if (dot < 0) dot = 0;
        const uint64_t along =
            static_cast<uint64_t>(dot) < s.length2 ? static_cast<uint64_t>(dot) : s.length2;
        // Long segments lose the low bits of the divisor rather than overflow.
        t = s.length2 < (uint64_t(1) << 32) ? static_cast<int64_t>((along << 16) / s.length2)
                                            : static_cast<int64_t>(along / (s.length2 >> 16));
    }
    const int64_t ex = px - (s.ax + ((t * s.dx) >> 16));
    const int64_t ey = py - (s.ay + ((t * s.dy) >> 16));
    const uint64_t sum = static_cast<uint64_t>(ex * ex + ey * ey) >> 16;
    if (sum > 0xFFFFFFFFu) return int64_t(1) << 32;  // hundreds of pixels away
    return (int64_t(afx_isqrt32(static_cast<uint32_t>(sum))) << 8) - s.half_width;
}

}  // namespace

void afx_stroke_line(afx_pen* pen, float x1, float y1, float x2, float y2) {
    if (!can_draw(pen) || !finite({x1, y1, x2, y2, pen->radius}) || pen->radius < 0.0f) return;
    if (y2 < y1) {
        float t = x1;
        x1 = x2;
        x2 = t;
        t = y1;
        y1 = y2;
        y2 = t;
    }
    Segment s;
    s.ax = afx_fx16(x1);
    s.ay = afx_fx16(y1);
    s.bx = afx_fx16(x2);
    s.by = afx_fx16(y2);
    s.dx = s.bx - s.ax;
    s.dy = s.by - s.ay;
    s.length2 = static_cast<uint64_t>(s.dx * s.dx) + static_cast<uint64_t>(s.dy * s.dy);
    s.half_width = afx_fx16(pen->radius);
    // The run reaches 2 Wr + 2 pixels to each side of the line and the walk as
    // far beyond each end: enough for every pixel within W + 0.5 at any slope.
    const int32_t reach = 2 * static_cast<int32_t>(pen->radius + 0.5f) + 2;

    // Walk the major axis one pixel per step; the minor position follows in a
    // 16.16 accumulator. Every step owns one major coordinate, so no pixel is
    // visited twice.
    const bool x_major = (s.dx < 0 ? -s.dx : s.dx) >= s.dy;
    const int64_t major_a = x_major ? s.ax : s.ay, major_b = x_major ? s.bx : s.by;
    const int64_t minor_a = x_major ? s.ay : s.ax;
    const int64_t major_d = major_b - major_a, minor_d = x_major ? s.dy : s.dx;
    const int32_t step = major_d < 0 ? -1 : 1;
    const int64_t major_len = major_d < 0 ? -major_d : major_d;
    const int64_t increment = major_len == 0 ? 0 : minor_d * 65536 / major_len;
    const int32_t first =
        (step > 0 ? static_cast<int32_t>(major_a >> 16) : -static_cast<int32_t>((-major_a) >> 16)) -
        step * reach;
    const int32_t last =
        (step > 0 ? -static_cast<int32_t>((-major_b) >> 16) : static_cast<int32_t>(major_b >> 16)) +
        step * reach;
    int64_t minor = minor_a + (((int64_t(first) * 65536 - major_a) * step * increment) >> 16);

    const int32_t lx = first_inside(pen->clip_left),
                  hx = last_inside(pen->clip_right, pen->target->width);
    const int32_t ly = first_inside(pen->clip_top),
                  hy = last_inside(pen->clip_bottom, pen->target->height);
    const int32_t major_lo = x_major ? lx : ly, major_hi = x_major ? hx : hy;
    const int32_t minor_lo = x_major ? ly : lx, minor_hi = x_major ? hy : hx;
    for (int32_t i = first;; i += step, minor += increment) {
        if (i >= major_lo && i <= major_hi) {
            const int32_t centre = static_cast<int32_t>((minor + 32768) >> 16);
            const int32_t j0 = centre - reach > minor_lo ? centre - reach : minor_lo;
            const int32_t j1 = centre + reach < minor_hi ? centre + reach : minor_hi;
            for (int32_t j = j0; j <= j1; ++j) {
                const int32_t x = x_major ? i : j, y = x_major ? j : i;
                plot(pen, row_of(pen, y), x,
                     stroke_distance(s, int64_t(x) << 16, int64_t(y) << 16));
            }
        }
        if (i == last) break;
    }
}
