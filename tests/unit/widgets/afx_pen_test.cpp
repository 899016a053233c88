// The pen's primitives against their contracts: the integer roots, the
// coverage ramp, the angle, each shape's covered pixels compared with a
// floating-point distance computed here, the clip box, and the edges (zero
// and negative sizes, shapes off the canvas, alpha 0 and 255).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <random>

#include "afx/afx_fixed.h"
#include "afx/afx_pen.h"
#include "widget_test_support.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// floor(sqrt(v)) by long-double root and exact integer correction.
uint64_t exactRoot(uint64_t v) {
    uint64_t r = static_cast<uint64_t>(std::sqrt(static_cast<long double>(v)));
    while (r > 0 && (r > 0xFFFFFFFFull || r * r > v)) --r;
    while (r < 0xFFFFFFFFull && (r + 1) * (r + 1) <= v) ++r;
    return r;
}

// Clockwise degrees from straight down, on the screen (y grows downwards), in -45..315.
double screenAngle(double dx, double dy) {
    double a = std::atan2(-dx, dy) * 180.0 / kPi;  // 0 down, 90 left
    if (a < -45.0) a += 360.0;
    return a;
}

// Distance from p to the segment a-b.
double segmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
    t = std::fmin(std::fmax(t, 0.0), 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

struct PenOn {
    explicit PenOn(Canvas& c, uint32_t r = 255, uint32_t g = 255, uint32_t b = 255,
                   uint32_t a = 255) {
        afx_pen_init(&pen);
        afx_pen_set_target(&pen, c.pixbuf);
        afx_set_colour(&pen, r, g, b, a);
    }
    afx_pen pen;
};

TEST(FixedPoint, SquareRootsAreTheFloorOfTheExactRoot) {
    const uint64_t edges[] = {0,
                              1,
                              2,
                              3,
                              4,
                              15,
                              16,
                              17,
                              65535,
                              65536,
                              0xFFFFFFFFull,
                              0x100000000ull,
                              0xFFFFFFFE00000001ull,
                              0xFFFFFFFFFFFFFFFFull};
    for (uint64_t v : edges) EXPECT_EQ(afx_isqrt64(v), exactRoot(v)) << v;
    for (uint64_t r = 1; r < (1ull << 32); r = r * 3 + 1) {  // squares and their neighbours
        EXPECT_EQ(afx_isqrt64(r * r), r);
        EXPECT_EQ(afx_isqrt64(r * r - 1), r - 1);
    }
    std::mt19937_64 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t v = rng() >> (rng() % 64);
        ASSERT_EQ(afx_isqrt64(v), exactRoot(v)) << v;
        const uint32_t w = static_cast<uint32_t>(v);
        ASSERT_EQ(afx_isqrt32(w), exactRoot(w)) << w;
    }
    EXPECT_EQ(afx_isqrt32(0xFFFFFFFFu), 65535u);
    EXPECT_EQ(afx_isqrt32(0), 0u);
}

