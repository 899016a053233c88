// Every pixel of generated discs, boxes, arcs and lines, some clipped, against the
// coverage of its distance beyond the outline in floating point; the pen's bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>

#include "afx/afx_pen.h"
#include "widget_test_support.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kInk[3] = {220, 180, 90}, kGround[4] = {20, 40, 60, 200};

// A distance beyond the outline, or the least and most it can be for an angle known to 0.25
// degrees.
struct Excess {
    Excess(double d) : least(d), most(d) {}  // NOLINT: a plain distance is an interval of one
    Excess(double l, double m) : least(l), most(m) {}
    double least, most;
};

// The first pixel not ink over ground at its excess's coverage (ground outside the clip), or "".
std::string shadeMiss(const Canvas& c, const std::function<Excess(int32_t, int32_t)>& excess,
                      uint32_t alpha, int32_t tolerance, const afx_pen& clip) {
    for (int32_t y = 0; y < int32_t(c.pixbuf->height); ++y) {
        for (int32_t x = 0; x < int32_t(c.pixbuf->width); ++x) {
            const bool inside = x > clip.clip_left && x < clip.clip_right && y > clip.clip_top &&
                                y < clip.clip_bottom;
            const Excess d = inside ? excess(x, y) : Excess{1.0, 1.0};
            const uint32_t got = c.at(x, y);
            bool miss = got >> 24 != kGround[3];
            for (int32_t ch = 0; ch < 3; ++ch) {
                const int32_t g = int32_t(kGround[ch]), ink = int32_t(kInk[ch]);
                const int32_t least =
                    referenceBlend(g, ink, referenceCoverageAlpha(d.most, int32_t(alpha)));
                const int32_t most =
                    referenceBlend(g, ink, referenceCoverageAlpha(d.least, int32_t(alpha)));
                const int32_t v = int32_t(got >> (8 * ch) & 255u);
                miss |=
                    v < std::min(least, most) - tolerance || v > std::max(least, most) + tolerance;
            }
            if (miss) return std::to_string(x) + "," + std::to_string(y);
        }
    }
    return std::string();
}

