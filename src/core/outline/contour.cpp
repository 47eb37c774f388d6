#include "outline/contour.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace tsy {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

TRealPoint Pt(const TTrueTypePoint& P) { return {P.X, P.Y}; }

void CheckIndex(size_t Index, size_t Count) {
  if (Index >= Count) throw std::out_of_range("List index out of bounds");
}

TFloatRect Extents(const std::vector<TTrueTypePoint>& Points) {
  if (Points.empty()) return {};
  TFloatRect r{Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
  for (const TTrueTypePoint& p : Points) {
    r.XMin = std::min(r.XMin, p.X);
    r.YMin = std::min(r.YMin, p.Y);
    r.XMax = std::max(r.XMax, p.X);
    r.YMax = std::max(r.YMax, p.Y);
  }
  return r;
}

TFloatRect UnionRect(const TFloatRect& A, const TFloatRect& B) {
  return {std::min(A.XMin, B.XMin), std::min(A.YMin, B.YMin), std::max(A.XMax, B.XMax), std::max(A.YMax, B.YMax)};
}

TTrueTypePoint Bezier(const TTrueTypePoint& A, const TTrueTypePoint& Q, const TTrueTypePoint& B, double T) {
  const double u = 1 - T;
  return {u * u * A.X + 2 * T * u * Q.X + T * T * B.X, u * u * A.Y + 2 * T * u * Q.Y + T * T * B.Y, true};
}

}  // namespace

TOutlineTransform TOutlineTransform::Compose(const TOutlineTransform& I) const {
  TOutlineTransform r;
  r.ScaleX = ScaleX * I.ScaleX + XFromY * I.YFromX;
  r.XFromY = ScaleX * I.XFromY + XFromY * I.ScaleY;
  r.YFromX = YFromX * I.ScaleX + ScaleY * I.YFromX;
  r.ScaleY = YFromX * I.XFromY + ScaleY * I.ScaleY;
  const TRealPoint o = Apply(I.OffsetX, I.OffsetY);
  r.OffsetX = o.X;
  r.OffsetY = o.Y;
  return r;
}

void TContour::InsertPoint(size_t Index, const TTrueTypePoint& P) {
  if (Index > Points.size()) throw std::out_of_range("List index out of bounds");
  Points.insert(Points.begin() + long(Index), P);
}

void TContour::DeletePoint(size_t Index) {
  CheckIndex(Index, Points.size());
  Points.erase(Points.begin() + long(Index));
}

void TContour::Reverse() {
  if (Points.size() >= 2) std::reverse(Points.begin(), Points.end());
}

void TContour::RotateStart(int Count) {
  if (Points.empty() || Count <= 0) return;
  std::rotate(Points.begin(), Points.begin() + long(size_t(Count) % Points.size()), Points.end());
}

void TContour::Scale(double Factor) {
  for (TTrueTypePoint& p : Points) {
    p.X *= Factor;
    p.Y *= Factor;
  }
}

void TContour::Transform(const TOutlineTransform& T) {
  for (TTrueTypePoint& p : Points) {
    const TRealPoint q = T.Apply(p.X, p.Y);
    p.X = q.X;
    p.Y = q.Y;
  }
}

TFloatRect TContour::GetPointBounds() const { return Extents(Points); }

double TContour::GetBearing(TRealPoint A, TRealPoint B) { return std::atan2(B.X - A.X, B.Y - A.Y) * kDegrees; }

double TContour::GetTurn(TRealPoint A, TRealPoint B, TRealPoint C) {
  double t = GetBearing(B, C) - GetBearing(A, B);
  if (t <= -180) t += 360;
  if (t > 180) t -= 360;
  return t;
}

