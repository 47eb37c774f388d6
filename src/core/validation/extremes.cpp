#include "validation/extremes.h"

#include <cmath>

namespace tsy {

namespace {

// Samples of one curve in half units, remembering the parameters of the
// smallest and largest x and y. Ends count as t = 0 and t = 1.
struct TExtremeSampler {
  TRealPoint A, Q, B;
  double MinX, MaxX, MinY, MaxY;
  double TMinX = 0, TMaxX = 0, TMinY = 0, TMaxY = 0;

  void Record(TRealPoint P, double T) {
    // A sample must beat the best so far by more than rounding noise, so a
    // curve that only touches its end value keeps the end as its extreme.
    constexpr double eps = 1e-9;
    if (P.X < MinX - eps) MinX = P.X, TMinX = T;
    if (P.X > MaxX + eps) MaxX = P.X, TMaxX = T;
    if (P.Y < MinY - eps) MinY = P.Y, TMinY = T;
    if (P.Y > MaxY + eps) MaxY = P.Y, TMaxY = T;
  }

  void Subdivide(double T, double Step, TRealPoint Lower, TRealPoint Upper, int Depth) {
    const TRealPoint m = QuadraticPoint(A, Q, B, T);
    Record(m, T);
    if (Depth > 40) return;
    if (std::hypot(m.X - Lower.X, m.Y - Lower.Y) > 0.5) Subdivide(T - Step, Step / 2, Lower, m, Depth + 1);
    if (std::hypot(Upper.X - m.X, Upper.Y - m.Y) > 0.5) Subdivide(T + Step, Step / 2, m, Upper, Depth + 1);
  }
};

TRealPoint HalfUnits(TRealPoint P) { return {double(RoundHalfUp(2 * P.X)), double(RoundHalfUp(2 * P.Y))}; }

// The exact parameter where one coordinate of the curve turns, when it turns
// strictly inside; otherwise the sampled one.
double ExactTurn(double A, double Q, double B, double Sampled) {
  const double denominator = A - 2 * Q + B;
  if (denominator == 0) return Sampled;
  const double t = (A - Q) / denominator;
  return t > 0 && t < 1 ? t : Sampled;
}

bool Interior(double T) { return T > 0 && T < 1; }

}  // namespace

TSegmentExtremes ExamineSegment(TRealPoint P0, TRealPoint Q, TRealPoint P2, const TFloatRect* Bounds) {
  TExtremeSampler s{HalfUnits(P0), HalfUnits(Q), HalfUnits(P2), 0, 0, 0, 0};
  s.MinX = s.MaxX = s.A.X;
  s.MinY = s.MaxY = s.A.Y;
  s.Record(s.B, 1);
  s.Subdivide(0.5, 0.25, s.A, s.B, 0);

  TSegmentExtremes r;
  auto add = [&](double T, bool Vertical) {
    if (r.Count == 1 && r.T[0] == T) return;  // a degenerate curve turning in both at once
    r.T[r.Count] = T;
    r.Vertical[r.Count] = Vertical;
    ++r.Count;
  };
  // A quadratic turns at most once in x and once in y; whichever of the two
  // recorded parameters is inside is that turn.
  double tx = -1, ty = -1;
  if (Interior(s.TMinX) && (!Bounds || Q.X < Bounds->XMin)) tx = s.TMinX;
  else if (Interior(s.TMaxX) && (!Bounds || Q.X > Bounds->XMax)) tx = s.TMaxX;
  if (Interior(s.TMinY) && (!Bounds || Q.Y < Bounds->YMin)) ty = s.TMinY;
  else if (Interior(s.TMaxY) && (!Bounds || Q.Y > Bounds->YMax)) ty = s.TMaxY;
  if (tx >= 0) tx = ExactTurn(P0.X, Q.X, P2.X, tx);
  if (ty >= 0) ty = ExactTurn(P0.Y, Q.Y, P2.Y, ty);
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