// Exact where a disc or a box sits on whole or half pixels, within one step
// elsewhere; a pixel blended twice (a seam in a translucent line) is off by more.
TEST(Pen, EveryPixelOfAShapeFollowsItsDistanceBeyondTheOutline) {
    std::mt19937 rng(11);
    const auto pick = [&](double lo, double hi, bool grid = false) {
        const double v = std::uniform_real_distribution<double>(lo, hi)(rng);
        return grid ? std::round(v * 2.0) / 2.0 : v;
    };
    const uint32_t alphas[] = {0, 1, 64, 96, 128, 254, 255, 255};
    for (int i = 0; i < 160; ++i) {
        const bool grid = i % 8 < 4;
        const uint32_t alpha = alphas[(i / 4) % 8];
        int32_t tolerance = grid ? 0 : 1;
        Canvas c(48, 40, kGround[0], kGround[1], kGround[2], kGround[3]);
        afx_pen p;
        afx_pen_init(&p);
        afx_pen_set_target(&p, c.pixbuf);
        afx_set_colour(&p, kInk[0], kInk[1], kInk[2], alpha);
        if (i % 5 == 4) {  // a clip box inside the canvas
            afx_pen_set_clip(&p, int32_t(pick(0, 12)), int32_t(pick(36, 48)), int32_t(pick(0, 10)),
                             int32_t(pick(30, 40)));
        }
        std::function<Excess(int32_t, int32_t)> excess;
        const int shape = i % 4;
        if (shape == 0) {
            const double x = pick(-4, 52, grid), y = pick(-4, 44, grid), r = pick(0, 12, grid);
            afx_fill_disc(&p, float(x), float(y), float(r));
            excess = [=](int32_t px, int32_t py) { return std::hypot(px - x, py - y) - r; };
        } else if (shape == 1) {
            // A box reaches half a pixel past its width and height; corners of radius r.
            const double x = pick(-4, 30, grid), y = pick(-4, 26, grid), w = pick(0, 24, grid),
                         h = pick(0, 20, grid), r = grid ? 0.0 : pick(0, std::fmin(w, h) / 2);
            afx_pen_set_radius(&p, float(r));
            afx_fill_round_rect(&p, float(x), float(y), float(w), float(h));
            excess = [=](int32_t px, int32_t py) {
                const double qx = std::fmax(std::fabs(px - (x + w / 2)) - (w / 2 - r), 0.0);
                const double qy = std::fmax(std::fabs(py - (y + h / 2)) - (h / 2 - r), 0.0);
                return std::hypot(qx, qy) - r - 0.5;
            };
        } else if (shape == 2) {
            // Round caps: every pixel within the pen's radius of the segment; zero length: a dot.
            const double ax = pick(-4, 52), ay = pick(-4, 44), w = (i / 4) % 5 * 1.25;
            const double bx = i % 12 == 2 ? ax : pick(-4, 52), by = i % 12 == 2 ? ay : pick(-4, 44);
            afx_pen_set_radius(&p, float(w));
            afx_stroke_line(&p, float(ax), float(ay), float(bx), float(by));
            excess = [=](int32_t px, int32_t py) {
                const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
                const double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
                const double u = std::fmin(std::fmax(t, 0.0), 1.0);
                return std::hypot(px - (ax + u * dx), py - (ay + u * dy)) - w;
            };
            tolerance = 1;
        } else {
            // A band from start to end degrees clockwise from straight down (the knob's
            // track first); degrees beyond an end fade like pixels beyond an edge.
            const double x = pick(14, 34), y = pick(14, 26), inner = pick(0, 10);
            const double outer = inner + pick(2, 10), start = i == 3 ? 45 : pick(-45, 200);
            const double end = i == 3 ? 315 : pick(start, 315);
            afx_fill_arc(&p, float(x), float(y), float(inner), float(outer), float(start),
                         float(end));
            excess = [=](int32_t px, int32_t py) {
                const double len = std::hypot(px - x, py - y),
                             radial = std::fmax(len - outer, inner - len);
                Excess d{1e9, -1e9};
                const double down = std::atan2(x - px, py - y) * 180.0 / kPi;  // -45..315
                const double a = down < -45.0 ? down + 360.0 : down;
                for (double turn : {-0.25, 0.25, a < -44.75 ? 360.0 : 0.0}) {
                    const double around =
                        a + turn > (start + end) / 2 ? a + turn - end : start - a - turn;
                    d.least = std::fmin(d.least, std::fmax(radial, around));
                    d.most = std::fmax(d.most, std::fmax(radial, around));
                }
                return d;
            };
            tolerance = 2;
        }
        EXPECT_EQ(shadeMiss(c, excess, alpha, tolerance, p), "")
            << "case " << i << " alpha " << alpha;
    }
}

TEST(Pen, NothingIsDrawnWithoutATargetOrWithInvalidOrFarAwayShapes) {
    Canvas c(16, 16, 9, 9, 9);
    afx_pen p;
    afx_pen_init(&p);
    afx_fill_disc(&p, 8, 8, 5);  // no target: nothing to write, nothing to crash
    afx_pen_set_target(&p, c.pixbuf);
    afx_set_colour(&p, 255, 255, 255, 255);
    for (const float bad : {-0.5f, std::numeric_limits<float>::quiet_NaN()}) {
        afx_fill_disc(&p, 8, 8, bad);
        afx_fill_round_rect(&p, 2, bad, 10, bad);
        afx_fill_arc(&p, 8, 8, 6, 6 + bad, 0, 360);  // outer inside inner
        afx_pen_set_radius(&p, bad);
        afx_stroke_line(&p, 1, 1, 14, 14);
    }
    afx_fill_disc(&p, 1e9f, -1e9f, 3);  // held at 8192 pixels: still far away
    EXPECT_EQ(c.countNot(rgba(9, 9, 9)), 0);
}

}  // namespace