double TContour::GetDirection() const {
  const size_t n = Points.size();
  if (n == 0) return 0;
  // 1. Rounded ring with implied on-curve points made explicit.
  std::vector<TTrueTypePoint> ring;
  ring.reserve(n * 2);
  for (size_t i = 0; i < n; ++i) {
    const TTrueTypePoint& prev = Points[(i + n - 1) % n];
    const TTrueTypePoint& cur = Points[i];
    if (!prev.OnCurve && !cur.OnCurve)
      ring.push_back({(RoundHalfUp(prev.X) + RoundHalfUp(cur.X)) / 2.0, (RoundHalfUp(prev.Y) + RoundHalfUp(cur.Y)) / 2.0, true});
    ring.push_back({double(RoundHalfUp(cur.X)), double(RoundHalfUp(cur.Y)), cur.OnCurve});
  }
  // 2. Each curve becomes 39 samples at t = k/40. Built forward into a new
  // ring, which gives the same sequence as replacing in place from the end.
  std::vector<TTrueTypePoint> sampled;
  sampled.reserve(ring.size() * 40);
  const size_t m = ring.size();
  for (size_t b = 0; b < m; ++b) {
    const TTrueTypePoint& q = ring[b];
    if (q.OnCurve) {
      sampled.push_back(q);
      continue;
    }
    const TTrueTypePoint& p = ring[(b + m - 1) % m];
    const TTrueTypePoint& r = ring[(b + 1) % m];
    for (int k = 1; k <= 39; ++k) sampled.push_back(Bezier(p, q, r, k / 40.0));
  }
  // 3./4. Sum the turn at every corner of the ring. Repeated points are
  // dropped first, wherever they stand (also across the closing edge), so a
  // duplicate never hides a corner from the sum.
  std::vector<TRealPoint> ring2;
  ring2.reserve(sampled.size());
  for (const TTrueTypePoint& p : sampled)
    if (ring2.empty() || !(Pt(p) == ring2.back())) ring2.push_back(Pt(p));
  while (ring2.size() > 1 && ring2.back() == ring2.front()) ring2.pop_back();
  const size_t s = ring2.size();
  if (s < 3) return 0;
  double sum = 0;
  for (size_t k = 0; k < s; ++k) sum += GetTurn(ring2[(k + s - 1) % s], ring2[k], ring2[(k + 1) % s]);
  return sum;
}

std::optional<TRealPoint> LineIntersection(TRealPoint A1, TRealPoint A2, TRealPoint B1, TRealPoint B2) {
  const bool va = A1.X == A2.X, vb = B1.X == B2.X;
  std::optional<TRealPoint> result;
  if (va && vb) {
    if (A1.X == B1.X) {
      double y = A1.Y;
      if (A2.Y == B1.Y || A2.Y == B2.Y) y = A2.Y;
      const double lo = std::min(A1.Y, A2.Y), hi = std::max(A1.Y, A2.Y);
      if (B1.Y >= lo && B1.Y <= hi) y = B1.Y;
      if (B2.Y >= lo && B2.Y <= hi) y = B2.Y;
      result = TRealPoint{A1.X, y};
    }
  } else if (va || vb) {
    const TRealPoint v = va ? A1 : B1;
    const TRealPoint p1 = va ? B1 : A1, p2 = va ? B2 : A2;
    const double m = (p2.Y - p1.Y) / (p2.X - p1.X), c = p1.Y - p1.X * m;
    result = TRealPoint{v.X, m * v.X + c};
  } else {
    const double m1 = (A2.Y - A1.Y) / (A2.X - A1.X), c1 = A1.Y - A1.X * m1;
    const double m2 = (B2.Y - B1.Y) / (B2.X - B1.X), c2 = B1.Y - B1.X * m2;
    if (m1 != m2) {
      const double x = (c2 - c1) / (m1 - m2);
      result = TRealPoint{x, c1 + m1 * x};
    } else if (std::fabs(c1 - c2) < 1e-6) {
      result = A1;
    }
  }
  if (result) return result;
  const bool a1 = A1 == B1 || A1 == B2, a2 = A2 == B1 || A2 == B2;
  if (a2) return A2;
  if (a1) return A1;
  return std::nullopt;
}

void TContour::Offset(int AmountX, int AmountY) {
  const size_t n = Points.size();
  if (n == 0) return;
  const std::vector<TTrueTypePoint> old = Points;
  const double rad = std::numbers::pi / 180.0;
  for (size_t i = 0; i < n; ++i) {
    const TRealPoint p = Pt(old[i]), q = Pt(old[(i + 1) % n]), r = Pt(old[(i + 2) % n]);
    const double t1 = GetBearing(p, q), t2 = GetBearing(q, r);
    const TRealPoint s1{-AmountX * std::cos(t1 * rad), AmountY * std::sin(t1 * rad)};
    TRealPoint moved{q.X + s1.X, q.Y + s1.Y};
    if (std::fabs(t1 - t2) > 0.01) {
      const TRealPoint s2{-AmountX * std::cos(t2 * rad), AmountY * std::sin(t2 * rad)};
      const auto x = LineIntersection({p.X + s1.X, p.Y + s1.Y}, moved, {q.X + s2.X, q.Y + s2.Y},
                                      {r.X + s2.X, r.Y + s2.Y});
      // Parallel but distinct shifted edges (the ring turns back on itself
      // here): the vertex stays at the end of the first shifted edge.
      if (x) moved = *x;
    }
    TTrueTypePoint& target = Points[(i + 1) % n];
    if (std::fabs(moved.X) > 65000 || std::fabs(moved.Y) > 65000 || !std::isfinite(moved.X) || !std::isfinite(moved.Y))
      continue;
    target.X = moved.X;
    target.Y = moved.Y;
  }
}

