#include "outline/hittest.h"

namespace tsy {

TDeviceMapping FontUnitMapping() {
  TDeviceMapping m;
  m.ScaleY = -1;  // the device flips y; flipping it first keeps font orientation
  return m;
}

TRegion ContourRegion(const TContour& Contour, const TDeviceMapping& Mapping) {
  TPolyPolyGon p;
  p.Mapping = Mapping;
  p.AddContour(Contour);
  p.ClosePolygon();
  const std::vector<TIntPoint> poly = p.FirstPolygon();
  if (poly.size() < 3) return {};
  return TRegion::FromPolygon(poly, TFillRule::Alternate);
}

bool SelectPointsInRect(const TOutlineSimple& Outline, const TFloatRect& Rect, TPointSelection& Selection) {
  bool any = false;
  for (size_t c = 0; c < Outline.Contours.size(); ++c) {
    const auto& pts = Outline.Contours[c].Points;
    for (size_t i = 0; i < pts.size(); ++i) {
      const int32_t x = RoundHalfUp(pts[i].X), y = RoundHalfUp(pts[i].Y);
      if (x >= Rect.XMin && x <= Rect.XMax && y >= Rect.YMin && y <= Rect.YMax) {
        Selection.Add(int32_t(c), int32_t(i));
        any = true;
      }
    }
  }
  return any;
}

bool SelectPointsInContourArea(const TOutlineSimple& Outline, const TContour& Lasso, TPointSelection& Selection) {
  const TDeviceMapping m = FontUnitMapping();
  const TRegion area = ContourRegion(Lasso, m);
  if (area.IsEmpty()) return false;
  bool any = false;
  for (size_t c = 0; c < Outline.Contours.size(); ++c) {
    const auto& pts = Outline.Contours[c].Points;
    for (size_t i = 0; i < pts.size(); ++i) {
      // The region's pixel at (x, y) covers the unit square whose centre is
      // (x + 0.5, y + 0.5) in mapped units; a point belongs to the pixel it is
      // the lower-left corner of.
      const TRealPoint d = m.Map(pts[i].X, pts[i].Y, false);
      if (area.Contains(int32_t(d.X), int32_t(d.Y))) {
        Selection.Add(int32_t(c), int32_t(i));
        any = true;
      }
    }
  }
  return any;
}

bool HitTestContours(const TOutlineSimple& Outline, TIntPoint Origin, double Zoom, TIntPoint DevicePoint,
                     TContourSelection& Selection) {
  TDeviceMapping m;
  m.OriginX = Origin.X;
  m.OriginY = Origin.Y;
  m.Zoom = Zoom;
  bool hit = false;
  TRegion held;
  for (size_t c = Outline.Contours.size(); c-- > 0;) {
    const TRegion r = ContourRegion(Outline.Contours[c], m);
    if (r.IsEmpty() || !r.Contains(DevicePoint.X, DevicePoint.Y)) continue;
    if (!hit) {
      Selection.Add(int32_t(c));
      held = r;
      hit = true;
    } else if (held.Difference(r).IsEmpty()) {
      Selection.Add(int32_t(c));  // encloses the held one: further out
    } else {
      Selection.AddFirst(int32_t(c));
      held = r;
    }
  }
  return hit;
}

bool SelectContoursInRect(const TOutlineSimple& Outline, const TFloatRect& Rect, TContourSelection& Selection) {
  bool any = false;
  TPolyPolyGon p;
  for (size_t c = 0; c < Outline.Contours.size(); ++c) {
    const TFloatRect b = p.GetCurveBounds(Outline.Contours[c]);
    if (b.XMin >= Rect.XMin && b.XMax <= Rect.XMax && b.YMin >= Rect.YMin && b.YMax <= Rect.YMax) {
      Selection.Add(int32_t(c));
      any = true;
    }
  }
  return any;
}

bool SelectContoursInside(const TOutlineSimple& Outline, const TContour& Contour, TContourSelection& Selection) {
  const TDeviceMapping m = FontUnitMapping();
  const TRegion outer = ContourRegion(Contour, m);
  bool any = false;
  for (size_t c = 0; c < Outline.Contours.size(); ++c)
    if (RegionInside(outer, ContourRegion(Outline.Contours[c], m))) {
      Selection.Add(int32_t(c));
      any = true;
    }
  return any;
}

bool AllContoursInside(const TOutlineSimple& Outline, const TContour& Contour) {
  TContourSelection s;
  SelectContoursInside(Outline, Contour, s);
  return s.Count() == int(Outline.Contours.size());
}

namespace {

std::unique_ptr<TOutlineSimple> FlattenMember(const TOutlineComposite& Outline, size_t Member) {
  auto s = std::make_unique<TOutlineSimple>();
  Outline.AddMemberContours(s->Contours, Member, TOutlineTransform{});
  return s;
}

}  // namespace

bool HitTestMembers(const TOutlineComposite& Outline, TIntPoint Origin, double Zoom, TIntPoint DevicePoint,
                    TGlyphSelection& Selection) {
  bool any = false;
  for (size_t i = 0; i < Outline.Members.size(); ++i) {
    TContourSelection hits;
    if (HitTestContours(*FlattenMember(Outline, i), Origin, Zoom, DevicePoint, hits)) {
      Selection.Add(int32_t(i));
      any = true;
    }
  }
  return any;
}

bool SelectMembersInRect(const TOutlineComposite& Outline, const TFloatRect& Rect, TGlyphSelection& Selection) {
  bool any = false;
  for (size_t i = 0; i < Outline.Members.size(); ++i) {
    const auto flat = FlattenMember(Outline, i);
    TContourSelection inRect;
    SelectContoursInRect(*flat, Rect, inRect);
    if (!flat->Contours.empty() && inRect.Count() == int(flat->Contours.size())) {
      Selection.Add(int32_t(i));
      any = true;
    }
  }
  return any;
}

bool SelectMembersInside(const TOutlineComposite& Outline, const TContour& Contour, TGlyphSelection& Selection) {
  bool any = false;
  for (size_t i = 0; i < Outline.Members.size(); ++i)
    if (AllContoursInside(*FlattenMember(Outline, i), Contour)) {
      Selection.Add(int32_t(i));
      any = true;
    }
  return any;
}

}  // namespace tsy

