// The pen's primitives against their contracts: the integer roots, the
// coverage ramp, the angle, each shape's covered pixels compared with a
// floating-point distance computed here, the clip box, and the edges (zero
// and negative sizes, shapes off the canvas, alpha 0 and 255).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
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
    explicit PenOn(Canvas& c, uint32_t r = 255, uint32_t g = 255, uint32_t b = 255, uint32_t a = 255) {
        afx_pen_init(&pen);
        afx_pen_set_target(&pen, c.pixbuf);
        afx_set_colour(&pen, r, g, b, a);
    }
    afx_pen pen;
};

TEST(FixedPoint, SquareRootsAreTheFloorOfTheExactRoot) {
    const uint64_t edges[] = {0, 1, 2, 3, 4, 15, 16, 17, 65535, 65536, 0xFFFFFFFFull, 0x100000000ull,
                              0xFFFFFFFE00000001ull, 0xFFFFFFFFFFFFFFFFull};
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
    // A 16.16 vector (3, 4) has the 16.16 length 5.
    const int64_t x = 3 << 16, y = 4 << 16;
    EXPECT_EQ(afx_isqrt64(uint64_t(x * x + y * y)), 5u << 16);
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
    EXPECT_EQ(afx_coverage_alpha(0, 255), 127u);       // on the edge: half
    EXPECT_EQ(afx_coverage_alpha(0, 128), 64u);
    EXPECT_EQ(afx_coverage_alpha(32768, 255), 0u);     // half a pixel outside: none
    EXPECT_EQ(afx_coverage_alpha(32767, 255), 0u);     // less than one step of 1/256
    EXPECT_EQ(afx_coverage_alpha(-32768, 0), 0u);
    uint32_t previous = 255;
    for (int32_t d = -40000; d <= 40000; d += 97) {
        const uint32_t a = afx_coverage_alpha(d, 255);
        ASSERT_LE(a, previous) << d;
        ASSERT_EQ(int32_t(a), referenceCoverageAlpha(d / 65536.0, 255)) << d;
        previous = a;
    }
}

TEST(FixedPoint, AngleIsZeroDownAndGrowsClockwiseWithinAFifthOfADegree) {
    const int32_t c = 100 << 16, one = 1 << 16;
    EXPECT_EQ(afx_angle_fx16(c, c, c, c + one), 0);          // down
    EXPECT_EQ(afx_angle_fx16(c, c, c - one, c), 16384);      // left
    EXPECT_EQ(afx_angle_fx16(c, c, c, c - one), 32768);      // up
    EXPECT_EQ(afx_angle_fx16(c, c, c + one, c), 49152);      // right
    EXPECT_EQ(afx_angle_fx16(c, c, c - one, c + one), 8192);  // down-left
    EXPECT_EQ(afx_angle_fx16(c, c, c + one, c - one), 40960);  // up-right
    EXPECT_EQ(afx_angle_fx16(c, c, c, c), 0);
    EXPECT_LT(afx_angle_fx16(c, c, c + 100, c + one), 0);    // just right of down
    EXPECT_GT(afx_angle_fx16(c, c, c - 100, c + one), 0);    // just left of down
    std::mt19937 rng(3);
    std::uniform_int_distribution<int32_t> offset(-40 * one, 40 * one);
    for (int i = 0; i < 20000; ++i) {
        const int32_t dx = offset(rng), dy = offset(rng);
        if (dx == 0 && dy == 0) continue;
        const double degrees = afx_angle_fx16(c, c, c + dx, c + dy) * 360.0 / 65536.0;
        ASSERT_NEAR(degrees, screenAngle(dx, dy), 0.25) << dx << "," << dy;
    }
}

TEST(Disc, RadiusHalfCoversOnePixelAndRadiusOneHalfCoversItsNeighbours) {
    Canvas c(9, 9);
    PenOn p(c);
    afx_fill_disc(&p.pen, 4, 4, 0.5f);
    EXPECT_EQ(c.at(4, 4), rgba(253, 253, 253));  // full coverage: 255 over 0 twice short
    EXPECT_EQ(c.countNot(rgba(0, 0, 0)), 1);

    Canvas d(9, 9);
    PenOn q(d);
    afx_fill_disc(&q.pen, 4, 4, 1.0f);
    EXPECT_EQ(d.red(4, 4), 253u);
    const uint32_t half = uint32_t(referenceBlend(0, 255, 127));
    for (auto [x, y] : {std::pair{3, 4}, {5, 4}, {4, 3}, {4, 5}}) EXPECT_EQ(d.red(x, y), half) << x << "," << y;
    // The diagonals lie sqrt(2) - 1 beyond the rim: a trace of coverage.
    EXPECT_EQ(int32_t(d.red(3, 3)), referenceShade(0, 255, std::sqrt(2.0) - 1.0));
    EXPECT_GT(d.red(3, 3), 0u);
    EXPECT_EQ(d.countNot(rgba(0, 0, 0)), 9);
}

