#include "fontfile/cff/cubicquad.h"

#include <algorithm>
#include <cmath>

namespace tsy {

bool IntersectLines(TRealPoint A1, TRealPoint A2, TRealPoint B1, TRealPoint B2, TRealPoint& Out) {
  const bool v1 = A1.X == A2.X, v2 = B1.X == B2.X;
  if (v1 && v2) {
    if (A1.X == B1.X) {
      // Both vertical on the same X: pick a Y that both lines share, the
      // last applicable rule winning.
      double y = A1.Y;
      if (A2.Y == B1.Y || A2.Y == B2.Y) y = A2.Y;
      const double lo = std::min(A1.Y, A2.Y), hi = std::max(A1.Y, A2.Y);
      if (B1.Y >= lo && B1.Y <= hi) y = B1.Y;
      if (B2.Y >= lo && B2.Y <= hi) y = B2.Y;
      Out = {A1.X, y};
      return true;
    }
  } else if (v1 || v2) {
    const TRealPoint& p = v1 ? B1 : A1;
    const TRealPoint& q = v1 ? B2 : A2;
    const double m = (q.Y - p.Y) / (q.X - p.X), c = p.Y - p.X * m;
    const double x = v1 ? A1.X : B1.X;
    Out = {x, m * x + c};
    return true;
  } else {
    const double m1 = (A2.Y - A1.Y) / (A2.X - A1.X), c1 = A1.Y - A1.X * m1;
    const double m2 = (B2.Y - B1.Y) / (B2.X - B1.X), c2 = B1.Y - B1.X * m2;
    if (m1 != m2) {
      const double x = (c2 - c1) / (m1 - m2);
      Out = {x, c1 + m1 * x};
      return true;
    }
    if (std::fabs(c1 - c2) < 1e-6) {
      Out = A1;
      return true;
    }
  }
  if (A2 == B1 || A2 == B2) {
    Out = A2;
    return true;
  }
  if (A1 == B1 || A1 == B2) {
    Out = A1;
    return true;
  }
  return false;
}

namespace {

// Deep enough for any curve of real coordinates (each halving cuts the error
// of the approximation about eightfold); hostile coordinates stop here.
constexpr int kMaxSplitDepth = 16;

TRealPoint Mix(TRealPoint A, double a, TRealPoint B, double b) { return {A.X * a + B.X * b, A.Y * a + B.Y * b}; }

double Distance(TRealPoint A, TRealPoint B) { return std::hypot(A.X - B.X, A.Y - B.Y); }

void Convert(std::vector<TTrueTypePoint>& Target, TRealPoint P0, TRealPoint P1, TRealPoint P2, TRealPoint P3,
             int Depth) {
  const TRealPoint m{(P0.X + 3 * P1.X + 3 * P2.X + P3.X) / 8, (P0.Y + 3 * P1.Y + 3 * P2.Y + P3.Y) / 8};
  // A retracted handle (a control point on its end point) gives no tangent
  // there; the other control point gives the direction the curve leaves in.
  const TRealPoint d1 = P1 == P0 ? P2 : P1;
  const TRealPoint d2 = P2 == P3 ? P1 : P2;
  TRealPoint c;
  if (IntersectLines(P0, d1, P3, d2, c) && std::isfinite(c.X) && std::isfinite(c.Y)) {
    const TRealPoint q{(P0.X + 2 * c.X + P3.X) / 4, (P0.Y + 2 * c.Y + P3.Y) / 4};
    if (Distance(m, q) <= kCubicTolerance) {
      Target.push_back({c.X, c.Y, false});
      Target.push_back({P3.X, P3.Y, true});
      return;
    }
  }
  const double extent = std::max({Distance(P0, P1), Distance(P1, P2), Distance(P2, P3), Distance(P0, P3)});
  if (Depth >= kMaxSplitDepth || extent < 0.5) {
    // The quadratic through both ends and the cubic's middle.
    Target.push_back({(3 * (P1.X + P2.X) - P0.X - P3.X) / 4, (3 * (P1.Y + P2.Y) - P0.Y - P3.Y) / 4, false});
    Target.push_back({P3.X, P3.Y, true});
    return;
  }
  const TRealPoint a1 = Mix(P0, 0.5, P1, 0.5);
  const TRealPoint a2{(P0.X + 2 * P1.X + P2.X) / 4, (P0.Y + 2 * P1.Y + P2.Y) / 4};
  const TRealPoint b1{(P1.X + 2 * P2.X + P3.X) / 4, (P1.Y + 2 * P2.Y + P3.Y) / 4};
  const TRealPoint b2 = Mix(P2, 0.5, P3, 0.5);
  Convert(Target, P0, a1, a2, m, Depth + 1);
  Convert(Target, m, b1, b2, P3, Depth + 1);
}

}  // namespace

void AppendCubicAsQuadratic(std::vector<TTrueTypePoint>& Target, TRealPoint P0, TRealPoint P1, TRealPoint P2,
                            TRealPoint P3) {
  Convert(Target, P0, P1, P2, P3, 0);
}

}  // namespace tsy