namespace tsy {

void BuildOutlinePolygons(const TOutlineBase& Outline, const TDeviceMapping& Mapping, TPolyPolyGon& Target) {
  Target.Reset();
  Target.Mapping = Mapping;
  if (const auto* simple = dynamic_cast<const TOutlineSimple*>(&Outline)) {
    Target.AddContours(simple->Contours);
    return;
  }
  TOutlineContours flat;
  Outline.AddTransformedContours(flat, TOutlineTransform{});
  Target.AddContours(flat);
}

void BuildContourPolygon(const TOutlineSimple& Outline, size_t Contour, const TDeviceMapping& Mapping,
                         TPolyPolyGon& Target) {
  Target.Reset();
  Target.Mapping = Mapping;
  Target.AddContour(Outline.Contours.at(Contour));
}

void BuildMemberPolygons(const TOutlineComposite& Outline, size_t Member, const TDeviceMapping& Mapping,
                         TPolyPolyGon& Target) {
  Target.Reset();
  Target.Mapping = Mapping;
  TOutlineContours flat;
  Outline.AddMemberContours(flat, Member, TOutlineTransform{});
  Target.AddContours(flat);
}

std::vector<TIntPoint> ContourOutlinePolyline(const TContour& Contour, const TDeviceMapping& Mapping) {
  TPolyPolyGon p;
  p.Mapping = Mapping;
  p.AddContour(Contour);
  if (p.PolygonCount() != 1 || p.PointCount() <= 1) return {};
  return p.Points;
}

}  // namespace tsy
