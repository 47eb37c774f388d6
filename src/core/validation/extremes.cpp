#include "validation/extremes.h"

#include <algorithm>
#include <cmath>

namespace tsy {

namespace {

TRealPoint HalfUnits(TRealPoint P) { return {double(RoundHalfUp(2 * P.X)), double(RoundHalfUp(2 * P.Y))}; }

// Where one coordinate of the curve A-Q-B turns, when it turns strictly
// between the ends and goes beyond both of them there; -1 otherwise. Each
// coordinate of a quadratic turns at most once, so this is the one extreme
// that fine sampling of the curve would find inside it. Minimum tells which
// kind it is.
double Turn(double A, double Q, double B, bool& Minimum) {
  const double denominator = A - 2 * Q + B;
  if (denominator == 0) return -1;
  const double t = (A - Q) / denominator;
  if (!(t > 0 && t < 1)) return -1;
  const double u = 1 - t;
  const double v = u * u * A + 2 * t * u * Q + t * t * B;
  // With whole half units the turn lies at least 1/|denominator| beyond its
  // ends when it lies beyond them at all; the margin only absorbs rounding.
  constexpr double eps = 1e-9;
  if (v < std::min(A, B) - eps) {
    Minimum = true;
    return t;
  }
  if (v > std::max(A, B) + eps) {
    Minimum = false;
    return t;
  }
  return -1;
}

}  // namespace

TSegmentExtremes ExamineSegment(TRealPoint P0, TRealPoint Q, TRealPoint P2, const TFloatRect* Bounds) {
  // In half units, as the curve is drawn from whole and half coordinates.
  const TRealPoint a = HalfUnits(P0), q = HalfUnits(Q), b = HalfUnits(P2);
  bool minX = false, minY = false;
  double tx = Turn(a.X, q.X, b.X, minX), ty = Turn(a.Y, q.Y, b.Y, minY);
  // Outside local mode only the extremes on the outside of the glyph count:
  // where the control point lies beyond the glyph's bounds on that side.
  if (tx >= 0 && Bounds && !(minX ? Q.X < Bounds->XMin : Q.X > Bounds->XMax)) tx = -1;
  if (ty >= 0 && Bounds && !(minY ? Q.Y < Bounds->YMin : Q.Y > Bounds->YMax)) ty = -1;

  TSegmentExtremes r;
  auto add = [&](double T, bool Vertical) {
    if (r.Count == 1 && r.T[0] == T) return;  // a degenerate curve turning in both at once
    r.T[r.Count] = T;
    r.Vertical[r.Count] = Vertical;
    ++r.Count;
  };
  if (tx >= 0 && ty >= 0 && ty < tx) {
    add(ty, false);
    add(tx, true);
  } else {
    if (tx >= 0) add(tx, true);
    if (ty >= 0) add(ty, false);
  }
  return r;
}

bool MidpointExtremeCounts(TRealPoint Q1, TRealPoint Q2, const TFloatRect* Bounds) {
  if (Q1.X == Q2.X && (!Bounds || Q1.X >= Bounds->XMax || Q1.X <= Bounds->XMin)) return true;
  if (Q1.Y == Q2.Y && (!Bounds || Q1.Y >= Bounds->YMax || Q1.Y <= Bounds->YMin)) return true;
  return false;
}

}  // namespace tsy

namespace tsy {

namespace {

void Extend(TFloatRect& R, bool& Empty, double X, double Y) {
  if (Empty) {
    R = {X, Y, X, Y};
    Empty = false;
    return;
  }
  R.XMin = std::min(R.XMin, X);
  R.YMin = std::min(R.YMin, Y);
  R.XMax = std::max(R.XMax, X);
  R.YMax = std::max(R.YMax, Y);
}

// The value of one coordinate where the curve turns inside, if it does.
void ExtendByTurn(double A, double Q, double B, double& Low, double& High) {
  const double denominator = A - 2 * Q + B;
  if (denominator == 0) return;
  const double t = (A - Q) / denominator;
  if (!(t > 0 && t < 1)) return;
  const double u = 1 - t;
  const double v = u * u * A + 2 * t * u * Q + t * t * B;
  Low = std::min(Low, v);
  High = std::max(High, v);
}

}  // namespace

TFloatRect ExactCurveBounds(const TOutlineContours& Contours) {
  TFloatRect r;
  bool empty = true;
  for (const TContour& c : Contours) {
    const size_t n = c.Count();
    for (size_t i = 0; i < n; ++i) {
      const TTrueTypePoint& p = c.Points[i];
      if (p.OnCurve || n == 1) {
        Extend(r, empty, p.X, p.Y);
        continue;
      }
      const TTrueTypePoint& prev = c.Points[(i + n - 1) % n];
      const TTrueTypePoint& next = c.Points[(i + 1) % n];
      const TRealPoint a = prev.OnCurve ? TRealPoint{prev.X, prev.Y} : TRealPoint{(prev.X + p.X) / 2, (prev.Y + p.Y) / 2};
      const TRealPoint b = next.OnCurve ? TRealPoint{next.X, next.Y} : TRealPoint{(next.X + p.X) / 2, (next.Y + p.Y) / 2};
      Extend(r, empty, a.X, a.Y);
      Extend(r, empty, b.X, b.Y);
      ExtendByTurn(a.X, p.X, b.X, r.XMin, r.XMax);
      ExtendByTurn(a.Y, p.Y, b.Y, r.YMin, r.YMax);
    }
  }
  return r;
}

}  // namespace tsy
