#include "glyphview/layers.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "document/editwindowlist.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/os2.h"
#include "fontfile/truetypefont.h"
#include "glyphview/rulers.h"
#include "outline/containers.h"
#include "outline/hittest.h"
#include "outline/outline.h"
#include "settings/registrysettings.h"
#include "validation/problems.h"

namespace tsy {

namespace {

template <class T, class TGet>
T Safe(TGet Get, T Default) {
  try {
    return T(Get());
  } catch (const std::exception&) {
    return Default;
  }
}

bool Inside(const TGlyphViewport& V, TIntPoint P) {
  return P.X >= 0 && P.Y >= 0 && P.X < V.Width() && P.Y < V.Height();
}

std::vector<TIntPoint> SquareRing(TIntPoint C, int R) {
  return {{C.X - R, C.Y - R}, {C.X + R, C.Y - R}, {C.X + R, C.Y + R}, {C.X - R, C.Y + R}};
}

std::vector<TIntPoint> OctagonRing(TIntPoint C, int R) {
  const int x = C.X, y = C.Y;
  return {{x - 1, y - R}, {x + 1, y - R}, {x + R, y - 1}, {x + R, y + 1},
          {x + 1, y + R}, {x - 1, y + R}, {x - R, y + 1}, {x - R, y - 1}};
}

TPenStyle LineStyle(int Style) { return Style == 0 ? TPenStyle::Solid : TPenStyle::Dotted; }

// Grid, reference lines -------------------------------------------------------

void AddGrid(const TGlyphViewport& V, const TGlyphViewOptions& O, TDisplayList& Out) {
  const TGridLines g = GridLines(GridSpacing(O.GridDistance, O.GridDistancePixels, V), V);
  const int w = V.Width(), h = V.Height();
  if (O.GridLineStyle == 0) {
    for (int x : g.Xs) Out.Line({x, 0}, {x, h - 1}, O.GridColor);
    for (int y : g.Ys) Out.Line({0, y}, {w - 1, y}, O.GridColor);
    return;
  }
  for (int x : g.Xs)
    for (int y : g.Ys)
      if (Inside(V, {x, y})) Out.Pixel({x, y}, O.GridColor);
}

void AddFixedLines(const TGlyphViewport& V, const TGlyphViewOptions& O, TDisplayList& Out) {
  const TIntPoint origin = V.FontToScreen(0, 0);
  const int w = V.Width(), h = V.Height();
  if (O.FixedGridLineStyle == 0) {
    Out.Line({origin.X, 0}, {origin.X, h - 1}, O.FixedGridColor);
    Out.Line({0, origin.Y}, {w - 1, origin.Y}, O.FixedGridColor);
    return;
  }
  const TGridLines g = GridLines(GridSpacing(O.GridDistance, 16, V), V);
  for (int x : g.Xs)
    if (Inside(V, {x, origin.Y})) Out.Pixel({x, origin.Y}, O.FixedGridColor);
  for (int y : g.Ys)
    if (Inside(V, {origin.X, y})) Out.Pixel({origin.X, y}, O.FixedGridColor);
}

// Bearings --------------------------------------------------------------------

// The origin and advance position of glyph G in font units, or nothing when
// the font lacks what they come from.
std::optional<std::pair<int64_t, int64_t>> GlyphBearings(const TTrueTypeFont& F, int G) {
  const TTableHmtx* hmtx = F.Hmtx();
  if (!hmtx || G < 0 || size_t(G) >= F.Outlines.Count()) return std::nullopt;
  try {
    const int64_t x0 = int64_t(RoundHalfUp(F.Outlines.Items(size_t(G))->Bounds.XMin)) - hmtx->LeftSideBearing(G);
    return std::pair{x0, x0 + hmtx->AdvanceWidth(G)};
  } catch (const std::exception&) {
    return std::nullopt;  // a glyph beyond the metrics has no bearings to show
  }
}

void AddBearings(const TGlyphViewport& V, const TGlyphViewScene& S, TDisplayList& Out) {
  const TTrueTypeFont& f = *S.Font;
  const int w = V.Width(), h = V.Height();
  const int source = f.Outlines.FindMetricsSource(S.Glyph);
  if (source >= 0)
    if (const auto b = GlyphBearings(f, source)) {
      const int l = V.FontToScreenX(double(b->first)), r = V.FontToScreenX(double(b->second));
      Out.Line({l, 0}, {l, h - 1}, ViewColor::Purple, TPenStyle::Dotted);
      Out.Line({r, 0}, {r, h - 1}, ViewColor::Purple, TPenStyle::Dotted);
      Out.FilledPolygon({{l - 5, h}, {l, h - 5}, {l, h}}, ViewColor::Purple);
      Out.FilledPolygon({{r + 5, h}, {r, h - 5}, {r, h}}, ViewColor::Purple);
    }
  if (const auto b = GlyphBearings(f, S.Glyph)) {
    const int l = V.FontToScreenX(double(b->first)), r = V.FontToScreenX(double(b->second));
    Out.Line({l, 0}, {l, h - 1}, ViewColor::Black, TPenStyle::Dotted);
    Out.Line({r, 0}, {r, h - 1}, ViewColor::Black, TPenStyle::Dotted);
    Out.FilledPolygon({{l - 5, -1}, {l, 4}, {l, -1}}, ViewColor::Black);
    Out.FilledPolygon({{r + 5, -1}, {r, 4}, {r, -1}}, ViewColor::Black);
  }
  if (const TTableOS_2* os2 = f.OS2()) {
    // usWinDescent is held negated, as a descender: it is already the y of the line.
    const int a = V.FontToScreenY(os2->usWinAscent), d = V.FontToScreenY(os2->usWinDescent);
    Out.Line({0, a}, {w - 1, a}, ViewColor::Black, TPenStyle::Dotted);
    Out.Line({0, d}, {w - 1, d}, ViewColor::Black, TPenStyle::Dotted);
  }
}

// Guidelines and the outside area ---------------------------------------------

void AddGuidelines(const TGlyphViewport& V, const TGlyphViewOptions& O, const TGlyphViewScene& S,
                   const TGuideLineSettings& G, TDisplayList& Out) {
  const TPenStyle style = LineStyle(O.GuideLineStyle);
  const int w = V.Width(), h = V.Height();
  for (size_t i = 0; i < G.Diagonal.Count(); ++i) {
    if (&G.Diagonal.Items(i) == S.HiddenGuideline) continue;
    const auto [a, b] = ClipDiagonal(V, G.Diagonal.Items(i));
    Out.Line(a, b, O.GuideLineColor, style);
  }
  for (size_t i = 0; i < G.Horizontal.Count(); ++i) {
    if (&G.Horizontal.Items(i) == S.HiddenGuideline) continue;
    const int y = V.FontToScreenY(G.Horizontal.Items(i).Y);
    Out.Line({0, y}, {w - 1, y}, O.GuideLineColor, style);
  }
  for (size_t i = 0; i < G.Vertical.Count(); ++i) {
    if (&G.Vertical.Items(i) == S.HiddenGuideline) continue;
    const int x = V.FontToScreenX(G.Vertical.Items(i).X);
    Out.Line({x, 0}, {x, h - 1}, O.GuideLineColor, style);
  }
}

void AddOutsideArea(const TGlyphViewport& V, TDisplayList& Out) {
  const int w = V.Width(), h = V.Height();
  const int l = V.FontToScreenX(TGlyphViewport::kSpaceMin), r = V.FontToScreenX(TGlyphViewport::kSpaceMax);
  const int t = V.FontToScreenY(TGlyphViewport::kSpaceMax), b = V.FontToScreenY(TGlyphViewport::kSpaceMin);
  if (l > 0) Out.FillRect({0, 0, std::min(l, w) - 1, h - 1}, ViewColor::Silver);
  if (t > 0) Out.FillRect({0, 0, w - 1, std::min(t, h) - 1}, ViewColor::Silver);
  if (r < w) Out.FillRect({std::max(r, 0), 0, w - 1, h - 1}, ViewColor::Silver);
  if (b < h) Out.FillRect({0, std::max(b, 0), w - 1, h - 1}, ViewColor::Silver);
}

// The glyph -------------------------------------------------------------------

void AddPolygons(TPolyPolyGon& P, TColor Pen, TPenStyle Style, bool Filled, TColor Brush, TDisplayList& Out) {
  if (P.PolygonCount() == 0) return;
  Out.Polygons(std::move(P.Points), std::move(P.PolygonCounts), Pen, Style, Filled, Brush);
  P.Reset();
}

void AddOutline(const TOutlineBase& O, const TDeviceMapping& M, const TGlyphViewOptions& Opt, TDisplayList& Out) {
  TPolyPolyGon p;
  BuildOutlinePolygons(O, M, p);
  if (Opt.FilledOutline)
    AddPolygons(p, ViewColor::Silver, TPenStyle::Solid, true, ViewColor::Black, Out);
  else
    AddPolygons(p, ViewColor::Black, TPenStyle::Solid, false, 0, Out);
}

// A dotted NOT-XOR frame around a rectangle in font units, as the selection
// frames are drawn; returns its corners (left, top, right + 1, bottom + 1).
TIntRect AddFrame(const TGlyphViewport& V, const TFloatRect& F, TDisplayList& Out) {
  const TIntRect r{V.FontToScreenX(F.XMin), V.FontToScreenY(F.YMax) - 1, V.FontToScreenX(F.XMax) + 1,
                   V.FontToScreenY(F.YMin)};
  Out.Rectangle({r.Left, r.Top, r.Right - 1, r.Bottom - 1}, ViewColor::Black, TPenStyle::Dotted, false, 0, true);
  return r;
}

void AddMemberMarks(const TGlyphViewport& V, const TOutlineComposite& C, const TGlyphViewScene& S, bool Dragging,
                    TDisplayList& Out) {
  const TDeviceMapping m = OutlineMapping(V);
  for (int i = 0; i < S.Members.Count(); ++i) {
    const int member = S.Members.Items(i);
    if (member < 0 || size_t(member) >= C.Members.size()) continue;
    TPolyPolyGon p;
    BuildMemberPolygons(C, size_t(member), m, p);
    AddPolygons(p, Dragging ? ViewColor::Grey : ViewColor::Red, TPenStyle::Solid, false, 0, Out);
  }
  if (S.Members.Count() > 0 && S.EditState != EditStates::DraggingMembers) AddFrame(V, S.MemberFrame, Out);
}

void AddHandles(const TIntRect& R, const TGlyphViewScene& S, const TGlyphViewport& V, TDisplayList& Out) {
  const int mx = (R.Left + R.Right) / 2, my = (R.Top + R.Bottom) / 2;
  auto box = [&](int X, int Y, int HalfW, int HalfH, bool Round) {
    const TIntRect b{X - HalfW, Y - HalfH, X + HalfW, Y + HalfH};
    if (Round)
      Out.Ellipse(b, ViewColor::Black, true, ViewColor::White, true);
    else
      Out.Rectangle(b, ViewColor::Black, TPenStyle::Solid, true, ViewColor::White, true);
  };
  const TIntPoint corners[4] = {{R.Left, R.Top}, {R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}};
  if (S.HandleKind == 2) {
    const TIntPoint o = V.FontToScreen(S.TransformOrigin.X, S.TransformOrigin.Y);
    Out.Line({o.X - 3, o.Y - 3}, {o.X + 3, o.Y + 3}, ViewColor::Black, TPenStyle::Solid, true);
    Out.Line({o.X + 3, o.Y - 3}, {o.X - 3, o.Y + 3}, ViewColor::Black, TPenStyle::Solid, true);
    for (const TIntPoint& c : corners) box(c.X, c.Y, 3, 3, true);
    box(mx, R.Top, 3, 2, false);
    box(mx, R.Bottom, 3, 2, false);
    box(R.Left, my, 2, 3, false);
    box(R.Right, my, 2, 3, false);
    return;
  }
  for (const TIntPoint& c : corners) box(c.X, c.Y, 3, 3, false);
  box(mx, R.Top, 3, 3, false);
  box(mx, R.Bottom, 3, 3, false);
  box(R.Left, my, 3, 3, false);
  box(R.Right, my, 3, 3, false);
}

void AddContourMarks(const TGlyphViewport& V, const TOutlineSimple& O, const TGlyphViewScene& S, bool Dragging,
                     TDisplayList& Out) {
  if (S.Contours.Count() == 0) return;
  const TDeviceMapping m = OutlineMapping(V);
  for (int i = 0; i < S.Contours.Count(); ++i) {
    const int c = S.Contours.Items(i);
    if (c < 0 || size_t(c) >= O.Contours.size()) continue;
    TPolyPolyGon p;
    BuildContourPolygon(O, size_t(c), m, p);
    AddPolygons(p, Dragging ? ViewColor::Grey : ViewColor::Red, TPenStyle::Solid, false, 0, Out);
  }
  if (S.HideAids || S.EditState == EditStates::MovingContours || S.EditState == EditStates::Transforming) return;
  const TFloatRect& f = S.SelectionFrame;
  const TFloatRect rounded{double(RoundHalfUp(f.XMin)), double(RoundHalfUp(f.YMin)), double(RoundHalfUp(f.XMax)),
                           double(RoundHalfUp(f.YMax))};
  AddHandles(AddFrame(V, rounded, Out), S, V, Out);
}

void AddPointMarkers(const TGlyphViewport& V, const TOutlineSimple& O, const TPointSelection* Selection,
                     const TGlyphViewOptions& Opt, const TViewPalette& Pal, TDisplayList& Out) {
  const TColor marker = ViewColor::Black;
  auto screen = [&](const TTrueTypePoint& P) { return V.FontToScreen(RoundHalfUp(P.X), RoundHalfUp(P.Y)); };
  for (size_t c = 0; c < O.Contours.size(); ++c) {
    const auto& pts = O.Contours[c].Points;
    if (pts.empty()) continue;
    for (size_t i = 0; i < pts.size(); ++i) {
      const TIntPoint p = screen(pts[i]);
      if (Opt.ShowConnectionsBetweenPoints && i > 0) Out.Line(screen(pts[i - 1]), p, Pal.ButtonFace);
      if (!Inside(V, p)) continue;
      auto ring = [&](int R) { return pts[i].OnCurve ? SquareRing(p, R) : OctagonRing(p, R); };
      if (Selection && Selection->Contains(int32_t(c), int32_t(i))) {
        Out.Ring(ring(4), ViewColor::White);
        Out.Ring(ring(3), marker);
        Out.Ring(ring(2), Pal.ButtonFace);
        Out.Ring(ring(1), marker);
        Out.Pixel(p, marker);
      } else {
        Out.Ring(ring(3), ViewColor::White);
        Out.Ring(ring(2), marker);
        Out.Ring(ring(1), ViewColor::White);
        Out.Pixel(p, ViewColor::White);
      }
    }
    if (Opt.ShowConnectionsBetweenPoints && pts.size() > 1) Out.Line(screen(pts.back()), screen(pts.front()), Pal.ButtonFace);
  }
  if (!Opt.ShowFirstAndLastPointIndicators) return;
  for (const TContour& contour : O.Contours) {
    if (contour.Points.empty()) continue;
    if (contour.Count() > 1) {
      const TIntPoint l = screen(contour.Points.back());
      Out.Ring(SquareRing(l, 4), ViewColor::Navy);
      Out.Ring(SquareRing(l, 5), ViewColor::Navy);
      Out.Ring(SquareRing(l, 6), ViewColor::White);
    }
    const TIntPoint f = screen(contour.Points.front());
    Out.Ring(SquareRing(f, 4), ViewColor::Green);
    Out.Ring(SquareRing(f, 5), ViewColor::Green);
    Out.Ring(SquareRing(f, 6), ViewColor::White);
  }
}

bool WithinValidationLimits(const TOutlineBase& O, const TGlyphViewOptions& Opt) {
  return std::max(O.GetPointCount(), O.GetCompositePointCount()) <= Opt.ValidationMaxNumberOfPoints &&
         std::max<int64_t>(O.GetContourCount(), O.GetCompositeContourCount()) <= Opt.ValidationMaxNumberOfContours &&
         O.GetComponentCount() <= Opt.ValidationMaxNumberOfCompositeGlyphMembers;
}

void AddWarningMarker(const TGlyphViewport& V, TIntPoint P, TDisplayList& Out) {
  if (!Inside(V, P)) return;
  Out.Ring(OctagonRing(P, 2), ViewColor::Red);
  Out.Ring(SquareRing(P, 1), ViewColor::Red);
  Out.Pixel(P, ViewColor::White);
}

void AddWarningMarks(const TGlyphViewport& V, const TOutlineBase& O, const TGlyphViewOptions& Opt,
                     TDisplayList& Out) {
  const TOutlineSimple* simple = O.GetKind() == okSimple ? static_cast<const TOutlineSimple*>(&O) : nullptr;
  auto markPoint = [&](int C, int P) {
    if (!simple || C < 0 || size_t(C) >= simple->Contours.size()) return;
    const auto& pts = simple->Contours[size_t(C)].Points;
    if (P < 0 || size_t(P) >= pts.size()) return;
    AddWarningMarker(V, V.FontToScreen(RoundHalfUp(pts[size_t(P)].X), RoundHalfUp(pts[size_t(P)].Y)), Out);
  };
  TPointSelection knots;
  FindDuplicateKnots(O, knots, nullptr);
  for (int i = 0; i < knots.Count(); ++i) markPoint(knots.Items(i).Contour, knots.Items(i).Point);

  TGlyphSelection members;
  TCoordinateList extremes;
  FindOffCurveExtremes(O, members, extremes, Opt.LocalExtremeCoordinatesDetection);
  for (int i = 0; i < extremes.Count(); ++i)
    AddWarningMarker(V, V.FontToScreen(extremes.Items(i).X, extremes.Items(i).Y), Out);

  TPointSelection redundant;
  FindRedundantPoints(O, redundant, Opt.DiagonalRedundantOnCurvePointsDetection,
                      Opt.MaximumRedundantOffCurvePointsDistance, Opt.MaximumRedundantOnCurvePointsDistance,
                      Opt.DiagonalRedundantOffCurvePointsDetection);
  for (int i = 0; i < redundant.Count(); ++i) markPoint(redundant.Items(i).Contour, redundant.Items(i).Point);

  TContourSelection small;
  FindSmallContours(O, small);
  for (int i = 0; i < small.Count(); ++i) {
    const int c = small.Items(i);
    if (simple && c >= 0 && size_t(c) < simple->Contours.size())
      for (size_t p = 0; p < simple->Contours[size_t(c)].Count(); ++p) markPoint(c, int(p));
  }
}

void AddIntersectionMarks(const TGlyphViewport& V, const TOutlineBase& O, TDisplayList& Out) {
  TCoordinateList crossings;
  TContourSelection self, pairs;
  FindIntersections(O, self, pairs, nullptr, &crossings);
  TGlyphSelection members;
  FindIntersectingComponents(O, members, &crossings, nullptr);
  for (int i = 0; i < crossings.Count(); ++i) {
    const TIntPoint p = V.FontToScreen(crossings.Items(i).X, crossings.Items(i).Y);
    if (!Inside(V, p)) continue;
    Out.Ring(SquareRing(p, 3), ViewColor::White);
    Out.Ring(SquareRing(p, 2), ViewColor::Red);
    Out.Ring(SquareRing(p, 1), ViewColor::Red);
    Out.Pixel(p, ViewColor::Red);
    for (const TIntPoint d : {TIntPoint{2, 0}, TIntPoint{-2, 0}, TIntPoint{0, 2}, TIntPoint{0, -2}})
      Out.Pixel({p.X + d.X, p.Y + d.Y}, ViewColor::White);
  }
}

// The marks of one outline: member marks, contour marks, point markers.
void AddMarks(const TGlyphViewport& V, const TOutlineBase& O, const TGlyphViewScene& S, bool Dragging,
              bool ShowPointMarkers, const TGlyphViewOptions& Opt, const TViewPalette& Pal, TDisplayList& Out) {
  if (O.GetKind() == okComposite) {
    AddMemberMarks(V, static_cast<const TOutlineComposite&>(O), S, Dragging, Out);
    return;
  }
  if (O.GetKind() != okSimple) return;
  const auto& simple = static_cast<const TOutlineSimple&>(O);
  if (S.EditMode == emContour) AddContourMarks(V, simple, S, Dragging, Out);
  if (S.EditMode == emPoint && ShowPointMarkers) AddPointMarkers(V, simple, &S.Points, Opt, Pal, Out);
}

}  // namespace

TGlyphViewOptions ReadGlyphViewOptions(TRegistrySettings& R) {
  TGlyphViewOptions o;
#define TSY_READ(Name) o.Name = Safe<decltype(o.Name)>([&] { return R.Name(); }, o.Name)
  TSY_READ(ShowGrid);
  TSY_READ(GridDistance);
  TSY_READ(GridDistancePixels);
  TSY_READ(GridColor);
  TSY_READ(GridLineStyle);
  TSY_READ(ShowFixedGridLines);
  TSY_READ(FixedGridColor);
  TSY_READ(FixedGridLineStyle);
  TSY_READ(ShowBearings);
  TSY_READ(ShowUserDefinedGuidelines);
  TSY_READ(GuideLineColor);
  TSY_READ(GuideLineStyle);
  TSY_READ(FilledOutline);
  TSY_READ(ShowConnectionsBetweenPoints);
  TSY_READ(ShowFirstAndLastPointIndicators);
  TSY_READ(ShowWarningPoints);
  TSY_READ(ShowIntersections);
  TSY_READ(EnableGlyphProblemDetection);
  TSY_READ(ValidationMaxNumberOfPoints);
  TSY_READ(ValidationMaxNumberOfContours);
  TSY_READ(ValidationMaxNumberOfCompositeGlyphMembers);
  TSY_READ(LocalExtremeCoordinatesDetection);
  TSY_READ(DiagonalRedundantOnCurvePointsDetection);
  TSY_READ(MaximumRedundantOffCurvePointsDistance);
  TSY_READ(MaximumRedundantOnCurvePointsDistance);
  TSY_READ(DiagonalRedundantOffCurvePointsDetection);
#undef TSY_READ
  return o;
}

const TOutlineBase* SceneOutline(const TGlyphViewScene& S) {
  if (!S.Font || S.Glyph < 0 || size_t(S.Glyph) >= S.Font->Outlines.Count()) return nullptr;
  return S.Font->Outlines.Items(size_t(S.Glyph));
}

TDeviceMapping OutlineMapping(const TGlyphViewport& V) {
  TDeviceMapping m;
  m.Zoom = V.ZoomFactor();
  m.OriginX = V.FontToScreenX(0);
  m.OriginY = V.FontToScreenY(0);
  return m;
}

void BuildAidsLayer(const TGlyphViewport& V, const TGlyphViewOptions& O, const TGlyphViewScene& S,
                    const TGuideLineSettings* G, const TViewPalette&, TDisplayList& Out) {
  if (S.HideAids) return;
  if (O.ShowGrid) AddGrid(V, O, Out);
  if (O.ShowFixedGridLines) AddFixedLines(V, O, Out);
  if (O.ShowBearings && S.Font) AddBearings(V, S, Out);
  if (O.ShowUserDefinedGuidelines && G) AddGuidelines(V, O, S, *G, Out);
  AddOutsideArea(V, Out);
}

void BuildGlyphLayer(const TGlyphViewport& V, const TGlyphViewOptions& Opt, const TGlyphViewScene& S,
                     const TViewPalette& Pal, TDisplayList& Out) {
  const TOutlineBase* outline = SceneOutline(S);
  if (!outline) return;
  const TDeviceMapping m = OutlineMapping(V);
  if (S.DragCopy) {
    if (!S.HideAids) {
      TPolyPolyGon p;
      BuildOutlinePolygons(*outline, m, p);
      AddPolygons(p, ViewColor::Grey, TPenStyle::Solid, false, 0, Out);
      AddMarks(V, *outline, S, true, S.EditState != EditStates::DraggingPoints, Opt, Pal, Out);
    }
    AddOutline(*S.DragCopy, m, Opt, Out);
    if (!S.HideAids) {
      if (S.DragCopy->GetKind() == okComposite)
        AddMemberMarks(V, static_cast<const TOutlineComposite&>(*S.DragCopy), S, false, Out);
      else if (S.DragCopy->GetKind() == okSimple) {
        const auto& copy = static_cast<const TOutlineSimple&>(*S.DragCopy);
        const bool movingContours =
            S.EditState == EditStates::MovingContours || S.EditState == EditStates::Transforming;
        if (S.EditMode == emContour && movingContours) AddContourMarks(V, copy, S, false, Out);
        if (S.EditMode == emPoint && S.EditState == EditStates::DraggingPoints)
          AddPointMarkers(V, copy, &S.Points, Opt, Pal, Out);
      }
    }
    return;  // no validation marks while something is dragged
  }
  AddOutline(*outline, m, Opt, Out);
  if (!S.HideAids) AddMarks(V, *outline, S, false, true, Opt, Pal, Out);
  if (!WithinValidationLimits(*outline, Opt)) return;
  if (Opt.ShowWarningPoints) AddWarningMarks(V, *outline, Opt, Out);
  if (Opt.ShowIntersections && Opt.EnableGlyphProblemDetection) AddIntersectionMarks(V, *outline, Out);
}

TIntRect BackgroundImageRect(const TGlyphViewport& V, int X, int Y, double Scale, int Width, int Height) {
  const int left = RoundHalfUp(0 * Scale + X), right = RoundHalfUp(Width * Scale + X);
  const int bottom = RoundHalfUp(0 * Scale + Y), top = RoundHalfUp(Height * Scale + Y);
  return {V.FontToScreenX(left), V.FontToScreenY(top), V.FontToScreenX(right), V.FontToScreenY(bottom)};
}

std::pair<TIntPoint, TIntPoint> ClipDiagonal(const TGlyphViewport& V, const TGuidelineDiagonal& D) {
  const TRealPoint a = ToRealPoint(D.Point1), b = D.SecondPoint();
  auto screen = [&](std::optional<TRealPoint> P) {
    if (!P) return TIntPoint{0, 0};
    try {
      return V.FontToScreen(P->X, P->Y);
    } catch (const std::exception&) {
      return TIntPoint{0, 0};  // a crossing far beyond 32-bit pixels
    }
  };
  if (a.X == b.X) {
    const int x = V.FontToScreenX(a.X);
    return {{x, V.Height()}, {x, 0}};
  }
  const double slope = (b.Y - a.Y) / (b.X - a.X);
  if (std::fabs(slope) > 1)
    return {screen(CrossHorizontal(D, V.ScreenToFontY(V.Height()))), screen(CrossHorizontal(D, V.ScreenToFontY(0)))};
  return {screen(CrossVertical(D, V.ScreenToFontX(0))), screen(CrossVertical(D, V.ScreenToFontX(V.Width())))};
}

TGuidelineHit HitTestGuidelines(const TGlyphViewport& V, TGuideLineSettings& G, int X, int Y) {
  TGuidelineHit hit;
  int i = G.Horizontal.HitTest(V.ScreenToFontY(Y - 3), V.ScreenToFontY(Y + 3));
  if (i >= 0) return {gkHorizontal, i, &G.Horizontal.Items(size_t(i))};
  i = G.Vertical.HitTest(V.ScreenToFontX(X + 3), V.ScreenToFontX(X - 3));
  if (i >= 0) return {gkVertical, i, &G.Vertical.Items(size_t(i))};
  const double tolerance = std::fabs(V.ScreenToFontX(X) - V.ScreenToFontX(X - 3));
  i = G.Diagonal.HitTest({V.ScreenToFontX(X), V.ScreenToFontY(Y)}, tolerance);
  if (i >= 0) return {gkDiagonalAngle, i, &G.Diagonal.Items(size_t(i))};
  return hit;
}

}  // namespace tsy