TEST(FixedPoint, ConversionsTruncateAndHoldHugeOrInvalidValues) {
    EXPECT_EQ(afx_fx16(1.5f), 98304);
    EXPECT_EQ(afx_fx16(-1.5f), -98304);
    EXPECT_EQ(afx_fx16(0.9999999f), 65535);  // toward zero
    EXPECT_EQ(afx_fx8(2.7f), 691);
    EXPECT_EQ(afx_fx16(1e30f), afx_fx16(kAfxFixedLimitPx));
    EXPECT_EQ(afx_fx16(-1e30f), afx_fx16(-kAfxFixedLimitPx));
    EXPECT_EQ(afx_fx16(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST(FixedPoint, CoverageIsAOnePixelRampScaledByThePenAlpha) {
    EXPECT_EQ(afx_coverage_alpha(-32768, 255), 254u);  // half a pixel inside: full (255 x 255 >> 8)
    EXPECT_EQ(afx_coverage_alpha(-1000000, 255), 254u);
    EXPECT_EQ(afx_coverage_alpha(0, 255), 127u);  // on the edge: half
    EXPECT_EQ(afx_coverage_alpha(0, 128), 64u);
    EXPECT_EQ(afx_coverage_alpha(32768, 255), 0u);  // half a pixel outside: none
    EXPECT_EQ(afx_coverage_alpha(32767, 255), 0u);  // less than one step of 1/256
    for (int32_t pen : {255, 128, 0}) {
        uint32_t previous = 255;
        for (int32_t d = -40000; d <= 40000; d += 97) {
            const uint32_t a = afx_coverage_alpha(d, uint32_t(pen));
            ASSERT_LE(a, previous) << d;
            ASSERT_EQ(int32_t(a), referenceCoverageAlpha(d / 65536.0, pen)) << d << " pen " << pen;
            previous = a;
        }
    }
}

TEST(FixedPoint, AngleIsZeroDownAndGrowsClockwiseWithinAFifthOfADegree) {
    const int32_t c = 100 << 16, one = 1 << 16;
    // Down, left, up, right, down-left, up-right; no direction at all: 0.
    const int32_t exact[][3] = {{0, 1, 0},     {-1, 0, 16384}, {0, -1, 32768}, {1, 0, 49152},
                                {-1, 1, 8192}, {1, -1, 40960}, {0, 0, 0}};
    for (const auto& k : exact)
        EXPECT_EQ(afx_angle_fx16(c, c, c + k[0] * one, c + k[1] * one), k[2])
            << k[0] << "," << k[1];
    EXPECT_LT(afx_angle_fx16(c, c, c + 100, c + one), 0);  // just right of down
    EXPECT_GT(afx_angle_fx16(c, c, c - 100, c + one), 0);  // just left of down
    std::mt19937 rng(3);
    std::uniform_int_distribution<int32_t> offset(-40 * one, 40 * one);
    for (int i = 0; i < 20000; ++i) {
        const int32_t dx = offset(rng), dy = offset(rng);
        if (dx == 0 && dy == 0) continue;
        const double degrees = afx_angle_fx16(c, c, c + dx, c + dy) * 360.0 / 65536.0;
        ASSERT_NEAR(degrees, screenAngle(dx, dy), 0.25) << dx << "," << dy;
    }
}

// A shape's every pixel against the coverage of its distance beyond the
// outline, computed here in floating point: exact where the outline sits on
// whole or half pixels, within one step elsewhere.
struct ShapeCase {
    double x, y, w, h, r;
    uint32_t penAlpha;
    int32_t tolerance;
};

void expectShade(const Canvas& c, const std::function<double(int32_t, int32_t)>& distance,
                 uint32_t penAlpha, int32_t tolerance, const uint32_t pen[3],
                 const uint32_t ground[4]) {
    for (int32_t ch = 0; ch < 3; ++ch) {
        EXPECT_EQ(firstMiss(
                      c,
                      [&](int32_t x, int32_t y) {
                          const double d = distance(x, y);
                          return uint32_t(referenceShade(int32_t(ground[ch]), int32_t(pen[ch]), d,
                                                         int32_t(penAlpha)));
                      },
                      ch, tolerance),
                  "")
            << "channel " << ch;
    }
    EXPECT_EQ(firstMiss(
                  c, [&](int32_t, int32_t) { return ground[3]; }, 3),
              "");  // the target's alpha stays
}

TEST(Disc, EveryPixelFollowsItsDistanceFromTheCentre) {
    // Radius 0.5 covers one pixel, radius 1 half covers its four neighbours
    // and leaves a trace on the diagonals, radius 0 is a half-covered point.
    const ShapeCase cases[] = {{4, 4, 0, 0, 0.5, 255, 0}, {4, 4, 0, 0, 1.0, 255, 0},
                               {7, 7, 0, 0, 0.0, 255, 0}, {4, 4, 0, 0, 2.0, 1, 0},
                               {4, 4, 0, 0, 2.0, 64, 0},  {4, 4, 0, 0, 2.0, 128, 0},
                               {4, 4, 0, 0, 2.0, 254, 0}, {19.3, 20.6, 0, 0, 11.7, 255, 1}};
    const uint32_t pen[3] = {220, 180, 90}, ground[4] = {20, 40, 60, 200};
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message()
                     << "disc " << k.x << "," << k.y << " r " << k.r << " alpha " << k.penAlpha);
        Canvas c(40, 40, ground[0], ground[1], ground[2], ground[3]);
        PenOn p(c, pen[0], pen[1], pen[2], k.penAlpha);
        afx_fill_disc(&p.pen, float(k.x), float(k.y), float(k.r));
        const auto distance = [&](int32_t x, int32_t y) {
            return std::hypot(x - k.x, y - k.y) - k.r;
        };
        expectShade(c, distance, k.penAlpha, k.tolerance, pen, ground);
    }
}

TEST(RoundRect, EveryPixelFollowsItsDistanceFromTheOutline) {
    // A box covers width + 1 by height + 1 pixels at whole coordinates, half
    // covers the outer rows at half ones, and a corner pixel half a pixel
    // outside both edges gets the rim's coverage at sqrt(0.5), not a quarter.
    const ShapeCase cases[] = {{3, 4, 10, 6, 0, 255, 0},
                               {2.5, 3.5, 10, 6, 0, 255, 0},
                               {4, 5, 0, 3, 0, 255, 0},
                               {4.25, 3.75, 28.5, 20, 5, 255, 1},
                               {4.25, 3.75, 28.5, 20, 5, 96, 1}};
    const uint32_t pen[3] = {200, 250, 30}, ground[4] = {0, 10, 90, 255};
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message()
                     << "box " << k.x << "," << k.y << " " << k.w << " x " << k.h << " r " << k.r);
        Canvas c(40, 30, ground[0], ground[1], ground[2], ground[3]);
        PenOn p(c, pen[0], pen[1], pen[2], k.penAlpha);
        afx_pen_set_radius(&p.pen, float(k.r));
        afx_fill_round_rect(&p.pen, float(k.x), float(k.y), float(k.w), float(k.h));
        // Distance beyond a rectangle that reaches half a pixel past the box, corners of radius r.
        expectShade(
            c,
            [&](int32_t x, int32_t y) {
                const double qx = std::fmax(std::fabs(x - (k.x + k.w / 2)) - (k.w / 2 - k.r), 0.0);
                const double qy = std::fmax(std::fabs(y - (k.y + k.h / 2)) - (k.h / 2 - k.r), 0.0);
                return std::hypot(qx, qy) - k.r - 0.5;
            },
            k.penAlpha, k.tolerance, pen, ground);
    }
}

