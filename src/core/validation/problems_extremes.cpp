// Off-curve extreme coordinates: curves whose leftmost, rightmost, lowest or
// highest point lies between their on-curve ends, where hinting and
// rasterisers want an on-curve point.
#include "outline/polypolygon.h"
#include "validation/extremes.h"
#include "validation/problems.h"

namespace tsy {

namespace {

TRealPoint RoundedPoint(const TTrueTypePoint& P) { return {double(RoundHalfUp(P.X)), double(RoundHalfUp(P.Y))}; }
TRealPoint Mid(TRealPoint A, TRealPoint B) { return {(A.X + B.X) / 2, (A.Y + B.Y) / 2}; }

bool ContourExtremes(const TContour& Contour, const TFloatRect* Bounds, TCoordinateList& Coordinates) {
  const size_t n = Contour.Count();
  // Two points or fewer make no curve with distinct ends.
  if (n < 3) return false;
  std::vector<TRealPoint> p(n);
  for (size_t i = 0; i < n; ++i) p[i] = RoundedPoint(Contour.Points[i]);
  bool found = false;
  for (size_t i = 0; i < n; ++i) {
    if (Contour.Points[i].OnCurve) continue;
    const size_t ip = (i + n - 1) % n, in = (i + 1) % n;
    const bool prevOn = Contour.Points[ip].OnCurve, nextOn = Contour.Points[in].OnCurve;
    const TRealPoint p0 = prevOn ? p[ip] : Mid(p[ip], p[i]);
    const TRealPoint p2 = nextOn ? p[in] : Mid(p[i], p[in]);
    if (ExamineSegment(p0, p[i], p2, Bounds).Count > 0) {
      Coordinates.Add(p[i].X, p[i].Y);
      found = true;
    }
    if (!nextOn && MidpointExtremeCounts(p[i], p[in], Bounds)) {
      Coordinates.Add(p[i].X, p[i].Y);
      Coordinates.Add(p[in].X, p[in].Y);
      found = true;
    }
  }
  return found;
}

}  // namespace

bool FindOffCurveExtremes(const TOutlineBase& Outline, TGlyphSelection& Selection, TCoordinateList& Coordinates,
                          bool Local) {
  if (Outline.GetKind() == okSimple) {
    const TOutlineContours& contours = static_cast<const TOutlineSimple&>(Outline).Contours;
    const TFloatRect bounds = ExactCurveBounds(contours);
    bool found = false;
    for (const TContour& c : contours) found |= ContourExtremes(c, Local ? nullptr : &bounds, Coordinates);
    return found;
  }
  if (Outline.GetKind() != okComposite) return false;
  const auto& composite = static_cast<const TOutlineComposite&>(Outline);
  TOutlineContours whole;
  composite.AddTransformedContours(whole, TOutlineTransform{});
  const TFloatRect bounds = ExactCurveBounds(whole);
  bool found = false;
  for (size_t m = 0; m < composite.Members.size(); ++m) {
    TOutlineContours member;
    composite.AddMemberContours(member, m, TOutlineTransform{});
    bool memberFound = false;
    for (const TContour& c : member) memberFound |= ContourExtremes(c, Local ? nullptr : &bounds, Coordinates);
    if (memberFound) {
      Selection.Add(int32_t(m));
      found = true;
    }
  }
  return found;
}

}  // namespace tsy
