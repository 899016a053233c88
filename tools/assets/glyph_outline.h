// A glyph's outline as straight segments in pixel space, and the exact signed
// distance from a point to it. This is what the distance-field atlases store.
#pragma once

#include <vector>

#include <stb_truetype.h>

struct OutlineSegment {
    double x0, y0, x1, y1;
};

// Pixel space: x to the right, y downwards, the pen at (0, 0) on the baseline.
struct GlyphOutline {
    std::vector<OutlineSegment> segments;
    // Extent of the ink; all zero for a glyph without contours (space).
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    bool empty() const { return segments.empty(); }
};

// Flattens the glyph's contours at `scale` pixels per font unit; curves are
// cut until no piece strays more than `tolerancePx` from the true curve.
// Every contour is closed.
GlyphOutline flattenGlyph(const stbtt_fontinfo& font, int glyph, double scale, double tolerancePx);

// Signed distance in pixels from (x, y) to the nearest point of the outline:
// positive inside the glyph, negative outside, by the non-zero winding rule
// that TrueType fills with.
double signedDistance(const GlyphOutline& outline, double x, double y);