TEST(Arc, TrackFrom45To315LeavesTheBottomQuarterEmpty) {
    Canvas c(60, 60);
    PenOn p(c);
    const double cx = 30, cy = 30, inner = 15, outer = 20;
    afx_fill_arc(&p.pen, float(cx), float(cy), float(inner), float(outer), 45.0f, 315.0f);
    double coverage = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            const double a = screenAngle(x - cx, y - cy);
            const double len = std::hypot(x - cx, y - cy);
            if (a > -44.4 && a < 44.4) {
                ASSERT_EQ(c.red(x, y), 0u) << x << "," << y;
            }
            if (len <= inner - 0.5 || len >= outer + 0.5) {
                ASSERT_EQ(c.red(x, y), 0u) << x << "," << y;
            }
            if (a > 46 && a < 314 && len >= inner + 0.5 && len <= outer - 0.5) {
                ASSERT_EQ(c.red(x, y), 253u) << x << "," << y;
            }
            // Radially and around, the coverage follows the larger excess.
            if (a > 30 && a < 330) {
                const double d =
                    std::fmax(std::fmax(len - outer, inner - len), a > 180 ? a - 315 : 45 - a);
                ASSERT_NEAR(int32_t(c.red(x, y)), referenceShade(0, 255, d), 2) << x << "," << y;
            }
            coverage += c.red(x, y) / 253.0;
        }
    }
    // Summed coverage is the band's area: three quarters of the ring.
    EXPECT_NEAR(coverage, 0.75 * kPi * (outer * outer - inner * inner), 4.0);
    EXPECT_EQ(c.red(30, 12), 253u);  // straight up, mid-band
    EXPECT_EQ(c.red(30, 48), 0u);    // straight down, mid-band
}

TEST(Arc, NarrowSegmentSitsAtItsAngle) {
    Canvas c(60, 60);
    PenOn p(c);
    afx_fill_arc(&p.pen, 30, 30, 10, 25, 80, 100);  // around 90 degrees: left of the centre
    EXPECT_EQ(c.red(12, 30), 253u);
    EXPECT_EQ(c.red(48, 30), 0u);
    EXPECT_EQ(c.red(30, 12), 0u);
    EXPECT_EQ(c.red(30, 48), 0u);
}

