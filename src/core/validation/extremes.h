#pragma once
// Curve extremes between the ends of quadratic segments, shared by the
// off-curve extreme test and the repair that adds on-curve points there.
#include "common/numeric.h"
#include "outline/contour.h"

namespace tsy {

// The extremes of one segment that count: at most one where the curve is
// vertical (an extreme of x) and one where it is horizontal (of y).
struct TSegmentExtremes {
  int Count = 0;
  double T[2] = {0, 0};             // ascending parameters
  bool Vertical[2] = {false, false};  // true: an extreme of x
};

// Examines the segment P0-Q-P2 (font units, ends on-curve). Bounds null: every
// extreme strictly between the ends counts; otherwise only those where Q lies
// beyond the glyph's curve bounds on that side.
TSegmentExtremes ExamineSegment(TRealPoint P0, TRealPoint Q, TRealPoint P2, const TFloatRect* Bounds);

// Two consecutive off-curve points on one vertical (horizontal) line put an
// extreme at their implied midpoint; outside local mode it counts only on the
// glyph's bounds.
bool MidpointExtremeCounts(TRealPoint Q1, TRealPoint Q2, const TFloatRect* Bounds);

// The extents of the drawn contours, exactly: on-curve points, implied
// on-curve points and the turning points of every curve. The extreme tests
// compare control points with these.
TFloatRect ExactCurveBounds(const TOutlineContours& Contours);

inline TRealPoint QuadraticPoint(TRealPoint A, TRealPoint Q, TRealPoint B, double T) {
  const double u = 1 - T;
  return {u * u * A.X + 2 * T * u * Q.X + T * T * B.X, u * u * A.Y + 2 * T * u * Q.Y + T * T * B.Y};
}

}  // namespace tsy