bool TContour::IsEqual(const TContour& Other) const {
  const size_t n = Points.size();
  if (n == 0 || n != Other.Points.size()) return false;
  for (size_t i = 0; i < n; ++i) {
    bool same = true;
    for (size_t k = 0; k < n && same; ++k) same = Points[(i + k) % n] == Other.Points[k];
    if (same) return true;
  }
  for (size_t j = 0; j < n; ++j) {
    bool same = true;
    for (size_t k = 0; k < n && same; ++k) {
      const TTrueTypePoint& a = Points[(n + j - k % n) % n];
      const TTrueTypePoint& b = Other.Points[k];
      same = RoundHalfUp(a.X) == RoundHalfUp(b.X) && RoundHalfUp(a.Y) == RoundHalfUp(b.Y) && a.OnCurve == b.OnCurve;
    }
    if (same) return true;
  }
  return false;
}

void TContour::Normalize() {
  const size_t n = Points.size();
  if (n < 2) return;
  for (TTrueTypePoint& p : Points) {
    p.X = RoundHalfUp(p.X);
    p.Y = RoundHalfUp(p.Y);
  }
  for (size_t i = n; i-- > 0;) {
    const TTrueTypePoint& a = Points[i];
    const TTrueTypePoint& b = Points[(i + 1) % n];
    if (!a.OnCurve && !b.OnCurve) Points.insert(Points.begin() + long(i) + 1, {(a.X + b.X) / 2, (a.Y + b.Y) / 2, true});
  }
}

void TContour::StartOnCurve() {
  if (Points.size() >= 2 && !Points[0].OnCurve && Points[1].OnCurve) RotateStart(1);
}

std::string TContour::Describe() const {
  std::string out;
  char line[64];
  for (const TTrueTypePoint& p : Points) {
    std::snprintf(line, sizeof line, "%6d %6d %s\r\n", RoundHalfUp(p.X), RoundHalfUp(p.Y), p.OnCurve ? "on" : "off");
    out += line;
  }
  return out;
}

TTrueTypePoint TContour::GetMidpoint(const TTrueTypePoint& A, const TTrueTypePoint& B) {
  if (A.OnCurve || B.OnCurve) throw std::logic_error("Illegal midpoint call!");
  return {(A.X + B.X) / 2, (A.Y + B.Y) / 2, true};
}

void TContour::SetToMidpoint(const TTrueTypePoint& A, const TTrueTypePoint& B, TTrueTypePoint& Target) {
  Target = GetMidpoint(A, B);
}

void ScaleContours(TOutlineContours& Contours, double Factor) {
  for (TContour& c : Contours) c.Scale(Factor);
}

void TransformContours(TOutlineContours& Contours, const TOutlineTransform& T) {
  for (TContour& c : Contours) c.Transform(T);
}

TFloatRect GetPointBounds(const TOutlineContours& Contours) {
  if (Contours.empty()) return {};
  TFloatRect r = Contours[0].GetPointBounds();
  for (size_t i = 1; i < Contours.size(); ++i) r = UnionRect(r, Contours[i].GetPointBounds());
  return r;
}

void NormalizeAll(TOutlineContours& Contours) {
  for (size_t i = Contours.size(); i-- > 0;) Contours[i].Normalize();
}

void StartAllOnCurve(TOutlineContours& Contours) {
  for (size_t i = Contours.size(); i-- > 0;) Contours[i].StartOnCurve();
}

void OffsetAll(TOutlineContours& Contours, int AmountX, int AmountY) {
  for (TContour& c : Contours) c.Offset(AmountX, AmountY);
}

std::string DescribeContours(const TOutlineContours& Contours) {
  std::string out;
  for (const TContour& c : Contours) out += "Contour:\r\n" + c.Describe();
  return out;
}

}  // namespace tsy