TEST(Stroke, LinesHaveRoundCapsAndBlendEachPixelOnceAtAnySlope) {
    // A line is every pixel within the pen's radius of the segment (round
    // caps; zero length: a dot). A pixel blended twice would be off by far
    // more than the one step allowed.
    const double lines[][4] = {{5, 5, 45, 12},          {40, 4, 8, 44},   {25, 3, 26, 46},
                               {3, 40, 46, 40},         {10, 30, 30, 10}, {24.5, 24.5, 24.5, 24.5},
                               {20.3, 7.7, 33.9, 41.2}, {7, 7, 7, 7}};
    const uint32_t pen[3] = {250, 0, 30}, ground[4] = {100, 100, 100, 255};
    for (const auto& l : lines) {
        for (float w : {0.0f, 0.5f, 2.0f, 3.5f}) {
            for (uint32_t a : {96u, 255u}) {
                SCOPED_TRACE(testing::Message()
                             << "line " << l[0] << "," << l[1] << " w " << w << " alpha " << a);
                Canvas c(50, 50, 100, 100, 100);
                PenOn p(c, pen[0], pen[1], pen[2], a);
                afx_pen_set_radius(&p.pen, w);
                afx_stroke_line(&p.pen, float(l[0]), float(l[1]), float(l[2]), float(l[3]));
                for (int32_t ch : {0, 2}) {  // row and column 0: the clip box's edges
                    EXPECT_EQ(firstMiss(
                                  c,
                                  [&](int32_t x, int32_t y) {
                                      const double d =
                                          segmentDistance(x, y, l[0], l[1], l[2], l[3]) - w;
                                      return uint32_t(referenceShade(
                                          int32_t(ground[ch]), int32_t(pen[ch]), d, int32_t(a)));
                                  },
                                  ch, 1, 1),
                              "");
                }
            }
        }
    }
}

TEST(Stroke, RadiusTwoReachesExactlyTwoAndAHalfPixelsWithRoundCaps) {
    Canvas c(40, 30);
    PenOn p(c);
    afx_pen_set_radius(&p.pen, 2.0f);
    afx_stroke_line(&p.pen, 10, 15, 30, 15);
    // Full within 2 of the line, half at 2 (sides and cap ends), none at 3
    // or at the cap's corner 2.83 from the end.
    const uint32_t full = 253, half = uint32_t(referenceBlend(0, 255, 127));
    const uint32_t points[][3] = {{20, 15, full}, {20, 14, full}, {20, 16, full}, {9, 14, full},
                                  {20, 13, half}, {20, 17, half}, {8, 15, half},  {32, 15, half},
                                  {30, 13, half}, {20, 12, 0},    {7, 15, 0},     {8, 13, 0}};
    for (const auto& k : points)
        EXPECT_EQ(c.red(int32_t(k[0]), int32_t(k[1])), k[2]) << k[0] << "," << k[1];
}

TEST(Clip, TheClipBoxLeftColumnAndTopRowAreNeverWritten) {
    Canvas c(12, 10);
    PenOn p(c);
    afx_fill_disc(&p.pen, 5, 5, 20);  // covers everything
    for (int x = 0; x < 12; ++x) EXPECT_EQ(c.red(x, 0), 0u) << x;
    for (int y = 0; y < 10; ++y) EXPECT_EQ(c.red(0, y), 0u) << y;
    EXPECT_EQ(c.red(11, 9), 253u);  // the target's last column and row are written
    EXPECT_EQ(c.red(1, 1), 253u);
    EXPECT_EQ(c.countNot(rgba(253, 253, 253)), 12 + 10 - 1);

    // An inner clip box: its four edges stay, what lies strictly inside is written.
    Canvas d(12, 10);
    PenOn q(d, 255, 0, 0);
    afx_pen_set_clip(&q.pen, 2, 9, 3, 7);
    afx_pen_set_radius(&q.pen, 8.0f);
    afx_fill_round_rect(&q.pen, 0, 0, 11, 9);
    afx_fill_arc(&q.pen, 5, 5, 0, 20, 0, 360);
    afx_stroke_line(&q.pen, 0, 0, 11, 9);
    afx_set_colour(&q.pen, 0, 0, 255, 255);
    afx_fill_disc(&q.pen, 5, 5, 20);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool inside = x > 2 && x < 9 && y > 3 && y < 7;
            ASSERT_EQ(d.blue(x, y), inside ? 253u : 0u) << x << "," << y;
            if (!inside) {
                ASSERT_EQ(d.red(x, y), 0u) << x << "," << y;
            }
        }
    }
}

