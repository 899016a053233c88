// Outline flattening and signed distance for the distance-field generator.
// Everything is double precision and branch-for-branch reproducible, so the
// committed atlases regenerate byte for byte.
#include "glyph_outline.h"

#include <algorithm>
#include <cmath>

namespace {

struct Point {
    double x, y;
};

class OutlineBuilder {
public:
    OutlineBuilder(GlyphOutline& outline, double tolerancePx)
        : outline_(outline), tolerance_(tolerancePx) {}

    void moveTo(Point p) {
        close();
        start_ = last_ = p;
        open_ = true;
    }

    void lineTo(Point p) {
        if (p.x != last_.x || p.y != last_.y) {
            outline_.segments.push_back({last_.x, last_.y, p.x, p.y});
        }
        last_ = p;
    }

    // Quadratic Bezier: n equal parameter steps keep the chord error below
    // max|B''| / (8 n^2) = |p0 - 2 p1 + p2| / (4 n^2).
    void quadTo(Point c, Point p) {
        const Point p0 = last_;
        const double ddx = p0.x - 2.0 * c.x + p.x, ddy = p0.y - 2.0 * c.y + p.y;
        const int n = stepsFor(std::sqrt(ddx * ddx + ddy * ddy) / 4.0);
        for (int i = 1; i <= n; ++i) {
            const double t = double(i) / n, u = 1.0 - t;
            lineTo({u * u * p0.x + 2.0 * u * t * c.x + t * t * p.x,
                    u * u * p0.y + 2.0 * u * t * c.y + t * t * p.y});
        }
    }

    // Cubic Bezier: |B''| is at most 6 times the larger second difference of
    // the control points, so the chord error stays below 3/4 of it / n^2.
    void cubicTo(Point c1, Point c2, Point p) {
        const Point p0 = last_;
        const double ax = p0.x - 2.0 * c1.x + c2.x, ay = p0.y - 2.0 * c1.y + c2.y;
        const double bx = c1.x - 2.0 * c2.x + p.x, by = c1.y - 2.0 * c2.y + p.y;
        const double dd = std::max(std::sqrt(ax * ax + ay * ay), std::sqrt(bx * bx + by * by));
        const int n = stepsFor(dd * 3.0 / 4.0);
        for (int i = 1; i <= n; ++i) {
            const double t = double(i) / n, u = 1.0 - t;
            const double w0 = u * u * u, w1 = 3.0 * u * u * t, w2 = 3.0 * u * t * t, w3 = t * t * t;
            lineTo({w0 * p0.x + w1 * c1.x + w2 * c2.x + w3 * p.x,
                    w0 * p0.y + w1 * c1.y + w2 * c2.y + w3 * p.y});
        }
    }

    void close() {
        if (open_) lineTo(start_);
        open_ = false;
    }

private:
    int stepsFor(double errorAtOneStep) const {
        const double n = std::ceil(std::sqrt(errorAtOneStep / tolerance_));
        return std::max(1, std::min(256, int(n)));
    }

    GlyphOutline& outline_;
    double tolerance_;
    Point start_{0.0, 0.0}, last_{0.0, 0.0};
    bool open_ = false;
};

}  // namespace

GlyphOutline flattenGlyph(const stbtt_fontinfo& font, int glyph, double scale, double tolerancePx) {
    GlyphOutline outline;
    stbtt_vertex* vertices = nullptr;
    const int count = stbtt_GetGlyphShape(&font, glyph, &vertices);
    OutlineBuilder builder(outline, tolerancePx);
    // Font units are y-up; pixel rows grow downwards.
    auto at = [scale](int x, int y) { return Point{x * scale, -y * scale}; };
    for (int i = 0; i < count; ++i) {
        const stbtt_vertex& v = vertices[i];
        switch (v.type) {
            case STBTT_vmove: builder.moveTo(at(v.x, v.y)); break;
            case STBTT_vline: builder.lineTo(at(v.x, v.y)); break;
            case STBTT_vcurve: builder.quadTo(at(v.cx, v.cy), at(v.x, v.y)); break;
            case STBTT_vcubic:
                builder.cubicTo(at(v.cx, v.cy), at(v.cx1, v.cy1), at(v.x, v.y));
                break;
            default: break;
        }
    }
    builder.close();
    stbtt_FreeShape(&font, vertices);

    if (!outline.segments.empty()) {
        outline.minX = outline.maxX = outline.segments[0].x0;
        outline.minY = outline.maxY = outline.segments[0].y0;
        for (const OutlineSegment& s : outline.segments) {
            outline.minX = std::min({outline.minX, s.x0, s.x1});
            outline.maxX = std::max({outline.maxX, s.x0, s.x1});
            outline.minY = std::min({outline.minY, s.y0, s.y1});
            outline.maxY = std::max({outline.maxY, s.y0, s.y1});
        }
    }
    return outline;
}

double signedDistance(const GlyphOutline& outline, double x, double y) {
    double nearest2 = INFINITY;
    int winding = 0;
    for (const OutlineSegment& s : outline.segments) {
        const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
        const double length2 = dx * dx + dy * dy;
        double t = length2 > 0.0 ? ((x - s.x0) * dx + (y - s.y0) * dy) / length2 : 0.0;
        t = std::min(1.0, std::max(0.0, t));
        const double ex = s.x0 + t * dx - x, ey = s.y0 + t * dy - y;
        nearest2 = std::min(nearest2, ex * ex + ey * ey);
        // A ray towards +x crosses this segment: half-open in y so a ray through
        // a vertex counts exactly one of the two segments that meet there.
        if ((s.y0 <= y) != (s.y1 <= y)) {
            const double crossX = s.x0 + (y - s.y0) * dx / dy;
            if (crossX > x) winding += s.y1 > s.y0 ? 1 : -1;
        }
    }
    const double distance = std::sqrt(nearest2);
    return winding != 0 ? distance : -distance;
}
