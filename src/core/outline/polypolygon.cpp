#include "outline/polypolygon.h"

#include <algorithm>
#include <cmath>

namespace tsy {

namespace {

TRealPoint Mid(const TTrueTypePoint& A, const TTrueTypePoint& B) { return {(A.X + B.X) / 2, (A.Y + B.Y) / 2}; }

TRealPoint Bezier(TRealPoint S, TRealPoint C, TRealPoint E, double T) {
  const double u = 1 - T;
  return {u * u * S.X + 2 * T * u * C.X + T * T * E.X, u * u * S.Y + 2 * T * u * C.Y + T * T * E.Y};
}

double Dist(TRealPoint A, TRealPoint B) { return std::hypot(B.X - A.X, B.Y - A.Y); }

// Distance of C from the line through S and E (from S when they coincide).
double ChordDistance(TRealPoint S, TRealPoint C, TRealPoint E) {
  const double len = Dist(S, E);
  if (len == 0) return Dist(S, C);
  return std::fabs((E.X - S.X) * (S.Y - C.Y) - (S.X - C.X) * (E.Y - S.Y)) / len;
}

// Deep enough for any curve a 32-bit device can show; a bound for NaNs and
// absurd zooms.
constexpr int kMaxDepth = 24;

}  // namespace

TRealPoint TDeviceMapping::Map(double X, double Y, bool KeepFractions) const {
  if (!KeepFractions) {
    X = RoundHalfUp(X);
    Y = RoundHalfUp(Y);
  }
  if (YFromX != 0 && XFromY != 0) {
    const double x = XFromY * Y, y = YFromX * X;
    X = x;
    Y = y;
  }
  X = ScaleX * X + OffsetX;
  Y = ScaleY * Y + OffsetY;
  return {Zoom * X + OriginX, OriginY - Zoom * Y};
}

void TPolyPolyGon::Reset() {
  Points.clear();
  PolygonCounts.clear();
  FCurrentCount = 0;
}

void TPolyPolyGon::Visit(TRealPoint Device) {
  if (FMode == TMode::Polygon) {
    // Device coordinates beyond 32 bits cannot be drawn; clamp rather than fail.
    auto clamp = [](double v) { return std::clamp(v, -1.0e9, 1.0e9); };
    Points.push_back({RoundHalfUp(clamp(Device.X)), RoundHalfUp(clamp(Device.Y))});
    ++FCurrentCount;
    return;
  }
  if (FBoundsEmpty) {
    FMinX = FMaxX = Device.X;
    FMinY = FMaxY = Device.Y;
    FBoundsEmpty = false;
    return;
  }
  FMinX = std::min(FMinX, Device.X);
  FMaxX = std::max(FMaxX, Device.X);
  FMinY = std::min(FMinY, Device.Y);
  FMaxY = std::max(FMaxY, Device.Y);
}

void TPolyPolyGon::LineTo(const TTrueTypePoint& P) {
  Visit(Mapping.Map(FPen.X, FPen.Y, KeepFractions));
  FPen = {P.X, P.Y};
}

void TPolyPolyGon::Subdivide(TRealPoint S, TRealPoint C, TRealPoint E, double T, double Step, TRealPoint Lower,
                             TRealPoint Upper, int Depth) {
  const TRealPoint m = Bezier(S, C, E, T);
  const double a1 = std::atan2(Lower.Y - m.Y, Lower.X - m.X);
  const double a2 = std::atan2(m.Y - Upper.Y, m.X - Upper.X);
  if (std::fabs(a1 - a2) < 0.003 || Depth > kMaxDepth) return;
  if (Dist(Lower, m) > 2) Subdivide(S, C, E, T - Step, Step / 2, Lower, m, Depth + 1);
  Visit(m);
  if (Dist(m, Upper) > 2) Subdivide(S, C, E, T + Step, Step / 2, m, Upper, Depth + 1);
}

void TPolyPolyGon::SubdivideBounds(TRealPoint S, TRealPoint C, TRealPoint E, double T0, double T1, TRealPoint A,
                                   TRealPoint B, int Depth) {
  const double t = (T0 + T1) / 2;
  const TRealPoint m = Bezier(S, C, E, t);
  if (Depth > kMaxDepth) return;
  if (Dist(A, m) > 1) SubdivideBounds(S, C, E, T0, t, A, m, Depth + 1);
  Visit(m);
  if (Dist(m, B) > 1) SubdivideBounds(S, C, E, t, T1, m, B, Depth + 1);
}

void TPolyPolyGon::CurveTo(const TTrueTypePoint& Q, const TTrueTypePoint& P) {
  const TRealPoint s = Mapping.Map(FPen.X, FPen.Y, KeepFractions);
  const TRealPoint c = Mapping.Map(Q.X, Q.Y, KeepFractions);
  const TRealPoint e = Mapping.Map(P.X, P.Y, KeepFractions);
  Visit(s);
  if (FMode == TMode::Polygon) {
    // The end points alone do not bound a curve: a control point far from a
    // short chord makes a spike that must not be drawn flat.
    if (Dist(s, e) > 2 || ChordDistance(s, c, e) > 2) Subdivide(s, c, e, 0.5, 0.25, s, e, 0);
  } else {
    if (Dist(s, e) > 1 || ChordDistance(s, c, e) > 1) SubdivideBounds(s, c, e, 0, 1, s, e, 0);
  }
  FPen = {P.X, P.Y};
}

void TPolyPolyGon::Walk(const TContour& Contour, TMode Mode) {
  FMode = Mode;
  const std::vector<TTrueTypePoint>& pts = Contour.Points;
  const size_t n = pts.size();
  size_t i;
  if (pts[0].OnCurve) {
    FPen = {pts[0].X, pts[0].Y};
    i = 1;
  } else {
    i = 0;
    FPen = pts[n - 1].OnCurve ? TRealPoint{pts[n - 1].X, pts[n - 1].Y} : Mid(pts[n - 1], pts[0]);
  }
  while (i < n) {
    const TTrueTypePoint& p = pts[i];
    if (p.OnCurve) {
      LineTo(p);
      if (i == n - 1) LineTo(pts[0]);
      ++i;
      continue;
    }
    const TTrueTypePoint& next = pts[(i + 1) % n];
    if (next.OnCurve) {
      CurveTo(p, next);
      i += 2;
      if (i == n) LineTo(pts[0]);
    } else {
      const TRealPoint m = Mid(p, next);
      CurveTo(p, {m.X, m.Y, true});
      ++i;
    }
  }
}

void TPolyPolyGon::AddContour(const TContour& Contour) {
  if (Contour.Points.size() < 2) return;
  FCurrentCount = 0;
  Walk(Contour, TMode::Polygon);
  if (FCurrentCount > 1)
    PolygonCounts.push_back(FCurrentCount);
  else
    Points.resize(Points.size() - size_t(FCurrentCount));
  FCurrentCount = 0;
}

void TPolyPolyGon::AddContours(const TOutlineContours& Contours) {
  for (const TContour& c : Contours) AddContour(c);
}

void TPolyPolyGon::ClosePolygon() {
  if (Points.empty() || PolygonCounts.empty()) return;
  Points.push_back(Points.front());
  ++PolygonCounts.back();
}

std::vector<TIntPoint> TPolyPolyGon::FirstPolygon() const {
  if (PolygonCounts.empty()) return {};
  return std::vector<TIntPoint>(Points.begin(), Points.begin() + PolygonCounts[0]);
}

TFloatRect TPolyPolyGon::GetCurveBounds(const TContour& Contour) {
  if (Contour.Points.empty()) return {};
  const bool keep = KeepFractions;
  const TDeviceMapping mapping = Mapping;
  KeepFractions = true;
  Mapping = TDeviceMapping{};
  FBoundsEmpty = true;
  FMode = TMode::Bounds;
  if (Contour.Points.size() == 1)
    Visit(Mapping.Map(Contour.Points[0].X, Contour.Points[0].Y, true));
  else
    Walk(Contour, TMode::Bounds);
  KeepFractions = keep;
  Mapping = mapping;
  FMode = TMode::Polygon;
  return {FMinX, -FMaxY, FMaxX, -FMinY};
}

TFloatRect GetCurveBounds(const TOutlineContours& Contours) {
  if (Contours.empty()) return {};
  TPolyPolyGon p;
  TFloatRect r = p.GetCurveBounds(Contours[0]);
  for (size_t i = 1; i < Contours.size(); ++i) {
    const TFloatRect b = p.GetCurveBounds(Contours[i]);
    r = {std::min(r.XMin, b.XMin), std::min(r.YMin, b.YMin), std::max(r.XMax, b.XMax), std::max(r.YMax, b.YMax)};
  }
  return r;
}

}  // namespace tsy