TEST(Disc, EveryPixelFollowsItsDistanceFromTheCentre) {
    Canvas c(40, 40, 20, 40, 60, 200);
    PenOn p(c, 220, 180, 90);
    const double cx = 19.3, cy = 20.6, r = 11.7;
    afx_fill_disc(&p.pen, float(cx), float(cy), float(r));
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const double d = std::hypot(x - cx, y - cy) - r;
            ASSERT_NEAR(int32_t(c.red(x, y)), referenceShade(20, 220, d), 1) << x << "," << y;
            ASSERT_NEAR(int32_t(c.blue(x, y)), referenceShade(60, 90, d), 1) << x << "," << y;
            ASSERT_EQ(c.alpha(x, y), 200u);  // the target's alpha stays
        }
    }
}

TEST(RoundRect, IntegerPlacementCoversWidthPlusOneByHeightPlusOne) {
    Canvas c(20, 16);
    PenOn p(c);
    afx_fill_round_rect(&p.pen, 3, 4, 10, 6);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x <= 13 && y >= 4 && y <= 10;
            ASSERT_EQ(c.red(x, y), inside ? 253u : 0u) << x << "," << y;
        }
    }
}

TEST(RoundRect, HalfPixelPlacementHalfCoversTheOuterRowsAndColumns) {
    Canvas c(20, 16);
    PenOn p(c);
    afx_fill_round_rect(&p.pen, 2.5f, 3.5f, 10, 6);  // edges at 2.5 .. 12.5 and 3.5 .. 9.5
    const uint32_t half = uint32_t(referenceBlend(0, 255, 127));
    EXPECT_EQ(c.red(7, 6), 253u);
    EXPECT_EQ(c.red(2, 6), half);
    EXPECT_EQ(c.red(13, 6), half);
    EXPECT_EQ(c.red(7, 3), half);
    EXPECT_EQ(c.red(7, 10), half);
    EXPECT_EQ(c.red(3, 4), 253u);
    EXPECT_EQ(c.red(1, 6), 0u);
    EXPECT_EQ(c.red(14, 6), 0u);
    // A corner pixel lies half a pixel outside both edges: a quarter overlap
    // in area, but the distance rule gives the rim's coverage at sqrt(0.5).
    EXPECT_EQ(int32_t(c.red(2, 3)), referenceShade(0, 255, std::sqrt(0.5) - 0.5));
}

TEST(RoundRect, CornersFollowTheirRadius) {
    Canvas c(40, 30);
    PenOn p(c, 200, 200, 200);
    afx_pen_set_radius(&p.pen, 5.0f);
    EXPECT_EQ(p.pen.radius_fx8, 1280);
    const double x0 = 4.25, y0 = 3.75, w = 28.5, h = 20.0, r = 5.0;
    afx_fill_round_rect(&p.pen, float(x0), float(y0), float(w), float(h));
    // Distance beyond the outline of a rectangle that reaches half a pixel
    // past (x0, y0, w, h), with corners of radius r.
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const double qx = std::fmax(std::fabs(x - (x0 + w / 2)) - (w / 2 - r), 0.0);
            const double qy = std::fmax(std::fabs(y - (y0 + h / 2)) - (h / 2 - r), 0.0);
            const double d = std::hypot(qx, qy) - r - 0.5;
            ASSERT_NEAR(int32_t(c.red(x, y)), referenceShade(0, 200, d), 1) << x << "," << y;
        }
    }
    EXPECT_EQ(c.red(5, 4), 0u);  // the box's corner itself lies outside the rounding
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
                const double d = std::fmax(std::fmax(len - outer, inner - len),
                                           a > 180 ? a - 315 : 45 - a);
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

