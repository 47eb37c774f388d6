#pragma once
// Cubic Bezier curves as quadratic TrueType pieces.
#include <vector>

#include "common/numeric.h"
#include "outline/outline.h"

namespace tsy {

// A quadratic piece may miss the cubic by this much (font units) at its middle.
constexpr double kCubicTolerance = 5.0;

// Where the infinite lines through A1-A2 and B1-B2 meet; false when they do
// not. Vertical lines, equal slopes and coinciding end points follow the
// rules the contour code uses for offsets and the glyph tests.
bool IntersectLines(TRealPoint A1, TRealPoint A2, TRealPoint B1, TRealPoint B2, TRealPoint& Out);

// Appends the quadratic pieces of the cubic P0 P1 P2 P3 to Target: for each
// piece an off-curve control point and an on-curve end point (P0 is not
// appended; it is already the contour's last point).
void AppendCubicAsQuadratic(std::vector<TTrueTypePoint>& Target, TRealPoint P0, TRealPoint P1, TRealPoint P2,
                            TRealPoint P3);

}  // namespace tsy