TEST(Clip, ShapesPartlyOffTheCanvasDrawTheirVisiblePart) {
    // The same disc, rect, arc and line drawn at an offset into a larger canvas
    // must agree pixel for pixel where the small canvas can show them.
    Canvas small(20, 20), large(40, 40);
    PenOn s(small, 240, 120, 60), l(large, 240, 120, 60);
    const float o = 15.0f;
    for (PenOn* p : {&s, &l}) {
        const float k = p == &s ? 0.0f : o;
        afx_pen_set_radius(&p->pen, 3.0f);
        afx_fill_disc(&p->pen, 2.3f + k, -1.6f + k, 6.0f);
        afx_fill_round_rect(&p->pen, 14.5f + k, 12.0f + k, 12.0f, 3.0f);
        afx_fill_arc(&p->pen, -2.0f + k, 18.0f + k, 4.0f, 9.0f, 100.0f, 250.0f);
        afx_pen_set_radius(&p->pen, 1.5f);
        afx_stroke_line(&p->pen, -5.0f + k, 10.0f + k, 25.0f + k, 4.0f + k);
    }
    for (int y = 1; y < 20; ++y)
        for (int x = 1; x < 20; ++x)
            ASSERT_EQ(small.at(x, y), large.at(x + 15, y + 15)) << x << "," << y;
    EXPECT_GT(small.countNot(rgba(0, 0, 0)), 40);
}

TEST(Edges, NothingIsDrawnWithoutATargetAtAlphaZeroOrWithNegativeSizes) {
    Canvas c(16, 16, 9, 9, 9);
    PenOn p(c, 255, 255, 255, 0);
    afx_fill_disc(&p.pen, 8, 8, 5);
    afx_fill_round_rect(&p.pen, 2, 2, 10, 10);
    afx_fill_arc(&p.pen, 8, 8, 2, 6, 0, 360);
    afx_stroke_line(&p.pen, 1, 1, 14, 14);
    EXPECT_EQ(c.countNot(rgba(9, 9, 9)), 0);

    afx_set_colour(&p.pen, 255, 255, 255, 255);
    afx_fill_disc(&p.pen, 8, 8, -0.3f);
    afx_fill_round_rect(&p.pen, 2, 2, -1, 10);
    afx_fill_round_rect(&p.pen, 2, 2, 10, -0.5f);
    afx_fill_arc(&p.pen, 8, 8, 6, 2, 0, 360);    // outer inside inner
    afx_fill_arc(&p.pen, 8, 8, 2, 6, 200, 100);  // end before start
    afx_pen_set_radius(&p.pen, -1.0f);
    afx_stroke_line(&p.pen, 1, 1, 14, 14);
    EXPECT_EQ(c.countNot(rgba(9, 9, 9)), 0);

    afx_pen none;
    afx_pen_init(&none);
    afx_fill_disc(&none, 8, 8, 5);  // no target: nothing to write, nothing to crash
    afx_pen_set_target(&none, nullptr);
    afx_stroke_line(&none, 0, 0, 5, 5);
    EXPECT_EQ(none.clip_right, 0);
}

TEST(Edges, InvalidCoordinatesDrawNothingAndHugeOnesAreHeld) {
    Canvas c(16, 16, 5, 5, 5);
    PenOn p(c);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    afx_fill_disc(&p.pen, nan, 5, 3);
    afx_fill_disc(&p.pen, 5, 5, nan);
    afx_fill_disc(&p.pen, 5, 5, inf);
    afx_fill_round_rect(&p.pen, 3, nan, 4, 4);
    afx_fill_arc(&p.pen, 5, 5, 0, 10, nan, 360);
    afx_pen_set_radius(&p.pen, 1.0f);
    afx_stroke_line(&p.pen, 3, 3, inf, 8);
    afx_fill_disc(&p.pen, -100, -100, 50);
    afx_stroke_line(&p.pen, 100, 100, 200, 300);
    EXPECT_EQ(c.countNot(rgba(5, 5, 5)), 0);

    // Beyond 8192 pixels a coordinate is held at the limit: far away shapes
    // stay invisible, and a line between far points is the held line.
    afx_fill_disc(&p.pen, 1e9f, -1e9f, 3);
    afx_fill_round_rect(&p.pen, 1e9f, 3, 1e9f, 1e9f);
    EXPECT_EQ(c.countNot(rgba(5, 5, 5)), 0);
    Canvas held(16, 16, 5, 5, 5);
    PenOn h(held);
    afx_pen_set_radius(&h.pen, 1.0f);
    afx_stroke_line(&p.pen, -1e9f, 1e9f, 1e9f, -1e9f);
    afx_stroke_line(&h.pen, -kAfxFixedLimitPx, kAfxFixedLimitPx, kAfxFixedLimitPx,
                    -kAfxFixedLimitPx);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(c.at(x, y), held.at(x, y));
}

}  // namespace