TEST(Stroke, RadiusTwoReachesTwoAndAHalfPixelsWithRoundCaps) {
    Canvas c(40, 30);
    PenOn p(c);
    afx_pen_set_radius(&p.pen, 2.0f);
    afx_stroke_line(&p.pen, 10, 15, 30, 15);
    const uint32_t half = uint32_t(referenceBlend(0, 255, 127));
    EXPECT_EQ(c.red(20, 15), 253u);
    EXPECT_EQ(c.red(20, 14), 253u);
    EXPECT_EQ(c.red(20, 16), 253u);
    EXPECT_EQ(c.red(20, 13), half);  // 2 pixels off: on the edge
    EXPECT_EQ(c.red(20, 17), half);
    EXPECT_EQ(c.red(20, 12), 0u);    // 3 pixels off
    EXPECT_EQ(c.red(8, 15), half);   // cap: 2 beyond the end
    EXPECT_EQ(c.red(32, 15), half);
    EXPECT_EQ(c.red(7, 15), 0u);
    EXPECT_EQ(c.red(9, 14), 253u);   // cap: sqrt(2) from the end
    EXPECT_EQ(c.red(8, 13), 0u);     // cap corner: 2.83 from the end, outside a round cap
    EXPECT_EQ(c.red(30, 13), half);
}

TEST(Stroke, TranslucentLinesBlendEachPixelOnceAtAnySlope) {
    const double lines[][4] = {{5, 5, 45, 12}, {40, 4, 8, 44}, {25, 3, 26, 46}, {3, 40, 46, 40},
                               {10, 30, 30, 10}, {24.5, 24.5, 24.5, 24.5}, {20.3, 7.7, 33.9, 41.2}};
    const float widths[] = {0.0f, 0.5f, 2.0f, 3.5f};
    for (const auto& l : lines) {
        for (float w : widths) {
            Canvas c(50, 50, 100, 100, 100);
            PenOn p(c, 250, 0, 30, 96);
            afx_pen_set_radius(&p.pen, w);
            afx_stroke_line(&p.pen, float(l[0]), float(l[1]), float(l[2]), float(l[3]));
            for (int y = 1; y < 50; ++y) {  // row and column 0: the clip box's edges
                for (int x = 1; x < 50; ++x) {
                    const double d = segmentDistance(x, y, l[0], l[1], l[2], l[3]) - w;
                    // A second blend would move red far beyond one step of 1/256.
                    ASSERT_NEAR(int32_t(c.red(x, y)), referenceShade(100, 250, d, 96), 1)
                        << x << "," << y << " line " << l[0] << "," << l[1] << " w " << w;
                    ASSERT_NEAR(int32_t(c.blue(x, y)), referenceShade(100, 30, d, 96), 1);
                }
            }
        }
    }
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
        for (int x = 1; x < 20; ++x) ASSERT_EQ(small.at(x, y), large.at(x + 15, y + 15)) << x << "," << y;
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
    afx_fill_arc(&p.pen, 8, 8, 6, 2, 0, 360);        // outer inside inner
    afx_fill_arc(&p.pen, 8, 8, 2, 6, 200, 100);      // end before start
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

TEST(Edges, ZeroSizesKeepTheInclusiveEnds) {
    Canvas c(16, 16);
    PenOn p(c);
    afx_fill_round_rect(&p.pen, 4, 5, 0, 3);  // one column of height + 1 pixels
    EXPECT_EQ(c.countNot(rgba(0, 0, 0)), 4);
    for (int y = 5; y <= 8; ++y) EXPECT_EQ(c.red(4, y), 253u);

    Canvas d(16, 16);
    PenOn q(d);
    afx_fill_disc(&q.pen, 7, 7, 0);  // a point: half coverage on its pixel
    EXPECT_EQ(d.red(7, 7), uint32_t(referenceBlend(0, 255, 127)));
    EXPECT_EQ(d.countNot(rgba(0, 0, 0)), 1);

    // A line of zero length is a round dot of the pen's radius.
    Canvas e(16, 16);
    PenOn s(e);
    afx_pen_set_radius(&s.pen, 2.0f);
    afx_stroke_line(&s.pen, 7, 7, 7, 7);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_NEAR(int32_t(e.red(x, y)), referenceShade(0, 255, std::hypot(x - 7, y - 7) - 2.0), 1);
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
    afx_stroke_line(&h.pen, -kAfxFixedLimitPx, kAfxFixedLimitPx, kAfxFixedLimitPx, -kAfxFixedLimitPx);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(c.at(x, y), held.at(x, y));
}

TEST(Edges, AlphaScalesTheCoverage) {
    for (uint32_t a : {1u, 64u, 128u, 254u, 255u}) {
        Canvas c(8, 8, 0, 100, 200);
        PenOn p(c, 200, 100, 0, a);
        afx_fill_disc(&p.pen, 4, 4, 2);
        const int32_t alpha = 255 * int32_t(a) / 256;
        EXPECT_EQ(int32_t(c.red(4, 4)), referenceBlend(0, 200, alpha)) << a;
        EXPECT_EQ(c.green(4, 4), 100u) << a;
        EXPECT_EQ(int32_t(c.blue(4, 4)), referenceBlend(200, 0, alpha)) << a;
    }
}

}  // namespace
